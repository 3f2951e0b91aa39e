#pragma once
/// \file

#include "model/component/zelfont.h"
#include "model/reflect/zelpersistent.h"
#include "model/view/zelfillholder.h"
#include "model/view/zelframe.h"

#include <QString>

class TzelCustomMemoView;
class TzelStyles;

/// A named look: a font, a fill and a frame, and which of them a text object
/// that names the style takes over.
class TzelStyleItem : public TzelPersistent
{
    ZEL_CLASS(TzelStyleItem, TzelPersistent)

    /// A style that belongs to no set.
    TzelStyleItem();
    /// A style of set Collection (which does not add it by itself).
    explicit TzelStyleItem(TzelStyles *collection);
    ~TzelStyleItem() override;
    TzelStyleItem(const TzelStyleItem &) = delete;
    TzelStyleItem &operator=(const TzelStyleItem &) = delete;

    /// The set the style belongs to, or nullptr.
    TzelStyles *Collection() const { return FCollection; }

    /// The style's name, unique in its set (case ignored).
    const QString &Name() const { return FName; }
    /// Renames; raises "Duplicate name" when another style of the set has
    /// Value (any number of styles may be unnamed).
    void SetName(const QString &value);
    /// "Style" and the smallest number from 1 that no style of the set uses.
    void CreateUniqueName();
    /// The name that an inheriting template matches the style by: its name,
    /// or the generic one while it has none.
    QString InheritedName() const;
    bool IsInherited = false; ///< comes from the template this one inherits from

    /// The fill's colour: a brush's back colour, a gradient's middle colour,
    /// clNone for glass.
    int Color() const;
    /// Sets a brush fill's back colour; other fills ignore it.
    void SetColor(int value);
    /// The font.
    TzelFont &Font() { return FFont; }
    /// Read-only access.
    const TzelFont &Font() const { return FFont; }
    /// Sets Font.
    void SetFont(const TzelFont &value) { FFont = value; }
    /// The frame.
    TzelFrame &Frame() { return FFrame; }
    /// Read-only access.
    const TzelFrame &Frame() const { return FFrame; }
    /// Sets Frame.
    void SetFrame(const TzelFrame &value) { FFrame = value; }
    bool ApplyFont = true;  ///< text objects take the font
    bool ApplyFill = true;  ///< text objects take the fill
    bool ApplyFrame = true; ///< text objects take the frame
    /// The kind of fill; a new kind replaces the fill by a fresh one.
    TzelFillType FillType() const { return FFill.FillType(); }
    /// Sets FillType.
    void SetFillType(TzelFillType value) { FFill.SetFillType(value); }
    /// The fill.
    TzelCustomFill &Fill() { return FFill.Fill(); }
    /// Read-only access.
    const TzelCustomFill &Fill() const { return FFill.Fill(); }
    /// Switches to Value's kind and copies it.
    void SetFill(const TzelCustomFill &value) { FFill.SetFill(value); }

    /// Copies name, fill, font, frame, the apply flags and the inherited mark.
    void Assign(const TzelStyleItem &source);
    /// Gives Memo the parts the style applies: fill, font, frame, in that order.
    void ApplyTo(TzelCustomMemoView &memo) const;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelStyleItem> &p);

private:
    TzelStyles *FCollection = nullptr;
    QString FName;
    TzelFont FFont;
    TzelFrame FFrame;
    TzelFillHolder FFill;
};
