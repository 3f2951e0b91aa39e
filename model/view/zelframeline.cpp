#include "model/view/zelframeline.h"

#include "model/view/zelframe.h"

TzelFrameLine::TzelFrameLine(TzelFrame *frame)
    : FFrame(frame)
{
    if (frame) {
        FColor = frame->Color();
        FStyle = frame->Style();
        FWidth = frame->Width();
    }
}

TzelFrameLine::TzelFrameLine(const TzelFrameLine &other)
    : TzelPersistent(other), FFrame(nullptr), FColor(other.FColor), FStyle(other.FStyle), FWidth(other.FWidth)
{
}

TzelFrameLine &TzelFrameLine::operator=(const TzelFrameLine &other)
{
    FColor = other.FColor;
    FStyle = other.FStyle;
    FWidth = other.FWidth;
    return *this;
}

bool TzelFrameLine::operator==(const TzelFrameLine &other) const
{
    return FColor == other.FColor && FStyle == other.FStyle && FWidth == other.FWidth;
}

bool TzelFrameLine::IsColorStored() const
{
    return !FFrame || FColor != FFrame->Color();
}

bool TzelFrameLine::IsStyleStored() const
{
    return !FFrame || FStyle != FFrame->Style();
}

bool TzelFrameLine::IsWidthStored() const
{
    return !FFrame || FWidth != FFrame->Width();
}

void TzelFrameLine::Publish(TzelPublisher<TzelFrameLine> &p)
{
    using T = TzelFrameLine;
    p.Color("Color", &T::Color, &T::SetColor).StoredIf(&T::IsColorStored);
    p.Prop("Style", &T::Style, &T::SetStyle).StoredIf(&T::IsStyleStored);
    p.Prop("Width", &T::Width, &T::SetWidth).StoredIf(&T::IsWidthStored);
}
