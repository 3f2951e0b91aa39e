#include "model/view/zelframe.h"

TzelFrame::TzelFrame() = default;

TzelFrame::TzelFrame(const TzelFrame &other)
    : TzelPersistent(other)
{
    *this = other;
}

TzelFrame &TzelFrame::operator=(const TzelFrame &other)
{
    FColor = other.FColor;
    FStyle = other.FStyle;
    FWidth = other.FWidth;
    DropShadow = other.DropShadow;
    ShadowColor = other.ShadowColor;
    ShadowWidth = other.ShadowWidth;
    Typ = other.Typ;
    FLeftLine = other.FLeftLine;
    FTopLine = other.FTopLine;
    FRightLine = other.FRightLine;
    FBottomLine = other.FBottomLine;
    return *this;
}

bool TzelFrame::operator==(const TzelFrame &other) const
{
    return FColor == other.FColor && FStyle == other.FStyle && FWidth == other.FWidth
           && DropShadow == other.DropShadow && ShadowColor == other.ShadowColor
           && ShadowWidth == other.ShadowWidth && Typ == other.Typ && FLeftLine == other.FLeftLine
           && FTopLine == other.FTopLine && FRightLine == other.FRightLine && FBottomLine == other.FBottomLine;
}

void TzelFrame::SetColor(int value)
{
    FColor = value;
    for (TzelFrameLine *line : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine})
        line->SetColor(value);
}

void TzelFrame::SetStyle(TzelFrameStyle value)
{
    FStyle = value;
    for (TzelFrameLine *line : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine})
        line->SetStyle(value);
}

void TzelFrame::SetWidth(double value)
{
    FWidth = value;
    for (TzelFrameLine *line : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine})
        line->SetWidth(value);
}

void TzelFrame::Publish(TzelPublisher<TzelFrame> &p)
{
    using T = TzelFrame;
    p.Color("Color", &T::Color, &T::SetColor).Default(clBlack);
    p.Prop("DropShadow", &T::DropShadow).Default(false);
    p.Color("ShadowColor", &T::ShadowColor).Default(clBlack);
    p.Prop("ShadowWidth", &T::ShadowWidth).StoredIf(&T::IsShadowWidthStored);
    p.Prop("Style", &T::Style, &T::SetStyle).Default(fsSolid);
    p.Prop("Typ", &T::Typ).Type("TzelFrameTypes");
    p.Prop("Width", &T::Width, &T::SetWidth).StoredIf(&T::IsWidthStored);
    p.Object("LeftLine", &T::FLeftLine);
    p.Object("TopLine", &T::FTopLine);
    p.Object("RightLine", &T::FRightLine);
    p.Object("BottomLine", &T::FBottomLine);
}
