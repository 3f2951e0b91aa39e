#pragma once
/// \file

#include "base/core/zelownedlist.h"
#include "model/report/zeldatasetitem.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TzelDataSet;
class TzelReport;
class TzelXMLItem;

/// A report's list of data sets (its DataSets, and the host's EnabledDataSets).
/// Entries refer to data sets weakly: a freed data set leaves an entry without
/// one. Stored in templates as the element "Datasets".
class TzelReportDataSets : public TzelOwnedList<TzelDataSetItem>
{
public:
    /// The list of Report (which decides how names are looked up).
    explicit TzelReportDataSets(TzelReport *report = nullptr);
    ~TzelReportDataSets();
    TzelReportDataSets(const TzelReportDataSets &) = delete;
    TzelReportDataSets &operator=(const TzelReportDataSets &) = delete;

    /// The report the list belongs to.
    TzelReport *Report() const { return FReport; }
    /// Appends an entry for DataSet (none: an empty entry).
    TzelDataSetItem *Add(TzelDataSet *dataSet = nullptr);
    /// The first entry for DataSet, or nullptr.
    TzelDataSetItem *Find(const TzelDataSet *dataSet) const;
    /// The first entry whose data set has Name as user name or component name
    /// (case ignored); entries without a data set are skipped.
    TzelDataSetItem *Find(const QString &name) const;
    /// Removes the first entry whose data set has Name as user name.
    void Delete(const QString &name);
    using TzelOwnedList::Delete;
    /// Copies the entries of Source.
    void Assign(const TzelReportDataSets &source);

    /// Gives every listed data set the report and initializes it.
    void Initialize();
    /// Finalizes every listed data set.
    void Finalize();
    /// The names of entries that have no data set.
    QStringList MissingNames() const;
    /// After a load without the global list: an entry whose name Enabled
    /// knows takes Enabled's data set; otherwise an entry whose data set sits
    /// in no report (a host's) is dropped. Entries without a data set go.
    void Rebuild(const TzelReportDataSets &enabled);

    /// Appends the element "Datasets" to Parent when there are entries.
    void WriteCollection(TzelXMLItem *parent) const;
    /// Reads the entries of a "Datasets" element (every child is one).
    void ReadCollection(TzelXMLItem *element);
    /// Replaces the entries by entries naming Source's data sets, found again
    /// in this list's report, as a template carries them.
    void CopyByName(const TzelReportDataSets &source);

private:
    TzelDataSetItem *AddByName(const QString &name, const QString &component);

public:

private:
    TzelReport *FReport;
};
