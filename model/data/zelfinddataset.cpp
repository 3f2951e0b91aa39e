#include "model/data/zelfinddataset.h"

#include "model/component/zelcomponent.h"
#include "model/component/zelreportcontext.h"
#include "model/data/zeldatasetlist.h"

TzelDataSet *zelFindDataSet(const TzelComponent *component, TzelDataSet *current, const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    if (const TzelReportContext *report = component ? component->Context() : nullptr)
        return report->FindDataSet(name, current);
    return zelFindGlobalDataSet(name, nullptr, current);
}

TzelDataSet *zelFindGlobalDataSet(const QString &name, const TzelComponent *report, TzelDataSet *current)
{
    TzelDataSet *found = TzelDataSetList::Global().FindByUserName(name, report);
    return found ? found : current;
}
