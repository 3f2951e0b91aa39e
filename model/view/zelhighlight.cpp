#include "model/view/zelhighlight.h"

namespace {
constexpr int clRed = 0x0000FF;
}

TzelHighlight::TzelHighlight()
{
    FFont.SetColor(clRed);
}

void TzelHighlight::Assign(const TzelHighlight &source)
{
    Active = source.Active;
    ApplyFont = source.ApplyFont;
    ApplyFill = source.ApplyFill;
    ApplyFrame = source.ApplyFrame;
    Condition = source.Condition;
    InteractiveType = source.InteractiveType;
    Visible = source.Visible;
    FFont = source.FFont;
    FFrame = source.FFrame;
    FFill = source.FFill;
}

void TzelHighlight::Publish(TzelPublisher<TzelHighlight> &p)
{
    using T = TzelHighlight;
    p.Prop("Active", &T::Active).NotStored();
    p.Prop("ApplyFont", &T::ApplyFont).Default(true);
    p.Prop("ApplyFill", &T::ApplyFill).Default(true);
    p.Prop("ApplyFrame", &T::ApplyFrame).Default(false);
    p.Object("Font", &T::FFont);
    p.Color("Color", &T::Color, &T::SetColor).NotStored();
    p.Prop("Condition", &T::Condition);
    p.Prop("InteractiveType", &T::InteractiveType).Default(ihNone);
    p.Prop("FillType", &T::FillType, &T::SetFillType).Default(ftBrush);
    p.Object("Fill", &T::Fill);
    p.Object("Frame", &T::FFrame);
    p.Prop("Visible", &T::Visible).Default(true);
}
