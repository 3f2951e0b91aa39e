#pragma once
/// \file

#include <QList>
#include <QString>
#include <mutex>

class TzelDataSet;
class TzelComponent;

/// The process-wide list of every data set that exists. Data sets enter it in
/// their constructor and leave it in their destructor; every access holds the
/// list's lock, so data sets may come and go on worker threads.
class TzelDataSetList
{
public:
    /// The one list of the process.
    static TzelDataSetList &Global();

    /// Adds DataSet (its constructor does).
    void Add(TzelDataSet *dataSet);
    /// Removes DataSet (its destructor does).
    void Remove(TzelDataSet *dataSet);
    /// A copy of the list, in creation order.
    QList<TzelDataSet *> Items() const;
    /// Whether DataSet is alive.
    bool Contains(const TzelDataSet *dataSet) const;
    /// The first data set whose user name is Name (case ignored), skipping
    /// those that sit in a report other than Report (a report's root, or
    /// nullptr); nullptr when none.
    TzelDataSet *FindByUserName(const QString &name, const TzelComponent *report) const;
    /// The data sets a report may offer: enabled ones that sit in Report or
    /// in no report at all.
    QList<TzelDataSet *> ActiveFor(const TzelComponent *report) const;

    /// The lock, for callers that need several steps to be atomic.
    std::recursive_mutex &Lock() const { return FLock; }

private:
    TzelDataSetList() = default;

    mutable std::recursive_mutex FLock;
    QList<TzelDataSet *> FItems;
};
