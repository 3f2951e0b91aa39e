#pragma once
/// \file

#include <QtGlobal>
#include <vector>

/// Where each picture of a picture cache lies: the segment and the offset of
/// its first byte. Lengths are not stored; they follow from the next entry or
/// the segment's end.
class TzelCacheList
{
public:
    /// One stored picture.
    struct Entry
    {
        qint32 Segment = 0; ///< 0-based position of the segment
        qint32 Offset = 0;  ///< offset of the first byte in the segment
    };

    /// Appends an entry.
    void Add(qint32 segment, qint32 offset);
    /// Number of entries.
    int Count() const { return int(FItems.size()); }
    /// Entry at the 0-based Index, which must be below Count.
    const Entry &Get(int index) const { return FItems[size_t(index)]; }
    /// Removes every entry.
    void Clear() { FItems.clear(); }

private:
    std::vector<Entry> FItems;
};
