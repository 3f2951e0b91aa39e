#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/reflect/zelpersistent.h"
#include "model/view/zelframeline.h"
#include "model/view/zelviewtypes.h"

class TzelDiffWriter;

/// The frame of a view, band, page or highlight: which sides are drawn, a
/// colour, style and width for all of them, one line object per side that may
/// differ, and an optional drop shadow.
class TzelFrame : public TzelPersistent
{
    ZEL_CLASS(TzelFrame, TzelPersistent)

    /// No sides, black solid lines of width 1, no shadow.
    TzelFrame();
    /// Copies every value, the four lines included.
    TzelFrame(const TzelFrame &other);
    /// Copies every value, the four lines included.
    TzelFrame &operator=(const TzelFrame &other);
    /// Whether every value, the four lines included, is equal.
    bool operator==(const TzelFrame &other) const;

    /// Colour; setting it sets all four lines.
    int Color() const { return FColor; }
    /// Sets Color.
    void SetColor(int value);
    /// Pen pattern; setting it sets all four lines.
    TzelFrameStyle Style() const { return FStyle; }
    /// Sets Style.
    void SetStyle(TzelFrameStyle value);
    /// Line width in report units; setting it sets all four lines.
    double Width() const { return FWidth; }
    /// Sets Width.
    void SetWidth(double value);

    bool DropShadow = false;         ///< a shadow is drawn right of and below the object
    int ShadowColor = clBlack;       ///< colour of the shadow
    double ShadowWidth = 4;          ///< width of the shadow in report units
    TzelFrameTypes Typ;              ///< the sides drawn

    /// The left side.
    TzelFrameLine &LeftLine() { return FLeftLine; }
    /// Read-only access.
    const TzelFrameLine &LeftLine() const { return FLeftLine; }
    /// The top side.
    TzelFrameLine &TopLine() { return FTopLine; }
    /// Read-only access.
    const TzelFrameLine &TopLine() const { return FTopLine; }
    /// The right side.
    TzelFrameLine &RightLine() { return FRightLine; }
    /// Read-only access.
    const TzelFrameLine &RightLine() const { return FRightLine; }
    /// The bottom side.
    TzelFrameLine &BottomLine() { return FBottomLine; }
    /// Read-only access.
    const TzelFrameLine &BottomLine() const { return FBottomLine; }

    /// Whether any side is drawn.
    bool HasLines() const { return !Typ.IsEmpty(); }
    /// ShadowWidth when DropShadow is set, else 0.
    double ShadowSize() const { return DropShadow ? ShadowWidth : 0; }

    /// Writes the attributes that differ from Other. A line value is
    /// written when the line holds its own value, if the frame-wide value of
    /// that kind is written (it sets all lines on reading); otherwise when it
    /// differs from Other's line.
    void Diff(TzelDiffWriter &out, const TzelFrame &other) const;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelFrame> &p);

private:
    bool IsShadowWidthStored() const { return ShadowWidth != 4; }
    bool IsWidthStored() const { return FWidth != 1; }

    int FColor = clBlack;
    TzelFrameStyle FStyle = fsSolid;
    double FWidth = 1;
    TzelFrameLine FLeftLine{this};
    TzelFrameLine FTopLine{this};
    TzelFrameLine FRightLine{this};
    TzelFrameLine FBottomLine{this};
};
