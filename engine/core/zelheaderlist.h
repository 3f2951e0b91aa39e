#pragma once
/// \file

#include <memory>
#include <vector>

class TzelBand;

/// A band printed again at the top of every new page or column, with the
/// left position at which it was first printed.
struct TzelHeaderListItem
{
    TzelBand *Band = nullptr; ///< the band; nullptr once it must not print again
    double Left = 0;          ///< left position of its first print
    bool IsInKeepList = false; ///< it belongs to an open keep block
};

/// The bands the engine reprints on every new page and column, in order.
class TzelHeaderList
{
public:
    /// Forgets every item.
    void Clear() { FItems.clear(); }
    /// Number of items.
    int Count() const { return int(FItems.size()); }
    /// Item Index.
    TzelHeaderListItem &Items(int index) { return *FItems[size_t(index)]; }
    /// Appends an item; a nullptr band is kept and skipped by readers.
    void AddItem(TzelBand *band, double left, bool isInKeepList);
    /// Removes the first item of Band.
    void RemoveItem(TzelBand *band);
    /// Whether an item holds Band.
    bool Contains(const TzelBand *band) const;

private:
    std::vector<std::unique_ptr<TzelHeaderListItem>> FItems;
};
