#include "preview/zelpagelist.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixels between pages and around the rows.
constexpr int gap = 10;
// An A4 page at 96 dots per inch, for an index without a page.
constexpr int defaultWidth = 794;
constexpr int defaultHeight = 1123;
// How many pages on either side of the one found by height a point may lie in.
constexpr int hitReach = 20;

} // namespace

void TzelPageList::Clear()
{
    FItems.clear();
    FMaxWidth = 0;
}

void TzelPageList::AddPage(int width, int height)
{
    FItems.push_back({width, height, 0, 0});
}

void TzelPageList::CalcBounds(int clientWidth)
{
    FMaxWidth = 0;
    int y = gap;
    size_t i = 0;
    while (i < FItems.size()) {
        const size_t rowStart = i;
        int x = 0;
        int rowHeight = 0;
        while (i < FItems.size() && (i == rowStart || x + FItems[i].Width <= clientWidth)) {
            FItems[i].OffsetX = x;
            FItems[i].OffsetY = y;
            x += FItems[i].Width + gap;
            rowHeight = std::max(rowHeight, FItems[i].Height);
            ++i;
        }
        FMaxWidth = std::max(FMaxWidth, x);
        // Integer division toward zero, as the rows have always been centred.
        const int centre = std::max(0, (clientWidth - x + gap) / 2) + gap;
        for (size_t j = rowStart; j < i; ++j)
            FItems[j].OffsetX += centre;
        y += rowHeight + gap;
    }
}

QSize TzelPageList::ScrollRange() const
{
    const int bottom = FItems.empty() ? 0 : FItems.back().OffsetY + FItems.back().Height;
    return QSize(FMaxWidth + gap, bottom + gap);
}

QRect TzelPageList::GetPageBounds(int index, int clientWidth, double zoom, bool rightToLeft) const
{
    if (index < 0 || index >= Count()) {
        const int width = int(std::lround(defaultWidth * zoom));
        const int height = int(std::lround(defaultHeight * zoom));
        const int left = width > clientWidth ? gap : int((clientWidth - defaultWidth * zoom) / 2);
        return QRect(left, int(std::lround(gap * zoom)), width, height);
    }
    const TzelPageItem &item = Items(index);
    const int left = rightToLeft ? clientWidth - item.Width - item.OffsetX : item.OffsetX;
    return QRect(left, item.OffsetY, item.Width, item.Height);
}

int TzelPageList::FindRow(int y, bool nearTop) const
{
    // The last page whose top lies at or above Y (less a fifth of its height
    // when the view's top is asked for).
    int low = 0, high = Count() - 1, found = 0;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const TzelPageItem &item = Items(middle);
        const int bias = nearTop ? int(std::lround(item.Height / 5.0)) : 0;
        if (item.OffsetY <= y + bias) {
            found = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return found;
}

int TzelPageList::FindPage(int y) const
{
    return FItems.empty() ? -1 : FindRow(y, true);
}

int TzelPageList::FindPage(int x, int y) const
{
    if (FItems.empty())
        return -1;
    const int found = FindRow(y, false);
    for (int i = std::max(0, found - hitReach); i <= std::min(Count() - 1, found + hitReach); ++i) {
        const TzelPageItem &item = Items(i);
        if (QRect(item.OffsetX, item.OffsetY, item.Width, item.Height).contains(x, y))
            return i;
    }
    return -1;
}
