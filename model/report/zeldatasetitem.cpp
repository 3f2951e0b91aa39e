#include "model/report/zeldatasetitem.h"

#include "model/report/zelreportdatasets.h"
#include "model/report/zelreport.h"

TzelDataSetItem::TzelDataSetItem(TzelReportDataSets *collection)
    : FCollection(collection)
{
}

TzelDataSetItem::~TzelDataSetItem() = default;

TzelDataSet *TzelDataSetItem::DataSet() const
{
    if (!FPendingName.isEmpty()) {
        TzelReport *report = FCollection ? FCollection->Report() : nullptr;
        if (TzelDataSet *found = report ? report->FindDataSetComponent(FPendingName) : nullptr) {
            FLink.SetDataSet(found);
            FPendingName.clear();
        }
    }
    return FLink.DataSet();
}

void TzelDataSetItem::SetDataSet(TzelDataSet *value)
{
    FPendingName.clear();
    FLink.SetDataSet(value);
}

QString TzelDataSetItem::DataSetName() const
{
    DataSet();
    return FLink.Name();
}

void TzelDataSetItem::SetDataSetName(const QString &value)
{
    if (value.isEmpty())
        FPendingName.clear();
    FLink.SetName(FCollection ? FCollection->Report() : nullptr, value);
}

void TzelDataSetItem::SetDataSetComponentName(const QString &name)
{
    // A data set found by its user name stays until the component turns up.
    FPendingName = name;
}

QString TzelDataSetItem::DataSetComponentName() const
{
    const TzelDataSet *ds = DataSet();
    return FPendingName.isEmpty() && ds ? ds->Name() : FPendingName;
}

void TzelDataSetItem::Publish(TzelPublisher<TzelDataSetItem> &p)
{
    using T = TzelDataSetItem;
    p.Ref("DataSet", &T::DataSet, &T::SetDataSet);
    p.Prop("DataSetName", &T::DataSetName, &T::SetDataSetName);
}
