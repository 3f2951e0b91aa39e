// Several built reports, or detail pages of one, in tabs of one preview.
#include "previewtest.h"

#include "model/band/zelreporttitle.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelpreviewpageslist.h"
#include "model/view/zelmemoview.h"

#include <QTabBar>
#include <QTest>

namespace {

QStringList Texts(TzelCustomPreviewPages &pages, int index)
{
    QStringList texts;
    for (const TzelPageTextRun &run : zelPageTextRuns(pages, index))
        texts << run.Text;
    return texts;
}

} // namespace

TEST(PreviewTabs, EachReportInATabAndClosingOneGoesBackToItsNeighbour)
{
    ShownRows first;
    first.Preview.EachReportInTab = true;
    SevenRows second(2);
    ASSERT_TRUE(second.Report.PrepareReport());
    first.Preview.SetPageNo(3);
    first.Preview.Init(&second.Report, second.Report.PreviewPages());
    EXPECT_EQ(first.Preview.TabCount(), 2);
    EXPECT_EQ(first.Preview.CurTab(), 1);
    EXPECT_FALSE(first.Preview.TabBar()->isHidden());
    EXPECT_EQ(first.Preview.PageCount(), 1);
    EXPECT_EQ(first.Preview.Report(), &second.Report);

    // Going back restores the page the first tab was on.
    first.Preview.SwitchToTab(0);
    EXPECT_EQ(first.Preview.PageCount(), 3);
    EXPECT_EQ(first.Preview.PageNo(), 3);
    // The first tab has no close mark; the second closes.
    EXPECT_EQ(first.Preview.TabBar()->tabButton(0, QTabBar::RightSide), nullptr);
    EXPECT_NE(first.Preview.TabBar()->tabButton(1, QTabBar::RightSide), nullptr);
    first.Preview.SwitchToTab(1);
    first.Preview.RemoveTab(1);
    EXPECT_EQ(first.Preview.TabCount(), 1);
    EXPECT_EQ(first.Preview.CurTab(), 0);
    EXPECT_TRUE(first.Preview.TabBar()->isHidden());
    EXPECT_EQ(first.Preview.Report(), &first.Report);
    EXPECT_EQ(second.Report.Preview(), nullptr);
}

TEST(PreviewTabs, AReportGoingAwayTakesItsTabsWithIt)
{
    ShownRows first;
    first.Preview.EachReportInTab = true;
    {
        SevenRows second(2);
        ASSERT_TRUE(second.Report.PrepareReport());
        first.Preview.Init(&second.Report, second.Report.PreviewPages());
        EXPECT_EQ(first.Preview.TabCount(), 2);
    }
    EXPECT_EQ(first.Preview.TabCount(), 1);
    EXPECT_EQ(first.Preview.Report(), &first.Report);
    EXPECT_EQ(first.Preview.PageCount(), 3);
}

TEST(PreviewTabs, ADetailPageLinkOpensItsPageForTheClickedRow)
{
    FakeDialogService dialogs;
    ShownRows t(3, [](SevenRows &r) {
        auto *row = zelAs<TzelMemoView>(r.Report.FindObject(QStringLiteral("RowsText")));
        row->Hyperlink().Kind = hkDetailPage;
        row->Hyperlink().DetailPage = QStringLiteral("Detail");
        row->Hyperlink().Expression = QStringLiteral("<Line>");
        row->Hyperlink().ReportVariable = QStringLiteral("Chosen");
        r.Report.Variables().SetValue(QStringLiteral("Chosen"), Variant(QStringLiteral("''")));
        auto *detail = new TzelReportPage(&r.Report);
        detail->SetName(QStringLiteral("Detail"));
        detail->SetSizeAndDimensions(256, 100, 100);
        detail->SetVisible(false);
        auto *title = new TzelReportTitle(detail);
        title->SetName(QStringLiteral("DetailTitle"));
        title->SetBounds(0, 0, 300, 20);
        addMemo(title, "DetailText", 0, 20, QStringLiteral("Detail of row [Chosen]"))->SetWidth(300);
    });
    ASSERT_EQ(t.Preview.PageCount(), 1);
    TzelPreviewWorkspace *w = t.Preview.Workspace();
    const QPoint secondRow = w->PageRect(0).topLeft() - w->Offset() + QPoint(20, 105);
    QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, secondRow);
    ASSERT_EQ(t.Preview.TabCount(), 2) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(t.Preview.TabBar()->tabText(1), QStringLiteral("2"));
    EXPECT_EQ(Texts(*t.Preview.PreviewPages(), 0), QStringList{QStringLiteral("Detail of row 2")});
    // The report's own pages are untouched, and closing the tab drops the detail's.
    EXPECT_EQ(t.Report.PreviewPagesList()->Count(), 2);
    t.Preview.RemoveTab(1);
    EXPECT_EQ(t.Report.PreviewPagesList()->Count(), 1);
    EXPECT_EQ(Texts(*t.Preview.PreviewPages(), 0).value(1), QStringLiteral("Row 2"));
}
