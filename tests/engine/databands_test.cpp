#include "datatemplate.h"

#include "model/band/zelchild.h"
#include "model/band/zeldetaildata.h"
#include "model/band/zelfooter.h"
#include "model/band/zelgroupfooter.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelheader.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelreporttitle.h"
#include "model/report/zelcustomoutline.h"
#include "model/view/zelsubreport.h"
#include "model/data/zelcsvdataset.h"
#include "support/testsupport.h"

#include <QTemporaryDir>

// Data bands: how bands link to their data, the row loop with headers,
// footers, filters and row counts, master and detail, groups, totals,
// columns, filler rows and folded groups.

namespace {

const QStringList kOrderFields{QStringLiteral("region"), QStringLiteral("customer"), QStringLiteral("amount")};

QList<Row> Orders()
{
    return {{Variant(QStringLiteral("N")), Variant(QStringLiteral("A")), Variant(10)},
            {Variant(QStringLiteral("N")), Variant(QStringLiteral("A")), Variant(5)},
            {Variant(QStringLiteral("N")), Variant(QStringLiteral("B")), Variant(7)},
            {Variant(QStringLiteral("S")), Variant(QStringLiteral("B")), Variant(1)},
            {Variant(QStringLiteral("S")), Variant(QStringLiteral("B")), Variant(2)}};
}

} // namespace

TEST(DataBands, BandsThatStandWrongAreReported)
{
    struct Case
    {
        const char *Layout; // one letter per band, top to bottom
        const char *Errors;
    };
    // H header, F footer, M master, D detail, G group header, E group footer.
    const Case cases[] = {
        {"GF", "No data band for the group G1\nUnconnected header/footer F2"},
        {"EM", "No group header for E1"},
        {"HDM", "Incorrect band position: D2"},
        {"GMEE", "No group header for E4"},
        {"HMFGME", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Layout);
        DataTemplate t;
        TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, {{Variant(1)}});
        double top = 0;
        int n = 0;
        for (const char kind : std::string_view(c.Layout)) {
            const QByteArray name = QByteArray(1, kind) + QByteArray::number(++n);
            TzelBand *band = nullptr;
            switch (kind) {
            case 'H': band = t.Line<TzelHeader>(name, top, {}); break;
            case 'F': band = t.Line<TzelFooter>(name, top, {}); break;
            case 'M': band = t.Line<TzelMasterData>(name, top, {}); break;
            case 'D': band = t.Line<TzelDetailData>(name, top, {}); break;
            case 'G': band = t.Line<TzelGroupHeader>(name, top, {}); break;
            case 'E': band = t.Line<TzelGroupFooter>(name, top, {}); break;
            }
            if (auto *data = zelAs<TzelDataBand>(band))
                data->SetDataSet(ds);
            top += 20;
        }
        EXPECT_EQ(t.Report.PrepareReport(), std::string(c.Errors).empty());
        EXPECT_EQ(t.Report.Errors().Text().trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toStdString(),
                  c.Errors);
    }
}

TEST(DataBands, MasterAndDetailWithHeadersFootersAndTotals)
{
    for (const bool printIfDetailEmpty : {false, true}) {
        SCOPED_TRACE(printIfDetailEmpty);
        DataTemplate t;
        TzelUserDataSet *customers = t.Table("customers", {QStringLiteral("name")},
                                             {{Variant(QStringLiteral("A"))}, {Variant(QStringLiteral("C"))},
                                              {Variant(QStringLiteral("B"))}});
        TzelUserDataSet *orders = t.Table("orders", kOrderFields, Orders(), [&t](const Row &r) {
            return Variant::Equal(r[1], t.Report.Calc(QStringLiteral("customers.\"name\"")));
        });
        t.Line<TzelHeader>("Header", 0, QStringLiteral("Customers"));
        auto *master = t.Line<TzelMasterData>("Master", 20, QStringLiteral("[Line]. [customers.\"name\"]"));
        master->SetDataSet(customers);
        master->PrintIfDetailEmpty = printIfDetailEmpty;
        t.Line<TzelDetailData>("Detail", 40, QStringLiteral("[<orders.\"amount\">]"))->SetDataSet(orders);
        t.Line<TzelFooter>("DetailFooter", 60, QStringLiteral("[SUM(<orders.\"amount\">)] in [COUNT()]"));
        t.Line<TzelFooter>("Footer", 80,
                           QStringLiteral("[SUM(<orders.\"amount\">, Detail)] of [COUNT()] customers"));
        const std::string emptyCustomer = printIfDetailEmpty ? "Master: 2. C\n" : "";
        EXPECT_EQ(t.BuildRows(), "Header: Customers\n"
                                 "Master: 1. A\nDetail: 10\nDetail: 5\nDetailFooter: 15 in 2\n" +
                                     emptyCustomer +
                                     (printIfDetailEmpty ? "Master: 3. B\n" : "Master: 2. B\n") +
                                     "Detail: 7\nDetail: 1\nDetail: 2\nDetailFooter: 10 in 3\n"
                                     "Footer: 25 of " +
                                     (printIfDetailEmpty ? "3" : "2") + " customers");
    }
}

TEST(DataBands, GroupsBreakOnTheirConditionsAndRestartTheirTotals)
{
    for (const bool hideSingle : {false, true}) {
        SCOPED_TRACE(hideSingle);
        DataTemplate t;
        TzelUserDataSet *orders = t.Table("orders", kOrderFields, Orders());
        auto *region = t.Line<TzelGroupHeader>("Region", 0, QStringLiteral("[<orders.\"region\">]"));
        region->Condition = QStringLiteral("<orders.\"region\">");
        auto *customer = t.Line<TzelGroupHeader>("Customer", 10, QStringLiteral("[Line]. [<orders.\"customer\">]"));
        customer->Condition = QStringLiteral("orders.\"customer\"");
        t.Line<TzelMasterData>("Row", 20, QStringLiteral("[<orders.\"amount\">]"))->SetDataSet(orders);
        auto *customerEnd = t.Line<TzelGroupFooter>(
            "CustomerEnd", 30, QStringLiteral("[SUM(<orders.\"amount\">)] [SUM(<orders.\"amount\">, Row, 2)]"));
        customerEnd->HideIfSingleDataRecord = hideSingle;
        t.Line<TzelGroupFooter>("RegionEnd", 40, QStringLiteral("[SUM(<orders.\"amount\">)]"));
        t.Line<TzelFooter>("Total", 50, QStringLiteral("[SUM(<orders.\"amount\">)] [COUNT()]"));
        const std::string single = hideSingle ? "" : "CustomerEnd: 7 22\n";
        EXPECT_EQ(t.BuildRows(), "Region: N\nCustomer: 1. A\nRow: 10\nRow: 5\nCustomerEnd: 15 15\n"
                                 "Customer: 2. B\nRow: 7\n" + single +
                                     "RegionEnd: 22\n"
                                     "Region: S\nCustomer: 1. B\nRow: 1\nRow: 2\nCustomerEnd: 3 25\nRegionEnd: 3\n"
                                     "Total: 25 5");
    }
}

TEST(DataBands, RowCountsFiltersAndFootersAfterEachRow)
{
    struct Case
    {
        const char *Name;
        int RowCount;
        bool WithData;
        const char *Filter;
        bool FooterAfterEach;
        const char *Expected; // rows show [Line]:[n], or [Line]:[Line# * 10] without data
    };
    const Case cases[] = {
        {"rows without data", 3, false, "", false, "Row: 1:10\nRow: 2:20\nRow: 3:30\nEnd: 3"},
        {"filter", 0, true, "<t.\"n\"> mod 2 = 1", false, "Row: 1:1\nRow: 2:3\nRow: 3:5\nEnd: 3"},
        {"row count limits printed rows", 2, true, "<t.\"n\"> > 1", false, "Row: 1:2\nRow: 2:3\nEnd: 2"},
        {"footer after each", 0, true, "<t.\"n\"> < 3", true, "Row: 1:1\nEnd: 1\nRow: 2:2\nEnd: 1"},
        {"no rows", 0, true, "<t.\"n\"> > 9", false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        DataTemplate t;
        TzelUserDataSet *ds = t.Table("t", {QStringLiteral("n")},
                                      {{Variant(1)}, {Variant(2)}, {Variant(3)}, {Variant(4)}, {Variant(5)}});
        auto *row = t.Line<TzelMasterData>("Row", 0,
                                           c.WithData ? QStringLiteral("[Line]:[<t.\"n\">]") : QStringLiteral("[Line]:[Line# * 10]"));
        if (c.WithData)
            row->SetDataSet(ds);
        row->SetRowCount(c.RowCount);
        row->Filter = QString::fromLatin1(c.Filter);
        row->FooterAfterEach = c.FooterAfterEach;
        t.Line<TzelFooter>("End", 10, QStringLiteral("[COUNT()]"));
        EXPECT_EQ(t.BuildRows(), c.Expected);
        EXPECT_EQ(row->DataSetName().isEmpty(), !c.WithData) << "the template keeps its data set";
    }
}

TEST(DataBands, AggregatesCountByTheirRules)
{
    struct Case
    {
        const char *Name;
        bool RowVisible;
        const char *Expected;
    };
    // AVG skips null values; a condition counts where it holds; hidden rows
    // count only with flag 1.
    const Case cases[] = {
        {"visible rows", true, "6 1 3 3 4 8 12"},
        {"hidden rows", false, "0 0 0 3 0 0 0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        DataTemplate t;
        t.Report.EngineOptions().ConvertNulls = false;
        TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, {{Variant(4)}, {Variant::Null()}, {Variant(8)}});
        auto *row = t.Line<TzelMasterData>("Row", 0, QStringLiteral("[Line]"));
        row->SetDataSet(ds);
        row->SetVisible(c.RowVisible);
        t.Line<TzelFooter>("End", 10,
                           QStringLiteral("[AVG(<t.\"v\">)] [SUM(<t.\"v\"> > 5)] [COUNT()] [COUNT(Row, 1)] "
                                          "[MIN(<t.\"v\">)] [MAX(<t.\"v\">)] [SUM(<t.\"v\">, Row)]"));
        ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().Text().toStdString();
        const std::string rows = t.Rows();
        EXPECT_EQ(rows.substr(rows.rfind("End: ") + 5), c.Expected);
    }
}

TEST(DataBands, AnAggregateOfAnUnknownBandStopsTheBuild)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, {{Variant(1)}});
    t.Line<TzelMasterData>("Row", 0, QStringLiteral("[<t.\"v\">]"))->SetDataSet(ds);
    t.Line<TzelFooter>("End", 10, QStringLiteral("[SUM(<t.\"v\">, Nowhere)]"));
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors().Text().trimmed().toStdString(),
              "EndText: SUM(<t.\"v\">, Nowhere) counts the rows of \"Nowhere\", which is not a data band of the report");
}

TEST(DataBands, MultiColumnRowsGoSideBySideInStrips)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("n")},
                                  {{Variant(1)}, {Variant(2)}, {Variant(3)}, {Variant(4)}, {Variant(5)}});
    auto *row = t.Line<TzelMasterData>("Row", 0, QStringLiteral("[Line]"));
    row->SetDataSet(ds);
    row->Columns = 3;
    row->ColumnWidth = 30;
    row->ColumnGap = 10;
    t.Line<TzelFooter>("End", 10, QStringLiteral("[COUNT()]"));
    EXPECT_EQ(t.Build().toStdString(), "Row@0 Row@0+40 Row@0+80 Row@10 Row@10+40 End@20");
    EXPECT_EQ(row->Left(), 0) << "the band returns to its designed place";

    // Two across, 150 high: the third strip crosses the page's bottom and
    // moves whole to the next page.
    row->Columns = 2;
    row->SetHeight(150);
    EXPECT_EQ(t.Build().toStdString(), "Row@0 Row@0+40 Row@150 Row@150+40\nRow@0 End@150");

    // A kept header goes with the first strip instead of staying behind alone.
    DataTemplate k;
    auto *rows = k.Line<TzelMasterData>("Row", 300, QStringLiteral("[Line]"), 150);
    rows->SetDataSet(k.Table("t", {QStringLiteral("n")}, {{Variant(1)}, {Variant(2)}, {Variant(3)}}));
    rows->Columns = 2;
    rows->ColumnWidth = 30;
    rows->ColumnGap = 10;
    rows->KeepHeader = true;
    k.Line<TzelReportTitle>("Title", 0, QStringLiteral("Title"), 250);
    k.Line<TzelHeader>("Head", 280, QStringLiteral("Head"), 20)->ReprintOnNewPage = true;
    EXPECT_EQ(k.Build().toStdString(), "Title@0\nHead@0 Row@20 Row@20+40 Row@170");
}

TEST(DataBands, AChildFillsUpToItsRowCountBeforeTheFooter)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("n")}, {{Variant(1)}, {Variant(2)}, {Variant(3)}, {Variant(4)}});
    auto *row = t.Line<TzelMasterData>("Row", 0, QStringLiteral("[Line]"));
    row->SetDataSet(ds);
    auto *filler = t.Line<TzelChild>("Filler", 30, QStringLiteral("[Line]"));
    filler->ToNRows = 6;
    row->SetChild(filler);
    t.Line<TzelFooter>("End", 10, QStringLiteral("[COUNT()]"));
    EXPECT_EQ(t.BuildRows(), "Row: 1\nRow: 2\nRow: 3\nRow: 4\nFiller: 5\nFiller: 6\nEnd: 4");
}

TEST(DataBands, PageTotalsFollowRowsThatAKeptFooterMoves)
{
    // Eleven rows fit on the first page, but not with the footer: a kept
    // footer takes the last row along, and the page totals follow it.
    for (const bool keepFooter : {false, true}) {
        SCOPED_TRACE(keepFooter);
        DataTemplate t;
        QList<Row> rows;
        for (int i = 0; i < 11; ++i)
            rows.append({Variant(1)});
        TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, rows);
        auto *row = t.Line<TzelMasterData>("Row", 0, {}, 30);
        row->SetDataSet(ds);
        row->KeepFooter = keepFooter;
        t.Line<TzelFooter>("End", 30, QStringLiteral("[COUNT()]"), 40);
        auto *pageFooter = t.Line<TzelPageFooter>("PageEnd", 80, QStringLiteral("[SUM(<t.\"v\">)]"), 20);
        pageFooter->SetTop(kPage - 20);
        ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().Text().toStdString();
        const std::string expected = keepFooter ? "PageEnd: 10\n--\nRow: \nEnd: 11\nPageEnd: 1"
                                                : "PageEnd: 11\n--\nEnd: 11\nPageEnd: 0";
        const std::string built = t.Rows();
        EXPECT_EQ(built.substr(built.find("PageEnd")), expected);
    }
}

TEST(DataBands, AFoldedGroupShowsItsHeaderOnly)
{
    DataTemplate t;
    TzelUserDataSet *orders = t.Table("orders", kOrderFields, Orders());
    auto *customer = t.Line<TzelGroupHeader>("Customer", 0, QStringLiteral("[<orders.\"customer\">]"));
    customer->Condition = QStringLiteral("<orders.\"customer\">");
    customer->DrillDown = true;
    customer->ShowFooterIfDrillDown = true;
    auto *row = t.Line<TzelMasterData>("Row", 10, QStringLiteral("[<orders.\"amount\">]"));
    row->SetDataSet(orders);
    t.Line<TzelGroupFooter>("CustomerEnd", 20, QStringLiteral("[SUM(<orders.\"amount\">, Row, 1)]"));
    t.Report.DrillState = QStringList{QStringLiteral("Customer.2")};
    EXPECT_EQ(t.BuildRows(), "Customer: A\nCustomerEnd: 15\nCustomer: B\nRow: 7\nRow: 1\nRow: 2\nCustomerEnd: 10");
    EXPECT_EQ(customer->DrillName.toStdString(), "Customer.2");
    EXPECT_TRUE(row->Visible()) << "folding leaves the template as designed";
}

TEST(DataBands, ADataSetThatFailsStopsTheBuildNamingItself)
{
    // The second row of the file misses a value.
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("rows.csv"));
    zelWriteFile(csv, "n,v\n1,a\n2\n");
    DataTemplate t;
    auto *ds = new TzelCSVDataSet(t.Report.FindObject(QStringLiteral("Data")));
    ds->SetName(QStringLiteral("Rows"));
    ds->FileName = csv;
    t.Report.DataSets().Add(ds);
    t.Line<TzelMasterData>("Row", 0, QStringLiteral("[Rows.\"n\"]"))->SetDataSet(ds);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors().Text().trimmed().toStdString(),
              "Row: Data set \"Rows\", row 1: Line 3 of \"" + csv.toStdString() +
                  "\" has 1 fields where 2 are expected");
}

TEST(DataBands, AValueThatDoesNotFitItsFormatIsPrintedAndReported)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, {{Variant(QStringLiteral("abc"))}, {Variant(2)}});
    t.Line<TzelMasterData>("Row", 0, QStringLiteral("[<t.\"v\"> #n%2.2f]"))->SetDataSet(ds);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Rows(), "Row: abc\nRow: 2.00") << "every row printed";
    EXPECT_EQ(t.Report.Errors().Text().trimmed().toStdString(),
              "RowText: a value does not fit the display format \"%2.2f\" and prints as it is");
}

TEST(DataBands, SubreportsPrintSideBySideAndTheReportGoesOnBelowTheLonger)
{
    struct Case
    {
        double HeadHeight;
        int LeftRows;
        bool Keep;
        const char *Expected;
    };
    const Case cases[] = {
        {20, 3, false, "Head@0 Holder@20 LeftRow@25 LeftRow@35 LeftRow@45 RightRow@25+150 End@55"},
        // A keep block that moves the band while the first subreport prints
        // takes the second one's start along.
        {330, 5, true,
         "Head@0\nHolder@0 LeftRow@5 LeftRow@15 LeftRow@25 LeftRow@35 LeftRow@45 RightRow@5+150 End@55"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.HeadHeight);
        DataTemplate t;
        QList<Row> leftRows;
        for (int i = 1; i <= c.LeftRows; ++i)
            leftRows.append({Variant(i)});
        TzelUserDataSet *left = t.Table("l", {QStringLiteral("v")}, leftRows);
        TzelUserDataSet *right = t.Table("r", {QStringLiteral("v")}, {{Variant(9)}});
        t.Line<TzelHeader>("Head", 0, QStringLiteral("head"), c.HeadHeight);
        auto *holder = t.Line<TzelMasterData>("Holder", 400, {}, 20);
        holder->SetRowCount(1);
        holder->KeepTogether = c.Keep;
        t.Line<TzelFooter>("End", 500, QStringLiteral("end"));
        for (auto [name, ds, x] : {std::tuple{"Left", left, 0.0}, std::tuple{"Right", right, 150.0}}) {
            auto *page = new TzelReportPage(&t.Report);
            page->SetName(QString::fromLatin1(name) + QStringLiteral("Page"));
            auto *rows = new TzelMasterData(page);
            rows->SetName(QString::fromLatin1(name) + QStringLiteral("Row"));
            rows->SetBounds(0, 0, 100, 10);
            addMemo(rows, "", 0, 10, QStringLiteral("[<%1.\"v\">]").arg(ds->Name()))
                ->SetName(QString::fromLatin1(name) + QStringLiteral("Text"));
            rows->SetDataSet(ds);
            auto *sub = new TzelSubreport(holder);
            sub->SetName(QString::fromLatin1(name));
            sub->SetBounds(x, 5, 100, 10);
            sub->SetPage(page);
        }
        EXPECT_EQ(t.Build().toStdString(), c.Expected);
    }
}

TEST(DataBands, KeepOptionsMoveRowsTogetherToTheNextPage)
{
    struct Case
    {
        const char *Name;
        bool KeepHeader;
        bool KeepTogether;
        double MasterHeight;
        const char *Expected;
    };
    // The title leaves room for the header, and for a short master row, but
    // not for what belongs with them.
    const Case cases[] = {
        {"plain", false, false, 30, "Title@0 Header@300 Master@320\nDetail@0 Detail@30 Detail@60"},
        {"row with its details", false, true, 30, "Title@0 Header@300\nMaster@0 Detail@30 Detail@60 Detail@90"},
        {"header alone", false, false, 60, "Title@0 Header@300\nMaster@0 Detail@60 Detail@90 Detail@120"},
        {"header with first row", true, false, 60, "Title@0\nHeader@0 Master@20 Detail@80 Detail@110 Detail@140"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        DataTemplate t;
        TzelUserDataSet *masters = t.Table("m", {QStringLiteral("v")}, {{Variant(1)}});
        TzelUserDataSet *details = t.Table("d", {QStringLiteral("v")}, {{Variant(1)}, {Variant(2)}, {Variant(3)}});
        t.Line<TzelReportTitle>("Title", 0, {}, 300);
        t.Line<TzelHeader>("Header", 310, {}, 20);
        auto *master = t.Line<TzelMasterData>("Master", 340, {}, c.MasterHeight);
        master->SetDataSet(masters);
        master->KeepHeader = c.KeepHeader;
        master->KeepTogether = c.KeepTogether;
        t.Line<TzelDetailData>("Detail", 420, {}, 30)->SetDataSet(details);
        EXPECT_EQ(t.Build().toStdString(), c.Expected);
    }
}

TEST(DataBands, ASubreportPrintedOnItsParentGrowsTheParentBand)
{
    DataTemplate t;
    TzelUserDataSet *rows = t.Table("r", {QStringLiteral("v")}, {{Variant(1)}, {Variant(2)}, {Variant(3)}});
    auto *holder = t.Line<TzelMasterData>("Holder", 0, QStringLiteral("own"), 20);
    holder->SetRowCount(1);
    holder->Stretched = true;
    t.Line<TzelFooter>("End", 30, QStringLiteral("end"));
    auto *page = new TzelReportPage(&t.Report);
    page->SetName(QStringLiteral("InnerPage"));
    auto *inner = new TzelMasterData(page);
    inner->SetName(QStringLiteral("InnerRow"));
    inner->SetBounds(0, 0, 100, 10);
    addMemo(inner, "InnerText", 0, 10, QStringLiteral("[<r.\"v\">]"));
    inner->SetDataSet(rows);
    auto *sub = new TzelSubreport(holder);
    sub->SetName(QStringLiteral("Sub"));
    sub->SetBounds(0, 20, 100, 10);
    sub->SetPage(page);
    sub->PrintOnParent = true;
    EXPECT_EQ(t.Build().toStdString(), "Holder@0 End@50");
    EXPECT_EQ(t.Rows(), "Holder: own 1 2 3\nEnd: end");
    EXPECT_EQ(holder->Objects().size(), 2) << "the template keeps its own objects only";
    EXPECT_EQ(holder->Height(), 20);
}

TEST(DataBands, HeadersReprintOnEveryPageAndBandsFillTheOutline)
{
    DataTemplate t;
    QList<Row> rows;
    for (int i = 1; i <= 5; ++i)
        rows.append({Variant(i < 4 ? QStringLiteral("A") : QStringLiteral("B")), Variant(i)});
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("g"), QStringLiteral("v")}, rows);
    auto *group = t.Line<TzelGroupHeader>("Group", 0, {}, 20);
    group->Condition = QStringLiteral("<t.\"g\">");
    group->OutlineText = QStringLiteral("<t.\"g\">");
    group->ReprintOnNewPage = true;
    auto *header = t.Line<TzelHeader>("Header", 0, {}, 20);
    header->SetTop(-10); // above the group
    header->ReprintOnNewPage = true;
    auto *row = t.Line<TzelMasterData>("Row", 30, {}, 100);
    row->SetDataSet(ds);
    row->OutlineText = QStringLiteral("'row ' + IntToStr(<t.\"v\">)");
    // Group B starts at the first page's bottom; its rows go on below the
    // reprinted headers.
    EXPECT_EQ(t.Build().toStdString(), "Header@0 Group@20 Row@40 Row@140 Row@240 Group@340\n"
                                       "Header@0 Group@20 Row@40 Row@140");

    // The outline: each group with its rows, on the pages they start.
    std::function<QStringList(TzelCustomOutline &)> entries = [&](TzelCustomOutline &outline) {
        QStringList list;
        for (int i = 0; i < outline.Count(); ++i) {
            QString text;
            int page = 0, top = 0;
            outline.GetItem(i, text, page, top);
            outline.LevelDown(i);
            const QStringList children = entries(outline);
            outline.LevelUp();
            list << text + QLatin1Char('@') + QString::number(page + 1) +
                        (children.isEmpty() ? QString() : QStringLiteral("(") + children.join(QLatin1Char(' ')) + QLatin1Char(')'));
        }
        return list;
    };
    TzelCustomOutline &outline = t.Report.PreviewPages()->Outline();
    outline.LevelRoot();
    EXPECT_EQ(entries(outline).join(QLatin1Char(' ')).toStdString(),
              "A@1(row 1@1 row 2@1 row 3@1) B@1(row 4@2 row 5@2)");
}
