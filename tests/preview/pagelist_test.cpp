#include "preview/zelpagelist.h"

#include <gtest/gtest.h>

// The preview's page layout: rows of pages centred in the workspace, and the
// page found at a height or under the mouse.

namespace {

TzelPageList pages(std::initializer_list<QSize> sizes, int clientWidth)
{
    TzelPageList list;
    for (const QSize &s : sizes)
        list.AddPage(s.width(), s.height());
    list.CalcBounds(clientWidth);
    return list;
}

QList<QRect> bounds(const TzelPageList &list, int clientWidth, bool rightToLeft = false)
{
    QList<QRect> rects;
    for (int i = 0; i < list.Count(); ++i)
        rects << list.GetPageBounds(i, clientWidth, 1, rightToLeft);
    return rects;
}

} // namespace

TEST(PageList, PagesFillCentredRowsTenPixelsApart)
{
    struct Case
    {
        const char *What;
        int ClientWidth;
        QList<QRect> Expected;
    };
    const Case cases[] = {
        // 100-wide pages: (500 - 330 + 10) / 2 + 10 = 100.
        {"three in a row", 500, {QRect(100, 10, 100, 200), QRect(210, 10, 100, 150), QRect(320, 10, 100, 200)}},
        // Two fit (0..100, 110..210); the third starts a row below the tallest.
        {"two and one", 215, {QRect(12, 10, 100, 200), QRect(122, 10, 100, 150), QRect(67, 220, 100, 200)}},
        // A page wider than the workspace still takes a row of its own, at the left margin.
        {"too narrow", 50, {QRect(10, 10, 100, 200), QRect(10, 220, 100, 150), QRect(10, 380, 100, 200)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.What);
        const TzelPageList list = pages({QSize(100, 200), QSize(100, 150), QSize(100, 200)}, c.ClientWidth);
        EXPECT_EQ(bounds(list, c.ClientWidth), c.Expected);
    }
    const TzelPageList list = pages({QSize(100, 200), QSize(100, 150), QSize(100, 200)}, 215);
    EXPECT_EQ(list.ScrollRange(), QSize(230, 430)) << "widest row 220 and the last bottom 420, each with 10";
    EXPECT_EQ(bounds(list, 215, true).first(), QRect(103, 10, 100, 200)) << "mirrored from the right";
}

TEST(PageList, PagesAreFoundByHeightAndUnderTheMouse)
{
    TzelPageList list;
    for (int i = 0; i < 100; ++i)
        list.AddPage(100, 200);
    list.CalcBounds(150); // one page a row: page i at 10 + 210 i
    struct Case
    {
        int X, Y;
        int Expected;
    };
    const Case byHeight[] = {
        {-1, 0, 0},
        {-1, 179, 0}, // page 1's top (220) is still more than a fifth below
        {-1, 180, 1}, // within a fifth of its height: page 1 is current
        {-1, 20800, 99},
    };
    for (const Case &c : byHeight)
        EXPECT_EQ(list.FindPage(c.Y), c.Expected) << c.Y;
    const Case byPoint[] = {
        {60, 230, 1},
        {60, 215, -1},  // in the gap between pages 0 and 1
        {5, 230, -1},   // left of the page
        {60, 20780, 98},
    };
    for (const Case &c : byPoint)
        EXPECT_EQ(list.FindPage(c.X, c.Y), c.Expected) << c.X << ',' << c.Y;
    EXPECT_EQ(TzelPageList().FindPage(5), -1);
    EXPECT_EQ(list.GetPageBounds(100, 500, 0.5, false), QRect(51, 5, 397, 562)) << "a default page out of range";
}
