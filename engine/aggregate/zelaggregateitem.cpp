#include "engine/aggregate/zelaggregateitem.h"

#include "model/band/zelpagefooter.h"
#include "model/report/zelreport.h"

namespace {

// Columns 1 to 1000 of a vertical (cross) layout.
constexpr int kVColumnSlots = 1001;

} // namespace

TzelAggregateFunction zelAggregateFunction(const QString &name)
{
    const QString n = name.trimmed().toUpper();
    if (n == QLatin1String("SUM"))
        return agSum;
    if (n == QLatin1String("AVG"))
        return agAvg;
    if (n == QLatin1String("MIN"))
        return agMin;
    if (n == QLatin1String("MAX"))
        return agMax;
    return agCount;
}

TzelAggregateItem::TzelAggregateItem(TzelReport *report, TzelAggregateFunction function,
                                     const QString &expression, TzelBand *band, int flags,
                                     TzelBand *parentBand, const QString &memoName,
                                     const QString &originalName)
    : FReport(report), FAggregateFunction(function), FExpression(expression.trimmed()), FBand(band),
      FParentBand(parentBand), FMemoName(memoName), FOriginalName(originalName.trimmed()),
      FCountInvisibleBands(flags & CountInvisibleBands), FDontReset(flags & DontReset),
      FIsPageFooter(zelAs<TzelPageFooter>(parentBand))
{
}

void TzelAggregateItem::Combine(const Variant &value, int &count, Variant &accumulated) const
{
    if (FAggregateFunction != agAvg || !value.IsNull())
        ++count;
    Accumulate(value, accumulated);
}

void TzelAggregateItem::Accumulate(const Variant &value, Variant &accumulated) const
{
    if (value.IsNull())
        return;
    if (accumulated.IsNull()) {
        accumulated = value;
        return;
    }
    switch (FAggregateFunction) {
    case agSum:
    case agAvg:
        accumulated.AddInPlace(value);
        break;
    case agMin:
        if (Variant::Less(value, accumulated))
            accumulated = value;
        break;
    case agMax:
        if (Variant::Less(accumulated, value))
            accumulated = value;
        break;
    case agCount:
        break;
    }
}

void TzelAggregateItem::Calc(int vColumn)
{
    if (!FBand->Visible() && !FCountInvisibleBands)
        return;
    Variant value = Variant::Null();
    if (FAggregateFunction != agCount) {
        FReport->CurObject = FMemoName;
        value = FReport->Calc(FExpression);
        // A condition counts the rows where it holds.
        if (value.VarType() == varBoolean)
            value = Variant(value.ToBool() ? 1 : 0);
    }
    if (vColumn >= 1 && vColumn < kVColumnSlots) {
        if (FItemsArray.empty()) {
            FItemsArray.assign(kVColumnSlots, Variant::Null());
            FItemsCountArray.assign(kVColumnSlots, 0);
        }
        Combine(value, FItemsCountArray[size_t(vColumn)], FItemsArray[size_t(vColumn)]);
    } else if (FKeeping) {
        Combine(value, FTempItemsCount, FTempItemsValue);
    } else {
        FLastCount = FItemsCount;
        FLastValue = FItemsValue;
        Combine(value, FItemsCount, FItemsValue);
    }
}

Variant TzelAggregateItem::Value(int vColumn) const
{
    int count = FItemsCount;
    Variant value = FItemsValue;
    if (!FItemsArray.empty() && vColumn >= 1 && vColumn < kVColumnSlots) {
        count = FItemsCountArray[size_t(vColumn)];
        value = FItemsArray[size_t(vColumn)];
    }
    Variant result;
    switch (FAggregateFunction) {
    case agAvg:
        result = count > 0 && !value.IsNull() ? Variant(value.ToDouble() / count) : Variant::Null();
        break;
    case agCount:
        result = Variant(count);
        break;
    default:
        result = value;
    }
    return result.IsNull() ? Variant(0) : result;
}

void TzelAggregateItem::StartKeep()
{
    if (!FIsPageFooter || FKeeping)
        return;
    FKeeping = true;
    FTempItemsCount = 0;
    FTempItemsValue = Variant::Null();
}

void TzelAggregateItem::EndKeep()
{
    if (!FKeeping)
        return;
    FKeeping = false;
    FItemsCount += FTempItemsCount;
    Accumulate(FTempItemsValue, FItemsValue);
    FTempItemsCount = 0;
    FTempItemsValue = Variant::Null();
}

void TzelAggregateItem::DeleteValue()
{
    FItemsCount = FLastCount;
    FItemsValue = FLastValue;
}

void TzelAggregateItem::SaveValue()
{
    FSavedCount = FItemsCount;
    FSavedValue = FItemsValue;
}

void TzelAggregateItem::RestoreValue()
{
    FItemsCount = FSavedCount;
    FItemsValue = FSavedValue;
}

void TzelAggregateItem::Reset(bool force)
{
    if (FDontReset && FItemsCount != 0 && !force)
        return;
    FItemsCount = 0;
    FItemsValue = Variant::Null();
    FItemsArray.clear();
    FItemsCountArray.clear();
}
