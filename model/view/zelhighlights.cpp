#include "model/view/zelhighlights.h"

#include <algorithm>

TzelHighlight *TzelHighlights::Add()
{
    const int index = NextUniqueIndex();
    TzelHighlight *item = TzelOwnedList<TzelHighlight>::Add();
    item->UniqueIndex = index;
    return item;
}

TzelHighlight *TzelHighlights::FindByUniqueIndex(int index) const
{
    for (const auto &item : FItems)
        if (item->UniqueIndex == index)
            return item.get();
    return nullptr;
}

int TzelHighlights::NextUniqueIndex() const
{
    if (FItems.empty())
        return 1;
    int smallest = FItems.front()->UniqueIndex;
    int largest = smallest;
    for (const auto &item : FItems) {
        smallest = std::min(smallest, item->UniqueIndex);
        largest = std::max(largest, item->UniqueIndex);
    }
    if (smallest >= 2)
        return 1;
    return std::max(largest + 1, 2);
}
