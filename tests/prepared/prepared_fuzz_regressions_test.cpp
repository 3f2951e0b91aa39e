// Inputs that made the prepared-report fuzzer (fuzz/) crash, hang or leak,
// replayed the way it runs them: read whole and with partial loading, pages
// rebuilt and measured, the outline walked, saved and loaded again. Under the
// sanitizer build this also catches leaks; the expectations below catch the
// faults in any build.
#include "fuzz/loadedpages.h"
#include "model/modeltest.h"
#include "model/page/zelreportpage.h"
#include "support/testsupport.h"

#include <QDir>

#include <iterator>
#include <string>

namespace {

struct Expectation
{
    const char *file;
    int pages;         ///< pages once loaded, and again once saved and loaded
    const char *keeps; ///< an object the first page still holds when rebuilt
};

// Every file must be listed: what a damaged file still shows is the point.
const Expectation expectations[] = {
    // An attribute with a malformed character reference threw when read
    // after loading: from the outline, the anchors, the logical page
    // numbers, a page's size and column, and a band's position.
    {"bad-reference-outline.zp3", 1, "Title"},
    {"bad-reference-anchor.zp3", 1, "Title"},
    {"bad-reference-logical-number.zp3", 1, "Title"},
    {"bad-reference-page-size.zp3", 1, "Title"},
    {"bad-reference-band-position.zp3", 1, "Title"},
};

// Runs Input as the fuzzer does and checks what E says it keeps.
void replay(const Expectation &e, const QByteArray &input, bool partial)
{
    zelfuzz::LoadedPages first(input, partial);
    first.Walk();
    ASSERT_EQ(first.Pages().Count(), e.pages) << qPrintable(first.Report().ErrorsText());
    TzelReportPage *page = first.Pages().GetPage(0);
    ASSERT_NE(page, nullptr);
    EXPECT_NE(page->FindObject(QString::fromLatin1(e.keeps)), nullptr) << e.keeps;

    zelfuzz::LoadedPages second(first.Save(), partial);
    second.Walk();
    EXPECT_EQ(second.Pages().Count(), e.pages);
}

using PreparedFuzzRegressions = ModelTest;

} // namespace

TEST_F(PreparedFuzzRegressions, EveryInputLoadsAndStaysUsable)
{
    const QDir folder(zelSourcePath(QStringLiteral("tests/prepared/fuzz_regressions")));
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_EQ(files.size(), qsizetype(std::size(expectations))) << qPrintable(files.join(u' '));

    for (const Expectation &e : expectations) {
        const QByteArray input = zelReadFile(folder.filePath(QString::fromLatin1(e.file)));
        ASSERT_FALSE(input.isEmpty()) << e.file << " is listed but missing";
        for (const bool partial : {false, true}) {
            SCOPED_TRACE(std::string(e.file) + (partial ? " (partial loading)" : ""));
            EXPECT_NO_THROW(replay(e, input, partial));
        }
    }
}
