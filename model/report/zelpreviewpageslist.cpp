#include "model/report/zelpreviewpageslist.h"

#include "model/report/zelcustompreviewpages.h"

#include <algorithm>

TzelPreviewPagesList::TzelPreviewPagesList(Maker make)
    : FMake(std::move(make))
{
    FItems.push_back(FMake());
}

TzelPreviewPagesList::~TzelPreviewPagesList() = default;

TzelCustomPreviewPages *TzelPreviewPagesList::Add()
{
    FItems.push_back(FMake());
    return FItems.back().get();
}

TzelCustomPreviewPages *TzelPreviewPagesList::AddAsCurrent()
{
    TzelCustomPreviewPages *pages = Add();
    Select(Count() - 1);
    return pages;
}

TzelCustomPreviewPages *TzelPreviewPagesList::Items(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

int TzelPreviewPagesList::IndexOf(const TzelCustomPreviewPages *pages) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].get() == pages)
            return i;
    return -1;
}

void TzelPreviewPagesList::Select(int index)
{
    FCurrent = index;
    if (OnCurrentChanged)
        OnCurrentChanged(Current());
}

void TzelPreviewPagesList::SetCurrent(TzelCustomPreviewPages *pages)
{
    if (const int i = IndexOf(pages); i >= 0)
        Select(i);
}

void TzelPreviewPagesList::SetMain(TzelCustomPreviewPages *pages)
{
    const int i = IndexOf(pages);
    if (i <= 0)
        return;
    TzelCustomPreviewPages *current = Current();
    std::rotate(FItems.begin(), FItems.begin() + i, FItems.begin() + i + 1);
    FCurrent = IndexOf(current);
}

void TzelPreviewPagesList::Delete(TzelCustomPreviewPages *pages)
{
    Delete(IndexOf(pages));
}

void TzelPreviewPagesList::Delete(int index)
{
    if (index < 0 || index >= Count() || Count() == 1)
        return;
    TzelCustomPreviewPages *current = Current();
    FItems.erase(FItems.begin() + index);
    const int i = IndexOf(current);
    if (i < 0)
        Select(0);
    else
        FCurrent = i;
}

void TzelPreviewPagesList::Clear()
{
    FItems.resize(1);
    Select(0);
}
