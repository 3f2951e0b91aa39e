#include "previewtest.h"

#include "preview/zelsearchform.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <cmath>

TEST(PreviewControl, ShowsEveryPageOfABuildAndGoesToTheFirst)
{
    ShownRows t;
    EXPECT_EQ(t.Preview.PageCount(), 3);
    EXPECT_EQ(t.Preview.PageNo(), 1);
    EXPECT_FALSE(t.Preview.Running());
    // A 100 mm page is 378 pixels at zoom 1; the three share no row in 800 pixels.
    const TzelPageItem &first = t.Preview.Workspace()->PageList().Items(0);
    EXPECT_EQ(first.Width, 378);
    EXPECT_EQ(first.OffsetY, 10);
}

TEST(PreviewControl, ZoomKeepsItsFloorsAndFitsThePageInItsModes)
{
    ShownRows t;
    t.Preview.SetZoom(0.1);
    EXPECT_DOUBLE_EQ(t.Preview.Zoom(), 0.25);
    EXPECT_EQ(t.Preview.ZoomMode(), zmDefault);

    // Ctrl and the wheel step by 0.1 down to 0.3, not to the control's 0.25.
    t.Preview.SetZoom(0.35);
    t.Preview.MouseWheelScroll(-120, Qt::ControlModifier);
    EXPECT_NEAR(t.Preview.Zoom(), 0.3, 1e-9);
    t.Preview.MouseWheelScroll(120, Qt::ControlModifier);
    EXPECT_NEAR(t.Preview.Zoom(), 0.4, 1e-9);

    TzelPreviewWorkspace *w = t.Preview.Workspace();
    const int scrollBar = w->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    t.Preview.SetZoomMode(zmPageWidth);
    EXPECT_NEAR(t.Preview.Zoom(), (w->width() - scrollBar - 26) / 378.0, 1e-9);
    t.Preview.SetZoomMode(zmWholePage);
    // More than one page: a scroll bar's width is kept free. The page is
    // square, so the smaller side decides.
    const double width = w->width() - scrollBar - 26, height = w->height() - 26;
    EXPECT_NEAR(t.Preview.Zoom(), std::min(width, height) / 378.0, 1e-9);
    EXPECT_EQ(w->PageList().Items(0).Height, std::lround(378 * t.Preview.Zoom()));
}

TEST(PreviewControl, WholePageOfASinglePageNeedsNoScrollBar)
{
    ShownRows t(2);
    ASSERT_EQ(t.Preview.PageCount(), 1);
    TzelPreviewWorkspace *w = t.Preview.Workspace();
    t.Preview.SetZoomMode(zmWholePage);
    EXPECT_NEAR(t.Preview.Zoom(), std::min(w->width() - 26, w->height() - 26) / 378.0, 1e-9);
}

TEST(PreviewControl, PageNumbersAreClampedAndFollowTheView)
{
    ShownRows t;
    TzelPreviewWorkspace *w = t.Preview.Workspace();
    struct Case
    {
        int Set;
        int Expected;
    };
    for (const Case c : {Case{0, 1}, Case{99, 3}, Case{2, 2}}) {
        t.Preview.SetPageNo(c.Set);
        EXPECT_EQ(t.Preview.PageNo(), c.Expected) << c.Set;
    }
    // Going to a page puts its top 10 pixels below the view's top.
    EXPECT_EQ(w->PageRect(1).top() - w->Offset().y(), 10);

    struct Key
    {
        int Code;
        Qt::KeyboardModifiers Modifiers;
        int Expected;
    };
    for (const Key k : {Key{Qt::Key_End, {}, 3}, Key{Qt::Key_Home, {}, 1}, Key{Qt::Key_PageDown, Qt::ControlModifier, 2},
                        Key{Qt::Key_PageUp, Qt::ControlModifier, 1}}) {
        EXPECT_TRUE(t.Preview.HandleKey(k.Code, k.Modifiers));
        EXPECT_EQ(t.Preview.PageNo(), k.Expected) << k.Code;
    }

    // Scrolling makes current the page whose top is near the view's top.
    w->SetOffset(QPoint(0, w->PageRect(1).top() - 50));
    EXPECT_EQ(t.Preview.PageNo(), 2);
    w->SetOffset(QPoint(0, 0));
    EXPECT_EQ(t.Preview.PageNo(), 1);

    TzelPreview empty;
    empty.SetPageNo(5);
    EXPECT_EQ(empty.PageNo(), 1);
    EXPECT_EQ(empty.PageCount(), 0);
}

TEST(PreviewControl, SetPositionAndGetTopPositionAreInverse)
{
    ShownRows t;
    t.Preview.resize(800, 300);
    t.Preview.SetPosition(2, 100);
    EXPECT_EQ(t.Preview.PageNo(), 2);
    EXPECT_EQ(t.Preview.GetTopPosition(), 100);
}

TEST(PreviewControl, SearchWalksEveryOccurrenceInDrawingOrder)
{
    FakeDialogService dialogs;
    ShownRows t;
    // F3 before any search does nothing.
    t.Preview.HandleKey(Qt::Key_F3, {});
    EXPECT_FALSE(t.Preview.FindTextFound());
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    ASSERT_TRUE(t.Preview.FindText(QStringLiteral("row 5"), true, false));
    EXPECT_EQ(t.Preview.PageNo(), 2);
    const QList<TzelPageTextRun> runs = zelPageTextRuns(*t.Report.PreviewPages(), 1);
    const auto found = std::find_if(runs.begin(), runs.end(), [](const TzelPageTextRun &r) { return r.Text == QStringLiteral("Row 5"); });
    ASSERT_NE(found, runs.end());
    // The second row of the page: a band of 100 below the first.
    EXPECT_NEAR(found->Rect.top() - runs.front().Rect.top(), 100, 1);

    // Asked again, the search goes on to the next occurrence.
    std::vector<int> pages;
    ASSERT_TRUE(t.Preview.FindText(QStringLiteral("Row"), true, true));
    for (pages.push_back(t.Preview.PageNo()); t.Preview.FindText(QStringLiteral("Row"), false, true);)
        pages.push_back(t.Preview.PageNo());
    EXPECT_EQ(pages, (std::vector<int>{1, 1, 1, 2, 2, 2, 3}));
    EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("Information: Text not found")});
    // After "Text not found" F3 does nothing until the next search.
    t.Preview.HandleKey(Qt::Key_F3, {});
    EXPECT_EQ(dialogs.Messages.size(), 1);
    // Case counts when asked to.
    EXPECT_FALSE(t.Preview.FindText(QStringLiteral("ROW"), true, true));
}

TEST(PreviewControl, FindAllListsTheMatchesByPage)
{
    ShownRows t;
    TzelSearchForm *form = t.Preview.SearchForm();
    form->chkFindAll->setChecked(true);
    form->edtFind->setText(QStringLiteral("ow 1"));
    form->RunFind();
    QTreeWidget *tree = form->trvFind;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Pages 1"));
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Row 1"));

    form->edtFind->setText(QStringLiteral("Row"));
    form->RunFind();
    QStringList pages;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        pages << QStringLiteral("%1:%2").arg(tree->topLevelItem(i)->text(0)).arg(tree->topLevelItem(i)->childCount());
    EXPECT_EQ(pages.join(QLatin1Char(' ')), QStringLiteral("Pages 1:3 Pages 2:3 Pages 3:1"));
    // Choosing a match shows its page.
    tree->setCurrentItem(tree->topLevelItem(2)->child(0));
    EXPECT_EQ(t.Preview.PageNo(), 3);
}

TEST(PreviewControl, OutlineAndThumbnailsLeadToTheirPage)
{
    ShownRows t;
    QTreeWidget *tree = t.Preview.Outline()->Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 7);
    EXPECT_EQ(tree->topLevelItem(5)->text(0), QStringLiteral("Row 6"));
    emit tree->itemClicked(tree->topLevelItem(5), 0);
    EXPECT_EQ(t.Preview.PageNo(), 2);

    t.Preview.Outline()->SetSortType(dtsDescending);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Row 7"));
    t.Preview.Outline()->SetSortType(dtsUnsorted);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Row 1"));

    t.Preview.SetThumbnailVisible(true);
    EXPECT_FALSE(t.Preview.OutlineVisible());
    TzelPreviewWorkspace *thumbs = t.Preview.Thumbnails();
    ASSERT_EQ(thumbs->PageList().Count(), 3);
    EXPECT_EQ(thumbs->PageList().Items(0).Width, 38);
    const QPoint third = thumbs->PageRect(2).center() - thumbs->Offset();
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(t.Preview.PageNo(), 3);
}

TEST(PreviewControl, DrawsPagesOnTheBackgroundWithTheCurrentOneFramed)
{
    ShownRows t;
    TzelPreviewWorkspace *w = t.Preview.Workspace();
    const QImage view = w->viewport()->grab().toImage();
    const QRect page = w->PageRect(0).translated(-w->Offset());
    EXPECT_EQ(view.pixelColor(2, 2), w->BackColor);
    EXPECT_EQ(view.pixelColor(page.center().x(), page.top() + 5), QColor(Qt::white));
    EXPECT_EQ(view.pixelColor(page.left(), page.center().y()), w->FrameColor);
    EXPECT_EQ(view.pixelColor(page.left() - 2, page.center().y()), w->ActiveFrameColor);
    // The second page is not current: no frame beside it.
    const QRect second = w->PageRect(1).translated(-w->Offset());
    EXPECT_EQ(view.pixelColor(second.left() - 2, second.center().y()), w->BackColor);

    // A found text is shown inverted: its box turns mostly dark.
    ASSERT_TRUE(t.Preview.FindText(QStringLiteral("Row 1"), true, false));
    const QImage found = w->viewport()->grab().toImage();
    const QRect box = QRect(3, 3, 30, 10).translated(w->PageRect(0).translated(-w->Offset()).topLeft());
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            dark += found.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, box.width() * box.height() / 2);
}
