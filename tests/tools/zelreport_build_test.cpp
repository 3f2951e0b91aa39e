#include "support/testsupport.h"
#include "toolfixtures.h"

#include "model/band/zelpagefooter.h"
#include "model/band/zelreportsummary.h"
#include "model/band/zelreporttitle.h"

#include <gtest/gtest.h>

namespace {

// A one-page template without data: a title with a quoted, two-line text,
// a page footer and a summary. Written to Path.
void writeTitledTemplate(const QString &path)
{
    zelRegisterModelClasses();
    TzelReport report;
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetDefaults();
    auto *title = new TzelReportTitle(page);
    title->SetName(QStringLiteral("ReportTitle1"));
    title->SetBounds(0, 0, 718.11, 64.25);
    auto *memo = new TzelMemoView(title);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 7.56, 600, 30.24);
    memo->SetText(QStringLiteral("Quarterly \"sales\"\r\nby\tregion"));
    auto *summary = new TzelReportSummary(page);
    summary->SetName(QStringLiteral("ReportSummary1"));
    summary->SetBounds(0, 100, 718.11, 18.9);
    auto *footer = new TzelPageFooter(page);
    footer->SetName(QStringLiteral("PageFooter1"));
    footer->SetBounds(0, 200, 718.11, 26.46);
    report.SaveToFile(path);
}

} // namespace

TEST(ZelreportBuild, TextOfATemplateAndOfItsBuildAreTheSame)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    const QString out = dir.filePath(QStringLiteral("out.zp3"));
    writeTitledTemplate(in);

    const ZelToolRun text = zelreport({QStringLiteral("text"), in});
    ASSERT_EQ(text.status, 0) << qPrintable(text.err);
    const QStringList lines = text.out.split(u'\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("page 1 "))) << qPrintable(lines[0]);
    EXPECT_EQ(lines[1], QStringLiteral("  TzelReportTitle ReportTitle1 0.00 0.00 190.00 17.00"));
    EXPECT_EQ(lines[2], QStringLiteral("    TzelMemoView Memo1 0.00 2.00 158.75 8.00 \"Quarterly \\\"sales\\\"\\nby\\tregion\""));
    EXPECT_TRUE(text.out.contains(QStringLiteral("  TzelReportSummary ReportSummary1 0.00 17.00 190.00 5.00\n")))
        << qPrintable(text.out);
    EXPECT_TRUE(text.out.contains(QStringLiteral("  TzelPageFooter PageFooter1 "))) << qPrintable(text.out);

    const ZelToolRun build = zelreport({QStringLiteral("build"), in, out, QStringLiteral("--var"),
                                        QStringLiteral("Region='North'"), QStringLiteral("--var"),
                                        QStringLiteral("Year=2026")});
    ASSERT_EQ(build.status, 0) << qPrintable(build.err);
    const ZelToolRun again = zelreport({QStringLiteral("text"), out});
    EXPECT_EQ(again.status, 0) << qPrintable(again.err);
    EXPECT_EQ(again.out, text.out);
}

TEST(ZelreportBuild, RefusesBadCommandLinesAndWritesNothingOnFailure)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    writeTitledTemplate(in);
    const QString out = dir.filePath(QStringLiteral("out.zp3"));
    const QString noPage = dir.filePath(QStringLiteral("nopage.zt3"));
    {
        TzelReport empty;
        empty.SaveToFile(noPage);
    }
    struct Case {
        QStringList args;
        int status;
        const char *message;
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("build"), in, out, QStringLiteral("--var"), QStringLiteral("Region")}, 2,
         "\"Region\" is no NAME=VALUE pair"},
        {{QStringLiteral("build"), in, dir.filePath(QStringLiteral("out.zt3"))}, 2, "should end in .zp3"},
        {{QStringLiteral("build"), in}, 2, "takes 2 arguments, 1 given"},
        {{QStringLiteral("build"), in, out, QStringLiteral("--password"), QStringLiteral("a"),
          QStringLiteral("--password"), QStringLiteral("b")}, 2, "is given twice"},
        {{QStringLiteral("build"), noPage, out}, 1, "The following error(s) have occured:"},
        {{QStringLiteral("text"), dir.filePath(QStringLiteral("missing.zt3"))}, 1, "does not exist"},
    };
    for (const Case &c : cases) {
        const ZelToolRun r = zelreport(c.args);
        EXPECT_EQ(r.status, c.status) << qPrintable(c.args.join(u' '));
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << qPrintable(r.err);
        EXPECT_FALSE(QFileInfo::exists(out)) << qPrintable(c.args.join(u' '));
    }
}
