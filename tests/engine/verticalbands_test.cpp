#include "datatemplate.h"

#include "model/band/zelfooter.h"
#include "model/band/zelheader.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpageheader.h"
#include "support/testsupport.h"

#include <QBuffer>

// Vertical (cross) bands: rows laid out from left to right across the
// horizontal bands whose objects they take over.

namespace {

// Products down the page, months across: each cell is base × factor.
struct CrossTab : DataTemplate
{
    TzelBand *Head = nullptr;
    TzelMasterData *RowBand = nullptr;
    TzelBand *Foot = nullptr;
    TzelMasterData *Months = nullptr;

    explicit CrossTab(int months)
    {
        QList<Row> monthRows;
        for (int m = 1; m <= months; ++m)
            monthRows.append({Variant(QStringLiteral("M%1").arg(m)), Variant(m * 10)});
        TzelUserDataSet *products = Table("p", {QStringLiteral("name"), QStringLiteral("base")},
                                          {{Variant(QStringLiteral("A")), Variant(1)},
                                           {Variant(QStringLiteral("B")), Variant(2)},
                                           {Variant(QStringLiteral("C")), Variant(3)}});
        TzelUserDataSet *monthData = Table("m", {QStringLiteral("name"), QStringLiteral("k")}, monthRows);

        Head = Line<TzelHeader>("Head", 0, QStringLiteral("Product"));
        RowBand = Line<TzelMasterData>("Row", 20, QStringLiteral("[<p.\"name\">]"));
        RowBand->SetDataSet(products);
        Foot = Line<TzelFooter>("Foot", 40, QStringLiteral("Total"));
        for (TzelBand *band : {Head, static_cast<TzelBand *>(RowBand), Foot})
            band->Objects().first()->SetWidth(80);
        Cell(Head, "HeadCell", QStringLiteral("[<m.\"name\">]"));
        Cell(RowBand, "RowCell", QStringLiteral("[<p.\"base\"> * <m.\"k\">]"));
        Cell(Foot, "FootCell", QStringLiteral("[SUM(<p.\"base\"> * <m.\"k\">)]"));

        Months = Band<TzelMasterData>("Months", 60, 50);
        Months->Vertical = true;
        Months->SetLeft(80);
        Months->SetDataSet(monthData);
    }

    // A cell of Band in the column of the vertical band.
    void Cell(TzelBand *band, const char *name, const QString &text)
    {
        TzelMemoView *memo = addMemo(band, name, 0, 10, text);
        memo->SetBounds(85, 0, 40, 10);
    }
};

} // namespace

TEST(VerticalBands, CellsFollowRowsAndColumnsAndFootersReadColumnTotals)
{
    CrossTab t(4);
    const std::string expected = "Head: Product M1 M2 M3 M4\n"
                                 "Row: A 10 20 30 40\n"
                                 "Row: B 20 40 60 80\n"
                                 "Row: C 30 60 90 120\n"
                                 "Foot: Total 60 120 180 240";
    EXPECT_EQ(t.BuildRows(), expected);

    // The cells are stored against the vertical band's objects and read back.
    QBuffer file;
    file.open(QIODevice::ReadWrite);
    t.Report.PreviewPages()->SaveToStream(&file);
    file.seek(0);
    DataTemplate loaded;
    loaded.Report.PreviewPages()->LoadFromStream(&file);
    EXPECT_EQ(loaded.Rows(), expected);

    // The cells stand one column width apart from where they were designed.
    TzelComponent *row = t.Report.PreviewPages()->GetPage(0)->FindObject(QStringLiteral("Row"));
    ASSERT_TRUE(row);
    QList<double> lefts;
    for (const TzelComponent *c : row->Objects())
        lefts.append(c->Left());
    EXPECT_EQ(lefts, (QList<double>{0, 85, 135, 185, 235}));

    // The template is as designed after the build.
    TzelComponent *cell = t.Report.FindObject(QStringLiteral("RowCell"));
    EXPECT_EQ(cell->Parent(), t.RowBand);
    EXPECT_EQ(cell->Left(), 85);
    EXPECT_EQ(t.RowBand->Objects().indexOf(cell), 1);
    EXPECT_TRUE(t.Months->Objects().isEmpty());
}

TEST(VerticalBands, ColumnsBeyondThePageWidthGoOnTheNextPageAfterTheVerticalHeader)
{
    CrossTab t(7);
    // The products' names move into a vertical header that repeats at the
    // left of every horizontal page.
    auto *names = t.Band<TzelHeader>("Names", 60, 80);
    names->Vertical = true;
    names->ReprintOnNewPage = true;
    t.Line<TzelPageHeader>("PH", 100, QStringLiteral("Page [Page#]"));
    t.Head->SetTop(120);
    t.RowBand->SetTop(140);
    t.Foot->SetTop(160);

    EXPECT_EQ(t.BuildRows(), "PH: Page 1\n"
                             "Head: Product M1 M2 M3 M4 M5\n"
                             "Row: A 10 20 30 40 50\n"
                             "Row: B 20 40 60 80 100\n"
                             "Row: C 30 60 90 120 150\n"
                             "Foot: Total 60 120 180 240 300\n"
                             "--\n"
                             "PH: Page 2\n"
                             "Head: Product M6 M7\n"
                             "Row: A 60 70\n"
                             "Row: B 120 140\n"
                             "Row: C 180 210\n"
                             "Foot: Total 360 420");
}
