#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/reflect/zelpersistent.h"
#include "model/view/zelviewtypes.h"

class TzelFrame;

/// One side of a frame. It starts with its frame's colour, style and width and
/// may differ from them afterwards; only differences are stored.
class TzelFrameLine : public TzelPersistent
{
    ZEL_CLASS(TzelFrameLine, TzelPersistent)

    /// A line of Frame (none for a loose line).
    explicit TzelFrameLine(TzelFrame *frame = nullptr);
    /// Copies the values; the copy belongs to no frame until one adopts it.
    TzelFrameLine(const TzelFrameLine &other);
    /// Copies the values and keeps this line's frame.
    TzelFrameLine &operator=(const TzelFrameLine &other);
    /// Whether colour, style and width are equal.
    bool operator==(const TzelFrameLine &other) const;

    /// The frame the line belongs to.
    TzelFrame *Frame() const { return FFrame; }
    /// Colour of the line.
    int Color() const { return FColor; }
    /// Sets Color.
    void SetColor(int value) { FColor = value; }
    /// Pen pattern of the line.
    TzelFrameStyle Style() const { return FStyle; }
    /// Sets Style.
    void SetStyle(TzelFrameStyle value) { FStyle = value; }
    /// Width of the line in report units.
    double Width() const { return FWidth; }
    /// Sets Width.
    void SetWidth(double value) { FWidth = value; }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelFrameLine> &p);

private:
    friend class TzelFrame;

    bool IsColorStored() const;
    bool IsStyleStored() const;
    bool IsWidthStored() const;

    TzelFrame *FFrame;
    int FColor = clBlack;
    TzelFrameStyle FStyle = fsSolid;
    double FWidth = 1;
};
