#pragma once
/// \file

#include <QRect>
#include <QSize>
#include <vector>

/// One page of the preview's workspace: its size at the workspace's zoom
/// and where layout put it, in pixels.
struct TzelPageItem
{
    int Width = 0; ///< width in pixels
    int Height = 0; ///< height in pixels
    int OffsetX = 0; ///< left edge in the layout, pixels
    int OffsetY = 0; ///< top edge in the layout, pixels
};

/// The pages of a preview workspace laid out in rows: as many side by side as
/// the width takes, each row centred, 10 pixels around every page.
class TzelPageList
{
public:
    /// Forgets every page.
    void Clear();
    /// Appends a page of Width × Height pixels.
    void AddPage(int width, int height);
    /// Number of pages.
    int Count() const { return int(FItems.size()); }
    /// Page Index.
    const TzelPageItem &Items(int index) const { return FItems[size_t(index)]; }

    /// Lays the pages out for a workspace ClientWidth pixels wide.
    void CalcBounds(int clientWidth);
    /// The widest row with its margins, as the last layout found it.
    int MaxWidth() const { return FMaxWidth; }
    /// What the workspace scrolls over: the widest row and the last page's
    /// bottom, each with a margin of 10.
    QSize ScrollRange() const;
    /// Where page Index lies, mirrored for right-to-left layout. An index
    /// out of range gives an A4-sized page at Zoom, centred near the top.
    QRect GetPageBounds(int index, int clientWidth, double zoom, bool rightToLeft) const;
    /// The index of the page at height Y: the last one whose top is above Y
    /// by less than a fifth of its height (so a page counts once its top is
    /// near the top of the view); -1 without pages.
    int FindPage(int y) const;
    /// The index of the page that contains the point (X, Y), among the pages
    /// near height Y; -1 when none does.
    int FindPage(int x, int y) const;

private:
    int FindRow(int y, bool nearTop) const;

    std::vector<TzelPageItem> FItems;
    int FMaxWidth = 0;
};
