#include "model/data/zeldialogcomponent.h"

#include "model/reflect/zelfiler.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Positions are whole units in the stream; halves go to the even neighbour.
// A template can hold any coordinate: beyond the int range the plain cast
// would be undefined, so the stream gets the nearest value it can hold.
int roundCoord(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return int(std::clamp(std::nearbyint(value), low, high));
}

} // namespace

TzelDialogComponent::TzelDialogComponent(TzelComponent *owner)
    : TzelReportComponent(owner)
{
    qzComponentStyle.Exclude(csPreviewVisible);
    SetWidth(28);
    SetHeight(28);
}

TzelDialogComponent::~TzelDialogComponent() = default;

void TzelDialogComponent::DefineProperties(TzelFiler &filer)
{
    filer.DefineIntegerProperty("pLeft", [this](int v) { SetLeft(v); }, [this] { return roundCoord(Left()); }, true);
    filer.DefineIntegerProperty("pTop", [this](int v) { SetTop(v); }, [this] { return roundCoord(Top()); }, true);
}
