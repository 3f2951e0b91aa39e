#pragma once
/// \file

#include "model/component/zelfont.h"
#include "model/reflect/zelpersistent.h"
#include "model/view/zelfillholder.h"
#include "model/view/zelframe.h"
#include "model/view/zelviewtypes.h"

#include <QString>

/// A conditional look of a text object: when Condition holds (or, for an
/// interactive highlight, when the mouse event happens) the object takes this
/// font, fill and frame, as the Apply flags say.
class TzelHighlight : public TzelPersistent
{
    ZEL_CLASS(TzelHighlight, TzelPersistent)

    /// Arial 10 pt red, a brush fill, no frame lines, visible.
    TzelHighlight();

    bool Active = false;       ///< applied at the moment (never stored)
    bool ApplyFont = true;     ///< the font is applied
    bool ApplyFill = true;     ///< the fill is applied
    bool ApplyFrame = false;   ///< the frame is applied
    QString Condition;         ///< expression that switches the highlight on
    TzelInteractiveHighlightEvent InteractiveType = ihNone; ///< mouse event of an interactive highlight
    bool Visible = true;       ///< the object stays visible while highlighted
    /// Unique index in its collection; 0 until the collection gives one.
    int UniqueIndex = 0;

    /// The font applied.
    TzelFont &Font() { return FFont; }
    /// Read-only access.
    const TzelFont &Font() const { return FFont; }
    /// The frame applied.
    TzelFrame &Frame() { return FFrame; }
    /// Read-only access.
    const TzelFrame &Frame() const { return FFrame; }
    /// The kind of the fill; a new kind replaces the fill.
    TzelFillType FillType() const { return FFill.FillType(); }
    /// Sets FillType.
    void SetFillType(TzelFillType value) { FFill.SetFillType(value); }
    /// The fill applied.
    TzelCustomFill &Fill() { return FFill.Fill(); }
    /// Read-only access.
    const TzelCustomFill &Fill() const { return FFill.Fill(); }
    /// Sets Fill.
    void SetFill(const TzelCustomFill &value) { FFill.SetFill(value); }
    /// The fill's colour (the brush's back colour).
    int Color() const { return FFill.Color(); }
    /// Sets Color.
    void SetColor(int value) { FFill.SetColor(value); }

    /// Whether Condition holds text other than blanks.
    bool HasCondition() const { return !Condition.trimmed().isEmpty(); }
    /// Copies every stored value of Source (not the unique index).
    void Assign(const TzelHighlight &source);

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelHighlight> &p);

private:
    TzelFont FFont;
    TzelFrame FFrame;
    TzelFillHolder FFill;
};
