#include "model/report/zelreportdatasets.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/xml/zelxmlitem.h"
#include "model/data/zeldataset.h"
#include "model/report/zeldatasetitem.h"
#include "model/report/zelreport.h"

TzelReportDataSets::TzelReportDataSets(TzelReport *report)
    : FReport(report)
{
}

TzelReportDataSets::~TzelReportDataSets()
{
    // A host's data set must not keep pointing at a report that is gone.
    for (const auto &item : FItems)
        if (TzelDataSet *ds = item->DataSet(); ds && ds->ReportRef == FReport)
            ds->ReportRef = nullptr;
}

TzelDataSetItem *TzelReportDataSets::Add(TzelDataSet *dataSet)
{
    TzelDataSetItem *item = Insert(Count(), std::make_unique<TzelDataSetItem>(this));
    item->SetDataSet(dataSet);
    return item;
}

TzelDataSetItem *TzelReportDataSets::Find(const TzelDataSet *dataSet) const
{
    if (!dataSet)
        return nullptr;
    for (const auto &item : FItems)
        if (item->DataSet() == dataSet)
            return item.get();
    return nullptr;
}

TzelDataSetItem *TzelReportDataSets::Find(const QString &name) const
{
    for (const auto &item : FItems) {
        const TzelDataSet *ds = item->DataSet();
        if (ds && (ds->UserName().compare(name, Qt::CaseInsensitive) == 0
                   || ds->Name().compare(name, Qt::CaseInsensitive) == 0))
            return item.get();
    }
    return nullptr;
}

void TzelReportDataSets::Delete(const QString &name)
{
    for (auto it = FItems.begin(); it != FItems.end(); ++it) {
        const TzelDataSet *ds = (*it)->DataSet();
        if (ds && ds->UserName().compare(name, Qt::CaseInsensitive) == 0) {
            FItems.erase(it);
            return;
        }
    }
}

void TzelReportDataSets::Assign(const TzelReportDataSets &source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto &item : source.FItems) {
        TzelDataSetItem *copy = Add(item->DataSet());
        copy->FLink = item->FLink;
        copy->FPendingName = item->FPendingName;
    }
}

void TzelReportDataSets::Initialize()
{
    for (const auto &item : FItems)
        if (TzelDataSet *ds = item->DataSet()) {
            ds->ReportRef = FReport;
            // The failure names the data set: the source's own message may not.
            try {
                ds->Initialize();
            } catch (const TzelException &e) {
                throw TzelException(zelFormat(zelRes("clDataSetOpenFailed"), {ds->UserName(), e.message()}));
            }
        }
}

void TzelReportDataSets::Finalize()
{
    for (const auto &item : FItems)
        if (TzelDataSet *ds = item->DataSet())
            ds->Finalize();
}

QStringList TzelReportDataSets::MissingNames() const
{
    QStringList names;
    for (const auto &item : FItems)
        if (!item->DataSet())
            names << item->DataSetName();
    return names;
}

void TzelReportDataSets::Rebuild(const TzelReportDataSets &enabled)
{
    QList<TzelDataSet *> kept;
    for (const auto &item : FItems) {
        TzelDataSet *ds = item->DataSet();
        if (!ds)
            continue;
        if (const TzelDataSetItem *allowed = enabled.Find(item->DataSetName()); allowed && allowed->DataSet())
            kept << allowed->DataSet();
        else if (ds->ReportRoot())
            kept << ds;
    }
    Clear();
    for (TzelDataSet *ds : std::as_const(kept))
        Add(ds);
}

void TzelReportDataSets::WriteCollection(TzelXMLItem *parent) const
{
    if (FItems.empty())
        return;
    TzelXMLItem *list = parent->Add(QStringLiteral("Datasets"));
    for (const auto &entry : FItems) {
        TzelXMLItem *item = list->Add(QStringLiteral("item"));
        if (const QString component = entry->DataSetComponentName(); !component.isEmpty())
            item->SetProp(QStringLiteral("DataSet"), component);
        if (const QString name = entry->DataSetName(); !name.isEmpty())
            item->SetProp(QStringLiteral("DataSetName"), name);
    }
}

void TzelReportDataSets::ReadCollection(TzelXMLItem *element)
{
    for (int i = 0; i < element->Count(); ++i) {
        const TzelXMLItem *source = element->Items(i);
        AddByName(source->Prop(QStringLiteral("DataSetName")), source->Prop(QStringLiteral("DataSet")));
    }
}

void TzelReportDataSets::CopyByName(const TzelReportDataSets &source)
{
    Clear();
    for (const auto &entry : source.FItems)
        AddByName(entry->DataSetName(), entry->DataSetComponentName());
}

TzelDataSetItem *TzelReportDataSets::AddByName(const QString &name, const QString &component)
{
    TzelDataSetItem *item = Add();
    // The name first: a component reference found later takes precedence.
    if (!name.isEmpty())
        item->SetDataSetName(name);
    if (!component.isEmpty())
        item->SetDataSetComponentName(component);
    return item;
}
