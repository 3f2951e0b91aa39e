#include "model/component/zeldiffwriter.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"

#include <cmath>

namespace {

// The fill Fill's difference compares with: Other when it is of the same
// kind; otherwise Fill itself, and Out writes every attribute.
template <class F>
const F &diffBase(TzelDiffWriter &out, const F &fill, const TzelCustomFill &other)
{
    const auto *same = dynamic_cast<const F *>(&other);
    out.SetWriteAll(!same);
    return same ? *same : fill;
}

} // namespace

std::unique_ptr<TzelCustomFill> TzelCustomFill::Create(TzelFillType type)
{
    switch (type) {
    case ftGradient:
        return std::make_unique<TzelGradientFill>();
    case ftGlass:
        return std::make_unique<TzelGlassFill>();
    case ftBrush:
        break;
    }
    return std::make_unique<TzelBrushFill>();
}

// Brush.

std::unique_ptr<TzelCustomFill> TzelBrushFill::Clone() const
{
    return std::make_unique<TzelBrushFill>(*this);
}

void TzelBrushFill::Assign(const TzelCustomFill &source)
{
    if (const auto *s = dynamic_cast<const TzelBrushFill *>(&source))
        *this = *s;
}

bool TzelBrushFill::Equals(const TzelCustomFill &other) const
{
    const auto *o = dynamic_cast<const TzelBrushFill *>(&other);
    return o && BackColor == o->BackColor && ForeColor == o->ForeColor && Style == o->Style;
}

void TzelBrushFill::Diff(TzelDiffWriter &out, const TzelCustomFill &other) const
{
    out.Properties(*this, diffBase(out, *this, other));
}

void TzelBrushFill::Publish(TzelPublisher<TzelBrushFill> &p)
{
    using T = TzelBrushFill;
    p.Color("BackColor", &T::BackColor).Default(clNone);
    p.Color("ForeColor", &T::ForeColor).Default(clBlack);
    p.Prop("Style", &T::Style).Default(bsSolid);
}

// Gradient.

std::unique_ptr<TzelCustomFill> TzelGradientFill::Clone() const
{
    return std::make_unique<TzelGradientFill>(*this);
}

void TzelGradientFill::Assign(const TzelCustomFill &source)
{
    if (const auto *s = dynamic_cast<const TzelGradientFill *>(&source))
        *this = *s;
}

bool TzelGradientFill::Equals(const TzelCustomFill &other) const
{
    const auto *o = dynamic_cast<const TzelGradientFill *>(&other);
    return o && StartColor == o->StartColor && EndColor == o->EndColor && GradientStyle == o->GradientStyle;
}

int TzelGradientFill::MainColor() const
{
    int color = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int start = (StartColor >> shift) & 0xFF;
        const int end = (EndColor >> shift) & 0xFF;
        const int channel = int(std::lround(start + (end - start) * 127.0 / 255.0));
        color |= channel << shift;
    }
    return color;
}

void TzelGradientFill::Diff(TzelDiffWriter &out, const TzelCustomFill &other) const
{
    out.Properties(*this, diffBase(out, *this, other));
}

void TzelGradientFill::Publish(TzelPublisher<TzelGradientFill> &p)
{
    using T = TzelGradientFill;
    p.Color("StartColor", &T::StartColor).Default(clWhite);
    p.Color("EndColor", &T::EndColor).Default(clBlack);
    p.Prop("GradientStyle", &T::GradientStyle);
}

// Glass.

std::unique_ptr<TzelCustomFill> TzelGlassFill::Clone() const
{
    return std::make_unique<TzelGlassFill>(*this);
}

void TzelGlassFill::Assign(const TzelCustomFill &source)
{
    if (const auto *s = dynamic_cast<const TzelGlassFill *>(&source))
        *this = *s;
}

bool TzelGlassFill::Equals(const TzelCustomFill &other) const
{
    const auto *o = dynamic_cast<const TzelGlassFill *>(&other);
    return o && Color == o->Color && Blend == o->Blend && Hatch == o->Hatch && Orientation == o->Orientation;
}

void TzelGlassFill::Diff(TzelDiffWriter &out, const TzelCustomFill &other) const
{
    const TzelGlassFill &o = diffBase(out, *this, other);
    out.Int("Color", Color, o.Color);
    // Unlike other floats, the blend is compared exactly.
    if (out.Writes(Blend != o.Blend))
        out.Add("Blend", zelFloatToStr(Blend));
    out.Bool("Hatch", Hatch, o.Hatch);
    out.Enum("Orientation", Orientation, o.Orientation);
}

void TzelGlassFill::Publish(TzelPublisher<TzelGlassFill> &p)
{
    using T = TzelGlassFill;
    // The declared default is white although a new fill is grey, so a new
    // glass fill writes its colour.
    p.Color("Color", &T::Color).Default(clWhite);
    p.Prop("Blend", &T::Blend);
    p.Prop("Hatch", &T::Hatch).Default(false);
    p.Prop("Orientation", &T::Orientation).Default(foHorizontal);
}
