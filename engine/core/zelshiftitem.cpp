#include "engine/core/zelshiftitem.h"

#include "model/view/zelview.h"

TzelShiftItem::TzelShiftItem(TzelComponent *object)
    : FReportObject(object)
    , FView(zelAs<TzelView>(object))
    , FRoot(false)
{
}

TzelShiftMode TzelShiftItem::ShiftMode() const
{
    return FView && ReportObject() ? FView->ShiftMode : smAlways;
}

void TzelShiftItem::Init(double amount)
{
    ShiftAmount = amount;
    ShiftedTo = 0;
    MinDist = std::numeric_limits<double>::lowest();
    Shifted = false;
}
