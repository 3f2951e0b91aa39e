#include "prepared/zelpreviewpageslist.h"

#include "prepared/zelpreviewpages.h"

#include <algorithm>

TzelPreviewPagesList::TzelPreviewPagesList(TzelReport *report)
    : FReport(report)
{
    FItems.push_back(std::make_unique<TzelPreviewPages>(report));
}

TzelPreviewPagesList::~TzelPreviewPagesList() = default;

TzelPreviewPages *TzelPreviewPagesList::Add()
{
    FItems.push_back(std::make_unique<TzelPreviewPages>(FReport));
    return FItems.back().get();
}

TzelPreviewPages *TzelPreviewPagesList::AddAsCurrent()
{
    TzelPreviewPages *pages = Add();
    Select(Count() - 1);
    return pages;
}

TzelPreviewPages *TzelPreviewPagesList::Items(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

int TzelPreviewPagesList::IndexOf(const TzelPreviewPages *pages) const
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

void TzelPreviewPagesList::SetCurrent(TzelPreviewPages *pages)
{
    if (const int i = IndexOf(pages); i >= 0)
        Select(i);
}

void TzelPreviewPagesList::SetMain(TzelPreviewPages *pages)
{
    const int i = IndexOf(pages);
    if (i <= 0)
        return;
    TzelPreviewPages *current = Current();
    std::rotate(FItems.begin(), FItems.begin() + i, FItems.begin() + i + 1);
    FCurrent = IndexOf(current);
}

void TzelPreviewPagesList::Delete(TzelPreviewPages *pages)
{
    Delete(IndexOf(pages));
}

void TzelPreviewPagesList::Delete(int index)
{
    if (index < 0 || index >= Count() || Count() == 1)
        return;
    TzelPreviewPages *current = Current();
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
