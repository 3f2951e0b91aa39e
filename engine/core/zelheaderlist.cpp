#include "engine/core/zelheaderlist.h"

#include <algorithm>

void TzelHeaderList::AddItem(TzelBand *band, double left, bool isInKeepList)
{
    auto item = std::make_unique<TzelHeaderListItem>();
    item->Band = band;
    item->Left = left;
    item->IsInKeepList = isInKeepList;
    FItems.push_back(std::move(item));
}

void TzelHeaderList::RemoveItem(TzelBand *band)
{
    auto it = std::find_if(FItems.begin(), FItems.end(), [band](const auto &item) { return item->Band == band; });
    if (it != FItems.end())
        FItems.erase(it);
}

bool TzelHeaderList::Contains(const TzelBand *band) const
{
    return std::any_of(FItems.begin(), FItems.end(), [band](const auto &item) { return item->Band == band; });
}
