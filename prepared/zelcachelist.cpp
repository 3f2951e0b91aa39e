#include "prepared/zelcachelist.h"

void TzelCacheList::Add(qint32 segment, qint32 offset)
{
    FItems.push_back(Entry{segment, offset});
}
