#include "band_testsupport.h"

#include "base/core/zelexception.h"
#include "model/band/zelchild.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelnullband.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreporttitle.h"
#include "model/component/zelunits.h"
#include "model/page/zeldefaultpaper.h"
#include "model/page/zelpapers.h"
#include "model/page/zelreportpage.h"

#include <set>

// Paper, margins and columns of report pages, and how a page lays its bands out.

namespace {

using PagePaper = BandTest;

struct Margins
{
    double l, r, t, b;
    bool operator==(const Margins &) const = default;
};

Margins marginsOf(const TzelReportPage &page)
{
    return {page.LeftMargin, page.RightMargin, page.TopMargin, page.BottomMargin};
}

void PrintTo(const Margins &m, std::ostream *os)
{
    *os << m.l << ' ' << m.r << ' ' << m.t << ' ' << m.b;
}

} // namespace

TEST_F(PagePaper, ThePaperTableListsSixtySixPapersByCode)
{
    const auto papers = zelPapers();
    ASSERT_EQ(papers.size(), 66u);
    std::set<int> codes;
    for (const TzelPaperInfo &p : papers) {
        codes.insert(p.Code);
        EXPECT_TRUE(p.Name.isEmpty());
        EXPECT_EQ(zelFindPaper(p.Code), &p);
    }
    EXPECT_EQ(codes.size(), 66u);
    EXPECT_EQ(*codes.begin(), 1);
    EXPECT_EQ(*codes.rbegin(), 68);
    for (int absent : {0, 48, 49, 69, 256, -1})
        EXPECT_EQ(zelFindPaper(absent), nullptr) << absent;

    const struct
    {
        int code, width, height;
    } samples[] = {{1, 2159, 2794}, {8, 2970, 4200}, {9, 2100, 2970}, {26, 8636, 11176},
                   {35, 1760, 1250}, {47, 2200, 2200}, {50, 2355, 3048}, {68, 3220, 4450}};
    for (const auto &s : samples) {
        ASSERT_NE(zelFindPaper(s.code), nullptr) << s.code;
        EXPECT_EQ(zelFindPaper(s.code)->Width, s.width) << s.code;
        EXPECT_EQ(zelFindPaper(s.code)->Height, s.height) << s.code;
    }
}

TEST_F(PagePaper, ANewPageIsA4PortraitInReportUnits)
{
    TzelReportPage page;
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.PaperHeight(), 297);
    EXPECT_EQ(page.PaperSize(), 9);
    EXPECT_EQ(page.Orientation(), poPortrait);
    EXPECT_EQ(page.Width(), 794);
    EXPECT_EQ(page.Height(), 1123);
    EXPECT_EQ(marginsOf(page), (Margins{0, 0, 0, 0}));
}

TEST_F(PagePaper, OrientationSwapsThePaperAndTurnsTheMargins)
{
    TzelReportPage page;
    page.LeftMargin = 1;
    page.RightMargin = 2;
    page.TopMargin = 3;
    page.BottomMargin = 4;
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.PaperWidth(), 297);
    EXPECT_EQ(page.PaperHeight(), 210);
    EXPECT_EQ(page.Width(), 1123);
    EXPECT_EQ(page.Height(), 794);
    EXPECT_EQ(marginsOf(page), (Margins{3, 4, 2, 1}));
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.PaperWidth(), 297);
    page.SetOrientation(poPortrait);
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(marginsOf(page), (Margins{1, 2, 3, 4}));
}

TEST_F(PagePaper, PaperCodesAndSizesFollowEachOther)
{
    const struct
    {
        const char *what;
        TzelPrinterOrientation orientation;
        std::function<void(TzelReportPage &)> change;
        int size;
        double width, height;
        double unitsWide, unitsHigh;
    } cases[] = {
        {"custom width", poPortrait, [](TzelReportPage &p) { p.SetPaperWidth(100); }, 256, 100, 297, 378, 1123},
        {"custom height", poPortrait, [](TzelReportPage &p) { p.SetPaperHeight(99.999999994); }, 256, 210, 99.99999999,
         794, 378},
        {"A5", poPortrait, [](TzelReportPage &p) { p.SetPaperSize(11); }, 11, 148, 210, 559, 794},
        {"A5 landscape", poLandscape, [](TzelReportPage &p) { p.SetPaperSize(11); }, 11, 210, 148, 794, 559},
        {"code not in the table", poPortrait, [](TzelReportPage &p) { p.SetPaperSize(48); }, 48, 210, 297, 794, 1123},
        {"negative code", poPortrait, [](TzelReportPage &p) { p.SetPaperSize(-5); }, -5, 210, 297, 794, 1123},
        {"custom code", poPortrait, [](TzelReportPage &p) { p.SetPaperSize(300); }, 300, 210, 297, 794, 1123},
        {"size and dimensions", poPortrait, [](TzelReportPage &p) { p.SetSizeAndDimensions(1, 50, 60); }, 1, 50, 60,
         189, 227},
    };
    for (const auto &c : cases) {
        TzelReportPage page;
        page.SetOrientation(c.orientation);
        c.change(page);
        EXPECT_EQ(page.PaperSize(), c.size) << c.what;
        EXPECT_DOUBLE_EQ(page.PaperWidth(), c.width) << c.what;
        EXPECT_DOUBLE_EQ(page.PaperHeight(), c.height) << c.what;
        EXPECT_EQ(page.Width(), c.unitsWide) << c.what;
        EXPECT_EQ(page.Height(), c.unitsHigh) << c.what;
    }
}

TEST_F(PagePaper, ColumnsShareThePrintableWidth)
{
    TzelReportPage page;
    page.LeftMargin = 10;
    page.RightMargin = 10;
    page.SetColumns(2);
    EXPECT_EQ(page.ColumnWidth, 95);
    EXPECT_EQ(page.ColumnPositions, (QStringList{QStringLiteral("0"), QStringLiteral("95")}));
    page.SetColumns(3);
    EXPECT_EQ(page.ColumnPositions,
              (QStringList{QStringLiteral("0"), QStringLiteral("63.3333333333333"),
                           QStringLiteral("126.666666666667")}));
    page.SetColumns(0);
    EXPECT_EQ(page.ColumnPositions, QStringList());
    EXPECT_EQ(page.Columns(), 0);

    // A count no sheet could hold is refused before anything is laid out.
    page.SetColumns(2);
    EXPECT_THROW(page.SetColumns(2147483647), TzelException);
    EXPECT_EQ(page.Columns(), 2);
    EXPECT_EQ(page.ColumnPositions.size(), 2);
}

TEST_F(PagePaper, PageCountTakesOnlyPositiveValues)
{
    TzelReportPage page;
    for (int v : {0, -3})
        page.SetPageCount(v);
    EXPECT_EQ(page.PageCount(), 1);
    page.SetPageCount(4);
    EXPECT_EQ(page.PageCount(), 4);
}

TEST_F(PagePaper, DefaultsComeFromThePrinter)
{
    TzelReportPage page;
    page.SetDefaults();
    EXPECT_EQ(marginsOf(page), (Margins{10, 10, 10, 10}));
    EXPECT_EQ(page.PaperSize(), 9);

    zelSetDefaultPaperProvider([] { return TzelDefaultPaper{1, 279.4, 215.9, poLandscape}; });
    page.SetDefaults();
    zelSetDefaultPaperProvider(nullptr);
    EXPECT_EQ(page.PaperSize(), 1);
    EXPECT_EQ(page.Orientation(), poLandscape);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 279.4);
    EXPECT_DOUBLE_EQ(page.PaperHeight(), 215.9);
    EXPECT_EQ(page.Width(), 1056);
    EXPECT_EQ(marginsOf(page), (Margins{10, 10, 10, 10}));
}

TEST_F(PagePaper, AligningStretchesEveryBandOverThePrintableArea)
{
    TzelReportPage page;
    page.LeftMargin = 10;
    page.RightMargin = 10;
    page.TopMargin = 20;
    page.BottomMargin = 17;
    page.SetColumns(2);
    auto *title = new TzelReportTitle(&page);
    title->SetBounds(5, 0, 10, 20);
    auto *master = new TzelMasterData(&page);
    master->SetBounds(0, 40, 10, 20);
    auto *child = new TzelChild(&page);
    child->SetBounds(0, 70, 10, 20);
    auto *overlay = new TzelOverlay(&page);
    overlay->SetBounds(0, 100, 10, 20);
    auto *null = new TzelNullBand(&page);
    null->SetBounds(0, 130, 10, 20);
    auto *vertical = new TzelMasterData(&page);
    vertical->Vertical = true;
    vertical->SetBounds(300, 50, 30, 10);

    page.AlignChildren();
    const double printableWidth = 190 * qz01cm;
    EXPECT_DOUBLE_EQ(title->Width(), printableWidth - 5);
    EXPECT_DOUBLE_EQ(master->Width(), 95 * qz01cm);
    EXPECT_DOUBLE_EQ(child->Width(), 95 * qz01cm);
    EXPECT_DOUBLE_EQ(overlay->Width(), printableWidth);
    EXPECT_DOUBLE_EQ(null->Width(), printableWidth);
    EXPECT_DOUBLE_EQ(vertical->Height(), 260 * qz01cm - 50);
    EXPECT_DOUBLE_EQ(vertical->Width(), 30);
    EXPECT_EQ(page.Width(), 794);
    EXPECT_EQ(page.Height(), 1123);

    // Right to left, bands are mirrored inside the printable width.
    page.SetColumns(1);
    page.AlignChildren(false, {mcmRTLBands});
    EXPECT_DOUBLE_EQ(master->Width(), printableWidth);
    EXPECT_DOUBLE_EQ(title->Left(), 0);
}
