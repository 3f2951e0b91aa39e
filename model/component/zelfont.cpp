#include "model/component/zelfont.h"

#include "base/core/zelexception.h"
#include "base/resources/zelresources.h"

#include <algorithm>
#include <limits>

namespace {

// Rounds half away from zero, as the size and height conversions have always
// done. The result stays within +-INT_MAX, so that callers may negate it
// whatever size a template holds.
int mulDiv(int value, int numerator, int denominator)
{
    const qint64 product = qint64(value) * numerator;
    const qint64 half = denominator / 2;
    const qint64 result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    constexpr qint64 limit = std::numeric_limits<int>::max();
    return int(std::clamp(result, -limit, limit));
}

} // namespace

TzelFont::TzelFont()
    : FName(QStringLiteral("Arial")), FHeight(-mulDiv(10, PixelsPerInch, 72))
{
}

TzelFont::TzelFont(const TzelFont &other)
    : TzelPersistent(other), FName(other.FName), FHeight(other.FHeight), FColor(other.FColor),
      FStyle(other.FStyle), FCharset(other.FCharset)
{
}

TzelFont &TzelFont::operator=(const TzelFont &other)
{
    if (this == &other)
        return *this;
    FName = other.FName;
    FHeight = other.FHeight;
    FColor = other.FColor;
    FStyle = other.FStyle;
    FCharset = other.FCharset;
    Changed();
    return *this;
}

bool TzelFont::operator==(const TzelFont &other) const
{
    return FName == other.FName && FHeight == other.FHeight && FColor == other.FColor && FStyle == other.FStyle
           && FCharset == other.FCharset;
}

void TzelFont::SetName(const QString &value)
{
    if (FName == value)
        return;
    FName = value;
    Changed();
}

void TzelFont::SetHeight(int value)
{
    if (FHeight == value)
        return;
    FHeight = value;
    Changed();
}

int TzelFont::Size() const
{
    return -mulDiv(FHeight, 72, PixelsPerInch);
}

void TzelFont::SetSize(int value)
{
    SetHeight(-mulDiv(value, PixelsPerInch, 72));
}

void TzelFont::SetColor(int value)
{
    if (FColor == value)
        return;
    FColor = value;
    Changed();
}

void TzelFont::SetStyle(TzelFontStyles value)
{
    if (FStyle == value)
        return;
    FStyle = value;
    Changed();
}

void TzelFont::SetCharset(int value)
{
    if (value < 0 || value > 255)
        throw TzelException(zelResources().Get(QStringLiteral("prInvProp")));
    if (FCharset == value)
        return;
    FCharset = value;
    Changed();
}

void TzelFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TzelFont::Publish(TzelPublisher<TzelFont> &p)
{
    p.Prop("Charset", &TzelFont::Charset, &TzelFont::SetCharset).Type("TFontCharset");
    p.Color("Color", &TzelFont::Color, &TzelFont::SetColor);
    p.Prop("Height", &TzelFont::Height, &TzelFont::SetHeight);
    p.Prop("Name", &TzelFont::Name, &TzelFont::SetName).Type("TFontName");
    p.Prop("Size", &TzelFont::Size, &TzelFont::SetSize).NotStored();
    p.Prop("Style", &TzelFont::Style, &TzelFont::SetStyle).Type("TFontStyles");
}
