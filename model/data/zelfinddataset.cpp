#include "model/data/zelfinddataset.h"

#include "model/data/zeldatasetitem.h"
#include "model/data/zeldatasetlist.h"
#include "model/data/zelreportdatasets.h"
#include "model/report/zelreport.h"

TzelDataSet *zelFindDataSet(const TzelComponent *component, TzelDataSet *current, const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    TzelReport *report = component ? component->Report() : nullptr;
    if (!report || report->EngineOptions().UseGlobalDataSetList) {
        TzelDataSet *found = TzelDataSetList::Global().FindByUserName(name, report);
        return found ? found : current;
    }
    const TzelDataSetItem *item = report->EnabledDataSets().Find(name);
    return item ? item->DataSet() : nullptr;
}
