#include "prepared/zelcachelist.h"

TzelCacheList::Entry &TzelCacheList::Add(qint32 segment, qint32 offset)
{
    return FItems.emplace_back(Entry{segment, offset});
}
