#include "exporttest.h"
#include "tools/toolfixtures.h"

// zelreport export: the filter the output's extension picks, page ranges,
// resolution, the files PNG and SVG write, templates and prepared reports
// as input, and nothing left behind when it fails.

namespace {

// The files and folders in Dir.
QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(ZelreportExport, RefusesWhatItCannotWriteAndLeavesNothingBehind)
{
    // The one-page test report, and the ten invoices for a failure after
    // some pages are written; folders stand where files should go.
    QTemporaryDir dir;
    const QString in = examplePath(QStringLiteral("test.zt3"));
    const QString invoices = examplePath(QStringLiteral("invoice.zt3"));
    const QStringList obstacles{QStringLiteral("folder.pdf"), QStringLiteral("page-3.png")};
    for (const QString &folder : obstacles)
        ASSERT_TRUE(QDir(dir.path()).mkdir(folder));
    const auto out = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    struct Case
    {
        QStringList Args; // after "export"
        int Status;
        const char *Message;
    };
    const Case cases[] = {
        {{in, out("out.xyz")}, 2, "No export filter writes \"xyz\" files: give OUT one of the extensions .pdf, .png, .svg"},
        {{in, out("out")}, 2, "No export filter writes \"\" files"},
        {{in, out("out.pdf"), QStringLiteral("--pages"), QStringLiteral("7-")}, 2,
         "The page range \"7-\" names none of the 1 pages"},
        {{in, out("out.png"), QStringLiteral("--pages"), QStringLiteral("2,5")}, 2, "names none of the 1 pages"},
        {{in, out("out.pdf"), QStringLiteral("--dpi"), QStringLiteral("150")}, 2, "--dpi sets the resolution of PNG"},
        {{in, out("out.png"), QStringLiteral("--dpi"), QStringLiteral("5")}, 2, "--dpi"},
        {{in, out("missing/out.pdf")}, 1, "did not complete"},
        {{in, out("missing/out.png")}, 1, "did not complete"},
        {{in, out("missing/out.svg")}, 1, "did not complete"},
        {{in, out("folder.pdf")}, 1, "did not complete"},
        {{invoices, out("page-%d.png")}, 1, "did not complete"}, // pages 1 and 2 were written
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Args.join(u' ').toStdString());
        const ZelToolRun run = zelreport(QStringList{QStringLiteral("export")} + c.Args);
        EXPECT_EQ(run.status, c.Status) << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.Message))) << qPrintable(run.err);
        EXPECT_EQ(entries(dir.path()), obstacles);
        for (const QString &folder : obstacles)
            EXPECT_TRUE(entries(dir.filePath(folder)).isEmpty());
    }
}

TEST(ZelreportExport, PicturesAreWrittenAPagePerFileAtTheResolutionAsked)
{
    // The invoices: ten A4 pages.
    const QString in = examplePath(QStringLiteral("invoice.zt3"));
    struct Case
    {
        const char *Out;
        QStringList Options;
        QStringList Files;
        QSize Size; // of every picture
    };
    const Case cases[] = {
        {"inv%d.png", {QStringLiteral("--pages"), QStringLiteral("10,2")},
         {QStringLiteral("inv10.png"), QStringLiteral("inv2.png")}, QSize(794, 1123)},
        {"out.png", {QStringLiteral("--pages"), QStringLiteral("9-"), QStringLiteral("--dpi"), QStringLiteral("192")},
         {QStringLiteral("out-10.png"), QStringLiteral("out-9.png")}, QSize(1587, 2245)},
        {"OUT.PNG", {QStringLiteral("--pages"), QStringLiteral("1"), QStringLiteral("--dpi"), QStringLiteral("48")},
         {QStringLiteral("OUT-1.PNG")}, QSize(397, 561)},
        {"p%d-of-all.svg", {QStringLiteral("--pages"), QStringLiteral("3,3")}, {QStringLiteral("p3-of-all.svg")}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Out);
        QTemporaryDir dir;
        const ZelToolRun run =
            zelreport(QStringList{QStringLiteral("export"), in, dir.filePath(QString::fromLatin1(c.Out))} + c.Options);
        ASSERT_EQ(run.status, 0) << qPrintable(run.err);
        EXPECT_EQ(entries(dir.path()), c.Files);
        for (const QString &file : c.Files) {
            if (c.Size.isValid()) {
                EXPECT_EQ(QImage(dir.filePath(file)).size(), c.Size) << qPrintable(file);
            } else {
                const QString png = dir.filePath(QStringLiteral("rendered.png"));
                runOk(QStringLiteral("rsvg-convert"), {QStringLiteral("-o"), png, dir.filePath(file)});
                EXPECT_EQ(QImage(png).size(), QSize(794, 1123));
            }
        }
    }
}

TEST(ZelreportExport, APreparedReportExportsAsTheTemplateItWasBuiltFrom)
{
    QTemporaryDir dir;
    const QString in = examplePath(QStringLiteral("invoice.zt3"));
    const QString prepared = dir.filePath(QStringLiteral("invoice.zp3"));
    const ZelToolRun build = zelreport({QStringLiteral("build"), in, prepared});
    ASSERT_EQ(build.status, 0) << qPrintable(build.err);

    QStringList expected;
    for (int i = 0; i < 10; ++i)
        expected << QStringLiteral("Invoice %1 -> %2").arg(10248 + i).arg(i + 1);
    QStringList texts;
    for (const QString &input : {in, prepared}) {
        SCOPED_TRACE(input.toStdString());
        const QString pdf = dir.filePath(QFileInfo(input).suffix() + QStringLiteral(".pdf"));
        const ZelToolRun run = zelreport({QStringLiteral("export"), input, pdf});
        ASSERT_EQ(run.status, 0) << qPrintable(run.err);
        EXPECT_EQ(zelRun(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}).status, 0);
        const QJsonObject json = pdfJson(pdf);
        EXPECT_EQ(bookmarks(json.value(QStringLiteral("outlines")).toArray()), expected);
        texts << pdfText(pdf);
        EXPECT_EQ(texts.last().count(u'\f'), 10);
        EXPECT_TRUE(texts.last().contains(QStringLiteral("No. 10248"))) << qPrintable(texts.last());
        EXPECT_TRUE(texts.last().contains(QStringLiteral("Total: 4112.50"))) << qPrintable(texts.last());
    }
    EXPECT_EQ(texts[0], texts[1]);
}

TEST(ZelreportExport, OutlineLevelsBecomeNestedBookmarksAtTheirPlaces)
{
    QTemporaryDir dir;
    const QString in = writePrepared(dir);
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const ZelToolRun run = zelreport({QStringLiteral("export"), in, pdf});
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    const QJsonArray outlines = pdfJson(pdf).value(QStringLiteral("outlines")).toArray();
    EXPECT_EQ(bookmarks(outlines), (QStringList{QStringLiteral("Customer 1 -> 1"), QStringLiteral("  Orders -> 1"),
                                                QStringLiteral("Customer 2 -> 2"), QStringLiteral("  Orders -> 2")}));
    // "Orders" lies 40 units (30 points) below its customer's entry.
    for (const QJsonValue &v : outlines) {
        const QJsonObject customer = v.toObject();
        const QJsonArray dest = customer.value(QStringLiteral("dest")).toArray();
        const QJsonArray kid = customer.value(QStringLiteral("kids"))
                                   .toArray()
                                   .at(0)
                                   .toObject()
                                   .value(QStringLiteral("dest"))
                                   .toArray();
        ASSERT_EQ(dest.size(), 5);
        ASSERT_EQ(kid.size(), 5);
        EXPECT_EQ(dest.at(1).toString(), QStringLiteral("/XYZ"));
        EXPECT_NEAR(dest.at(3).toDouble() - kid.at(3).toDouble(), 30, 0.5);
    }
}
