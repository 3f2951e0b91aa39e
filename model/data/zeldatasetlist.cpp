#include "model/data/zeldatasetlist.h"

#include "model/data/zeldataset.h"

namespace {

bool belongsElsewhere(const TzelDataSet *dataSet, const TzelComponent *report)
{
    const TzelComponent *own = dataSet->ReportRoot();
    return own && own != report;
}

} // namespace

TzelDataSetList &TzelDataSetList::Global()
{
    // Never destroyed: data sets held by other static objects may outlive it.
    static TzelDataSetList *list = new TzelDataSetList;
    return *list;
}

void TzelDataSetList::Add(TzelDataSet *dataSet)
{
    std::lock_guard lock(FLock);
    FItems.append(dataSet);
}

void TzelDataSetList::Remove(TzelDataSet *dataSet)
{
    std::lock_guard lock(FLock);
    FItems.removeOne(dataSet);
}

QList<TzelDataSet *> TzelDataSetList::Items() const
{
    std::lock_guard lock(FLock);
    return FItems;
}

bool TzelDataSetList::Contains(const TzelDataSet *dataSet) const
{
    std::lock_guard lock(FLock);
    return FItems.contains(const_cast<TzelDataSet *>(dataSet));
}

TzelDataSet *TzelDataSetList::FindByUserName(const QString &name, const TzelComponent *report) const
{
    std::lock_guard lock(FLock);
    for (TzelDataSet *ds : FItems)
        if (!belongsElsewhere(ds, report) && ds->UserName().compare(name, Qt::CaseInsensitive) == 0)
            return ds;
    return nullptr;
}

QList<TzelDataSet *> TzelDataSetList::ActiveFor(const TzelComponent *report) const
{
    std::lock_guard lock(FLock);
    QList<TzelDataSet *> list;
    for (TzelDataSet *ds : FItems)
        if (ds->Enabled && !belongsElsewhere(ds, report))
            list.append(ds);
    return list;
}
