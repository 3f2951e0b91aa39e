#include "model/data/zeldatasetlink.h"

#include "model/data/zelfinddataset.h"

void TzelDataSetLink::SetDataSet(TzelDataSet *value)
{
    FDataSet = value;
    if (value)
        FName = value->UserName();
}

QString TzelDataSetLink::Name() const
{
    const TzelDataSet *dataSet = FDataSet.Get();
    return dataSet ? dataSet->UserName() : FName;
}

void TzelDataSetLink::SetName(const TzelComponent *owner, const QString &value)
{
    FName = value;
    FDataSet = zelFindDataSet(owner, FDataSet.Get(), value);
}

void TzelDataSetLink::Clear()
{
    FDataSet = nullptr;
    FName.clear();
}
