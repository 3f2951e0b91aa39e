#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "engine/aggregate/zelaggregateitem.h"

#include <QHash>
#include <QList>
#include <memory>
#include <vector>

class TzelBand;
class TzelCustomMemoView;
class TzelReport;
class TzelReportPage;

/// The aggregate calls of a report's pages, found in the memo texts of the
/// bands that print totals before building starts, and accumulated while the
/// engine prints rows.
class TzelAggregateList
{
public:
    /// An empty list for Report.
    explicit TzelAggregateList(TzelReport *report);
    ~TzelAggregateList();

    /// Forgets every item.
    void Clear();
    /// Restarts every item, running totals too (between two passes).
    void ClearValues();
    /// Finds the aggregate calls of Page's footers and summaries; needs the
    /// page's band links.
    void AddItems(TzelReportPage *page);
    /// Counts a row of Band in every item that counts it.
    void AddValue(TzelBand *band, int vColumn = 0);
    /// Takes the last row of Band back.
    void DeleteValue(TzelBand *band);
    /// Remembers and restores the totals of the items counting Band.
    void SaveValue(TzelBand *band);
    /// Brings back the totals SaveValue remembered.
    void RestoreValue(TzelBand *band);
    /// Page-footer items count aside while a keep block is open...
    void StartKeep();
    /// ...and take over what they counted when it closes.
    void EndKeep();
    /// Restarts the items printed in ParentBand (not running totals).
    void Reset(TzelBand *parentBand);
    /// The value of the call written as ComplexName in ParentBand; Null when
    /// there is no such call.
    Variant GetValue(TzelBand *parentBand, int vColumn, const QString &complexName) const;
    /// The value of function Name over Expression for Band (nullptr: any)
    /// with Flags, printed in ParentBand; Null when there is no such item.
    Variant GetValue(TzelBand *parentBand, int vColumn, const QString &name, const QString &expression,
                     TzelBand *band, int flags) const;
    /// Number of items.
    qsizetype Count() const { return qsizetype(FItems.size()); }

private:
    class Finder;

    using Index = QHash<TzelBand *, QList<TzelAggregateItem *>>;

    void Add(std::unique_ptr<TzelAggregateItem> item);
    // Calls F for every item Index files under Band.
    template <class F> static void ForEach(const Index &index, TzelBand *band, F &&f);

    TzelReport *FReport;
    std::vector<std::unique_ptr<TzelAggregateItem>> FItems;
    // The items by the band whose rows they count and by the band they print
    // in, for the work done with every band printed.
    Index FByBand;
    Index FByParent;
    QList<TzelAggregateItem *> FPageFooterItems;
};
