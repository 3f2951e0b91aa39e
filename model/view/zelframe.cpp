#include "model/view/zelframe.h"

#include "model/component/zeldiffwriter.h"

#include <utility>

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

void TzelFrame::Diff(TzelDiffWriter &out, const TzelFrame &other) const
{
    out.Properties(*this, other); // the lines are nested objects, written below
    const bool colorWritten = FColor != other.FColor;
    const bool styleWritten = FStyle != other.FStyle;
    const bool widthWritten = !zelSameCoord(FWidth, other.FWidth);
    static constexpr std::pair<const char *, TzelFrameLine TzelFrame::*> lines[] = {
        {"LeftLine", &TzelFrame::FLeftLine},
        {"TopLine", &TzelFrame::FTopLine},
        {"RightLine", &TzelFrame::FRightLine},
        {"BottomLine", &TzelFrame::FBottomLine},
    };
    for (const auto &[name, member] : lines) {
        const TzelFrameLine &line = this->*member;
        const TzelFrameLine &otherLine = other.*member;
        TzelDiffWriter d(out, name);
        if (colorWritten ? line.IsColorStored() : line.FColor != otherLine.FColor)
            d.Add("Color", QString::number(line.FColor));
        if (styleWritten ? line.IsStyleStored() : line.FStyle != otherLine.FStyle)
            d.Add("Style", QString::number(int(line.FStyle)));
        if (widthWritten ? line.IsWidthStored() : !zelSameCoord(line.FWidth, otherLine.FWidth))
            d.Add("Width", zelFloatToStr(line.FWidth));
    }
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
