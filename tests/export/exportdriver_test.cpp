#include "exporttest.h"

#include "engine/export/zelpdfexport.h"
#include "engine/export/zelpngexport.h"
#include "model/report/zelpagenumbers.h"

// The export's walk over the prepared pages: which pages and objects reach
// a filter, with what text, and what a failed export leaves.

namespace {

QString joined(const QList<int> &values)
{
    QStringList parts;
    for (const int v : values)
        parts << QString::number(v);
    return parts.join(QLatin1Char(','));
}

} // namespace

TEST(PageNumbers, ListsAreReadInTheOrderWrittenAndBoundedByThePages)
{
    struct Case
    {
        const char *Text;
        int Count;
        const char *Pages;
    };
    const Case cases[] = {
        {"", 5, ""},
        {"1,3-5", 9, "1,3,4,5"},
        {"1-3-5", 9, "3,4,5"}, // the last start of a chain counts
        {"7-", 9, "7,8,9"},
        {"1,1", 5, "1,1"},
        {"3,1", 5, "3,1"},
        {"p1, 2a;b3", 5, "1,23"}, // letters go, and with them what parted the digits
        {"abc", 5, ""},
        {"1-999999999", 4, "1,2,3,4"},
        {"2-999999999999999999", 3, "2,3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(zelParsePageNumbers(QString::fromLatin1(c.Text), c.Count).join(QLatin1Char(',')).toStdString(),
                  c.Pages);
    }
}

TEST(ExportDriver, PageListsExportEachNamedPageOnceInPageOrder)
{
    ThreePages t;
    ASSERT_TRUE(t.Prepare());
    struct Case
    {
        const char *List;
        const char *Pages; // indexes begun; nullptr: the export fails
    };
    const Case cases[] = {
        {"", "0,1,2"},
        {"3,1", "0,2"},
        {"2,2", "1"},
        {"2-", "1,2"},
        {"1-999999999", "0,1,2"},
        // A list naming none of the pages is an error, not "every page" (the
        // empty list "7-" parses to once meant all three).
        {"5", nullptr},
        {"7-", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.List);
        RecordingFilter filter;
        filter.PageNumbers = QString::fromLatin1(c.List);
        t.Report.Errors().Clear();
        EXPECT_EQ(t.Export(filter), c.Pages != nullptr);
        EXPECT_EQ(joined(filter.Pages).toStdString(), c.Pages ? c.Pages : "");
        EXPECT_EQ(filter.Finished, filter.Pages);
        if (!c.Pages) {
            EXPECT_EQ(t.Report.Errors().Text().trimmed().toStdString(),
                      "The page range \"" + std::string(c.List) + "\" names none of the 3 pages");
        }
    }
}

TEST(ExportDriver, CurPageExportsTheShownPageWhateverTheList)
{
    ThreePages t;
    ASSERT_TRUE(t.Prepare());
    t.Report.PreviewPages()->CurPreviewPage = 2;
    RecordingFilter filter;
    filter.CurPage = true;
    filter.PageNumbers = QStringLiteral("1-2");
    EXPECT_TRUE(t.Export(filter));
    EXPECT_EQ(filter.Pages, QList<int>{2});
}

TEST(ExportDriver, ObjectsArriveInPageOrderWithTheirTextSettledEveryTime)
{
    ThreePages t;
    ASSERT_TRUE(t.Prepare());
    const QStringList middle{QStringLiteral("_pagebackground"), QStringLiteral("Header"),
                             QStringLiteral("HeaderText: Head 2"), QStringLiteral("Rows"),
                             QStringLiteral("RowsText: Row 4"), QStringLiteral("Rows"),
                             QStringLiteral("RowsText: Row 5"), QStringLiteral("Rows"),
                             QStringLiteral("RowsText: Row 6"), QStringLiteral("Footer"),
                             QStringLiteral("FooterText: Page 2 of 3")};
    // Twice: the pages keep their macros for the next export.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        RecordingFilter filter;
        EXPECT_TRUE(t.Export(filter));
        ASSERT_EQ(filter.Objects.size(), 3);
        EXPECT_EQ(filter.Objects[1], middle);
    }
}

TEST(ExportDriver, SuppressedHeadersAndFootersStayOnTheFirstAndLastPagesExported)
{
    ThreePages t;
    ASSERT_TRUE(t.Prepare());
    struct Case
    {
        const char *List;
        QList<QStringList> Bands; // per page begun: the page header and footer exported
    };
    const QStringList header{QStringLiteral("Header")}, footer{QStringLiteral("Footer")};
    const Case cases[] = {
        {"", {header, {}, footer}},
        {"1,2", {header, footer}},
        // Without page 1 the first page exported keeps the header.
        {"2-3", {header, footer}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.List);
        RecordingFilter filter;
        filter.SuppressPageHeadersFooters = true;
        filter.PageNumbers = QString::fromLatin1(c.List);
        EXPECT_TRUE(t.Export(filter));
        QList<QStringList> bands;
        for (const QStringList &objects : std::as_const(filter.Objects)) {
            QStringList found;
            for (const QString &name : {QStringLiteral("Header"), QStringLiteral("Footer")})
                if (objects.contains(name))
                    found << name;
            bands << found;
        }
        EXPECT_EQ(bands, c.Bands);
    }
}

TEST(ExportDriver, OnlyExportableObjectsAndWithDataOnlyOnlyDataBandObjectsReachTheFilter)
{
    ThreePages t;
    TzelMemoView *printOnly = addMemo(t.Rows, "PrintOnly", 50, 10, QStringLiteral("not exported"));
    printOnly->Visibility = {vsPreview, vsPrint};
    TzelMemoView *exportOnly = addMemo(t.Rows, "ExportOnly", 70, 10, QStringLiteral("exported"));
    exportOnly->Visibility = {vsExport};
    ASSERT_TRUE(t.Prepare());

    for (const bool dataOnly : {false, true}) {
        SCOPED_TRACE(dataOnly);
        RecordingFilter filter;
        filter.DataOnly = dataOnly;
        filter.PageNumbers = QStringLiteral("3");
        EXPECT_TRUE(t.Export(filter));
        ASSERT_EQ(filter.Objects.size(), 1);
        const QStringList data{QStringLiteral("RowsText: Row 7"), QStringLiteral("ExportOnly: exported")};
        if (dataOnly)
            EXPECT_EQ(filter.Objects[0], data);
        else
            EXPECT_EQ(filter.Objects[0], (QStringList{QStringLiteral("_pagebackground"), QStringLiteral("Header"),
                                                      QStringLiteral("HeaderText: Head 3"), QStringLiteral("Rows")} +
                                          data +
                                          QStringList{QStringLiteral("Footer"), QStringLiteral("FooterText: Page 3 of 3")}));
    }

    // A filter that writes shows the same.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    TzelPDFExport filter(TzelCustomExportFilter::NoRegister);
    ASSERT_TRUE(t.Export(filter, pdf));
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("exported"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QStringLiteral("not exported"))) << qPrintable(text);
}

namespace {

// A PNG filter that fails on the first object of one page, after the pages
// before it are written.
class FailingPNGExport : public TzelPNGExport
{
public:
    FailingPNGExport() : TzelPNGExport(NoRegister) {}
    void StartPage(TzelReportPage *page, int index) override
    {
        FIndex = index;
        TzelPNGExport::StartPage(page, index);
    }
    void ExportObject(TzelComponent *object) override
    {
        if (FIndex == FailingPage)
            throw TzelException(QStringLiteral("disk full on page %1").arg(FIndex + 1));
        TzelPNGExport::ExportObject(object);
    }

    int FailingPage = -1; ///< index of the page that fails; -1: none

private:
    int FIndex = -1;
};

} // namespace

TEST(ExportDriver, AFailedExportRemovesWhatItWroteAndSaysWhy)
{
    ThreePages t;
    ASSERT_TRUE(t.Prepare());
    QTemporaryDir dir;
    FailingPNGExport filter;
    filter.FailingPage = 2;
    EXPECT_FALSE(t.Export(filter, dir.filePath(QStringLiteral("page.png"))));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << qPrintable(QDir(dir.path()).entryList().join(u' '));
    EXPECT_TRUE(filter.Files.isEmpty());
    EXPECT_TRUE(t.Report.Errors().Text().contains(QStringLiteral("disk full on page 3")))
        << qPrintable(t.Report.Errors().Text());

    // The same filter completes the next export.
    filter.FailingPage = -1;
    EXPECT_TRUE(t.Export(filter, dir.filePath(QStringLiteral("page.png"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("page-1.png"), QStringLiteral("page-2.png"), QStringLiteral("page-3.png")}));
}
