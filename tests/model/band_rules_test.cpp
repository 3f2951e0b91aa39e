#include "band_testsupport.h"

#include "base/core/zelexception.h"
#include "model/band/zelchild.h"
#include "model/band/zeldataband4.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelnullband.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreporttitle.h"
#include "model/data/zeluserdataset.h"
#include "model/page/zelreportpage.h"
#include "model/reflect/zelclassregistry.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelgradientfill.h"
#include "model/view/zelmemoview.h"

#include <memory>

// What the band setters and operations do: child chains, columns, the
// virtual data set, the character grid, hit testing and the fill memo.

namespace {

using BandRules = BandTest;

// A page whose bands keep to character cells, as dot-matrix pages do.
class TzelGridPage : public TzelReportPage
{
    ZEL_CLASS(TzelGridPage, TzelReportPage)

    bool SnapsToCharacterCells() const override { return true; }
};

QString raisedBy(const std::function<void()> &f)
{
    try {
        f();
    } catch (const TzelException &e) {
        return e.message();
    }
    return QStringLiteral("<none>");
}

} // namespace

TEST_F(BandRules, KindNumbersAndNamesFollowTheClass)
{
    const struct
    {
        const char *cls;
        int number;
        const char *name;
    } cases[] = {
        {"TzelReportTitle", 0, "ReportTitle"},   {"TzelReportSummary", 1, "ReportSummary"},
        {"TzelPageHeader", 2, "PageHeader"},     {"TzelPageFooter", 3, "PageFooter"},
        {"TzelHeader", 4, "Header"},             {"TzelFooter", 5, "Footer"},
        {"TzelMasterData", 6, "MasterData"},     {"TzelDetailData", 7, "DetailData"},
        {"TzelSubdetailData", 8, "SubdetailData"}, {"TzelDataBand4", 9, "Data4"},
        {"TzelDataBand5", 10, "Data5"},          {"TzelDataBand6", 11, "Data6"},
        {"TzelGroupHeader", 12, "GroupHeader"},  {"TzelGroupFooter", 13, "GroupFooter"},
        {"TzelChild", 14, "Child"},              {"TzelColumnHeader", 15, "ColumnHeader"},
        {"TzelColumnFooter", 16, "ColumnFooter"}, {"TzelOverlay", 17, "Overlay"},
        {"TzelNullBand", 0, "Null"},
    };
    for (const auto &c : cases) {
        std::unique_ptr<TzelPersistent> made(TzelClassRegistry::Find(QString::fromLatin1(c.cls))->Create());
        const auto *band = dynamic_cast<const TzelBand *>(made.get());
        ASSERT_NE(band, nullptr) << c.cls;
        EXPECT_EQ(band->BandNumber(), c.number) << c.cls;
        EXPECT_EQ(band->BandName(), QLatin1StringView(c.name)) << c.cls;
    }
}

TEST_F(BandRules, NewPageBandsPrintOnTheFirstAndLastPage)
{
    TzelPageHeader header;
    TzelPageFooter footer;
    EXPECT_TRUE(header.PrintOnFirstPage);
    EXPECT_TRUE(footer.PrintOnFirstPage);
    EXPECT_TRUE(footer.PrintOnLastPage);
    EXPECT_FALSE(footer.PrintOnSinglePage);
}

TEST_F(BandRules, ACircularChildChainIsRefusedAndTheOldChildStays)
{
    TzelReportPage page;
    auto *master = new TzelMasterData(&page);
    auto *child1 = new TzelChild(&page);
    auto *child2 = new TzelChild(&page);
    auto *child3 = new TzelChild(&page);
    master->SetChild(child1);
    child1->SetChild(child2);
    child2->SetChild(child3);

    EXPECT_EQ(raisedBy([&] { child3->SetChild(child1); }), QStringLiteral("Circular child reference is not allowed"));
    EXPECT_EQ(child3->Child(), nullptr);
    EXPECT_EQ(raisedBy([&] { child1->SetChild(child1); }), QStringLiteral("Circular child reference is not allowed"));
    EXPECT_EQ(child1->Child(), child2);

    // A band forgets a child band that is freed; freeing the band first is fine too.
    delete child2;
    EXPECT_EQ(child1->Child(), nullptr);
    delete master;
    child1->SetChild(child3);
    EXPECT_EQ(child1->Child(), child3);
}

TEST_F(BandRules, ACircularChildChainInATemplateIsReportedAndTheRestLoads)
{
    TzelReport report;
    QByteArray text = templateWith(
        "<TzelReportPage Name=\"Page1\">"
        "<TzelChild Name=\"Child1\" Child=\"Child2\"/><TzelChild Name=\"Child2\" Child=\"Child1\"/>"
        "<TzelMasterData Name=\"MasterData1\" Child=\"Child1\"/></TzelReportPage>");
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    report.EngineOptions().NewSilentMode = simSilent;
    report.LoadFromStream(&in);
    EXPECT_EQ(report.Errors().Items(), QStringList{QStringLiteral("Circular child reference is not allowed")});
    auto *child1 = dynamic_cast<TzelBand *>(report.FindObject(QStringLiteral("Child1")));
    auto *child2 = dynamic_cast<TzelBand *>(report.FindObject(QStringLiteral("Child2")));
    auto *master = dynamic_cast<TzelBand *>(report.FindObject(QStringLiteral("MasterData1")));
    ASSERT_TRUE(child1 && child2 && master);
    EXPECT_EQ(child1->Child(), child2);
    EXPECT_EQ(child2->Child(), nullptr);
    EXPECT_EQ(master->Child(), child1);
}

TEST_F(BandRules, CurColumnPlacesTheBandInItsColumn)
{
    TzelMasterData band;
    band.Columns = 3;
    band.ColumnWidth = 200;
    band.ColumnGap = 10;
    const struct
    {
        int set, column;
        double left;
    } cases[] = {{3, 3, 420}, {2, 2, 210}, {4, 1, 0}, {0, 1, 0}, {1, 1, 0}};
    for (const auto &c : cases) {
        band.MaxY = 99;
        band.SetCurColumn(c.set);
        EXPECT_EQ(band.CurColumn(), c.column) << c.set;
        EXPECT_DOUBLE_EQ(band.Left(), c.left) << c.set;
        // Column 1 starts the columns afresh.
        EXPECT_EQ(band.MaxY, c.column == 1 ? 0 : 99) << c.set;
    }
}

TEST_F(BandRules, RowCountIsTheRecordCountOfThePrivateDataSet)
{
    TzelReport report;
    auto *band = new TzelDataBand4(&report);
    band->SetRowCount(3);
    TzelUserDataSet &rows = band->VirtualDataSet();
    int visited = 0;
    for (rows.First(); !rows.Eof(); rows.Next())
        ++visited;
    EXPECT_EQ(visited, 3);
    // The private data set is nobody else's to offer.
    EXPECT_FALSE(report.GetActiveDataSetList().contains(&rows));
}

TEST_F(BandRules, ADataBandForgetsAFreedDataSetButKeepsItsName)
{
    TzelReport report;
    auto *band = new TzelMasterData(&report);
    auto *ds = new TzelUserDataSet(&report);
    ds->SetName(QStringLiteral("Customers"));
    band->SetDataSet(ds);
    EXPECT_EQ(band->DataSetName(), QStringLiteral("Customers"));
    delete ds;
    EXPECT_EQ(band->DataSet(), nullptr);
    EXPECT_EQ(band->DataSetName(), QStringLiteral("Customers"));
}

TEST_F(BandRules, BandsOnACharacterGridSnapToWholeCells)
{
    TzelGridPage page;
    auto *band = new TzelMasterData(&page);
    band->SetLeft(14);
    band->SetTop(25);
    band->SetHeight(26);
    band->SetWidth(100);
    EXPECT_DOUBLE_EQ(band->Left(), 9.6);
    EXPECT_DOUBLE_EQ(band->Top(), 17);
    EXPECT_DOUBLE_EQ(band->Height(), 34);
    EXPECT_DOUBLE_EQ(band->Width(), 100);

    TzelReportPage plain;
    auto *free = new TzelMasterData(&plain);
    free->SetLeft(14);
    EXPECT_DOUBLE_EQ(free->Left(), 14);
}

TEST_F(BandRules, HitTestingTakesInTheCaptionStripAndThinBands)
{
    TzelReportPage page;
    auto *band = new TzelMasterData(&page);
    band->SetBounds(10, 100, 200, 50);
    band->BandDesignHeader = 20;
    auto *vertical = new TzelMasterData(&page);
    vertical->Vertical = true;
    vertical->SetBounds(300, 100, 40, 200);
    vertical->BandDesignHeader = 20;
    auto *flat = new TzelMasterData(&page);
    flat->SetBounds(10, 400, 200, 0);
    auto *narrow = new TzelMasterData(&page);
    narrow->SetBounds(500, 100, 0, 50);
    const struct
    {
        const TzelBand *band;
        double x, y;
        bool inside;
    } cases[] = {
        {band, 10, 80, true},    {band, 10, 79, false},  {band, 212, 151, true},
        {band, 213, 120, false}, {band, 100, 152, false}, {band, 9, 120, false},
        {vertical, 280, 150, true}, {vertical, 279, 150, false}, {vertical, 300, 99, false},
        {vertical, 342, 301, true},
        {flat, 100, 405, true},  {flat, 100, 406, false}, {flat, 100, 399, false},
        {narrow, 496, 120, true}, {narrow, 504, 120, true}, {narrow, 505, 120, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.band->IsContain(c.x, c.y), c.inside) << c.band->Top() << " at " << c.x << ", " << c.y;
}

TEST_F(BandRules, AVerticalBandLetsTheObjectsOfHorizontalBandsBelowAnswer)
{
    TzelReportPage page;
    auto *row = new TzelMasterData(&page);
    row->SetBounds(0, 100, 700, 50);
    auto *memo = new TzelMemoView(row);
    memo->SetBounds(100, 10, 50, 20);
    auto *vertical = new TzelMasterData(&page);
    vertical->Vertical = true;
    vertical->SetBounds(80, 0, 100, 400);

    EXPECT_EQ(vertical->GetContainedComponent(120, 115), memo);
    EXPECT_EQ(vertical->GetContainedComponent(170, 140), vertical);
    EXPECT_EQ(vertical->GetContainedComponent(170, 300), vertical);
    EXPECT_DOUBLE_EQ(vertical->Left(), 80);
}

TEST_F(BandRules, BandsAlwaysCarryTheirTopInDifferencesAndMirrorAsBands)
{
    TzelReportPage page;
    page.SetWidth(500);
    auto *a = new TzelReportTitle(&page);
    a->SetBounds(10, 30, 100, 20);
    new TzelMemoView(a);
    TzelReportTitle b;
    b.SetBounds(10, 30, 100, 20);
    EXPECT_EQ(a->Diff(&b), QStringLiteral(" t=\"30\""));

    // A band with children is still mirrored with the band modes.
    a->DoMirror({mcmRTLBands});
    EXPECT_DOUBLE_EQ(a->Left(), 390);
}

TEST_F(BandRules, TheFillMemoCarriesTheBandsFillAndFrameInsideTheGaps)
{
    TzelReportPage page;
    auto *band = new TzelMasterData(&page);
    band->SetBounds(0, 0, 400, 60);
    auto *existing = new TzelMemoView(band);
    band->CreateFillMemo();
    EXPECT_EQ(band->FillMemo(), nullptr);

    band->SetFillType(ftGradient);
    dynamic_cast<TzelGradientFill &>(band->Fill()).StartColor = 255;
    band->Frame().Typ = {ftTop, ftBottom};
    band->FillGap.Left = 2;
    band->FillGap.Top = 3;
    band->FillGap.Bottom = 10;
    band->FillGap.Right = 6;
    band->CreateFillMemo();
    TzelMemoView *memo = band->FillMemo();
    ASSERT_NE(memo, nullptr);
    ASSERT_EQ(band->Objects(), (QList<TzelComponent *>{memo, existing}));
    EXPECT_EQ(memo->Align, baHidden);
    EXPECT_TRUE(memo->Fill().Equals(band->Fill()));
    EXPECT_TRUE(memo->Frame() == band->Frame());
    EXPECT_EQ(QRectF(memo->Left(), memo->Top(), memo->Width(), memo->Height()), QRectF(2, 3, 390, 54));

    band->DisposeFillMemo();
    EXPECT_EQ(band->FillMemo(), nullptr);
    EXPECT_EQ(band->Objects(), QList<TzelComponent *>{existing});

    // A brush that differs only in its style paints too; a null band never gets a memo.
    TzelBrushFill hatched;
    hatched.Style = bsCross;
    auto *other = new TzelMasterData(&page);
    other->SetFill(hatched);
    EXPECT_TRUE(other->HasFillOrFrame());
    auto *null = new TzelNullBand(&page);
    null->SetFill(hatched);
    null->CreateFillMemo();
    EXPECT_EQ(null->FillMemo(), nullptr);
}
