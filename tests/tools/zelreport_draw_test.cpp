#include "support/testsupport.h"
#include "toolfixtures.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(ZelreportDraw, DrawsTheSampleTemplatesFirstPage)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("page.png"));
    const ZelToolRun r = zelreport({QStringLiteral("draw"), zelSourcePath(QStringLiteral("examples/test.zt3")), out});
    ASSERT_EQ(r.status, 0) << qPrintable(r.err);
    const QImage image(out);
    // A4 at 96 dots per inch.
    EXPECT_EQ(image.size(), QSize(794, 1123));
    // The header band's cells are filled grey-blue (0xD8D8D8 BGR) below the title.
    int filled = 0;
    for (int y = 0; y < 400; ++y)
        if (image.pixel(200, y) == qRgb(0xD8, 0xD8, 0xD8))
            ++filled;
    EXPECT_GT(filled, 10);
}

TEST(ZelreportDraw, RefusesBadArgumentsWithoutWriting)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    writeTemplate(in, 2);
    const QString out = dir.filePath(QStringLiteral("page.png"));
    struct Case {
        QStringList args;
        int status;
        const char *message;
    };
    const std::vector<Case> cases = {
        {{in, out, QStringLiteral("--page"), QStringLiteral("2")}, 2, "The template has no page 2: it has 1"},
        {{in, out, QStringLiteral("--page"), QStringLiteral("x")}, 2, "\"x\" is not a whole number from 1 to 100000 for --page"},
        {{in, out, QStringLiteral("--dpi"), QStringLiteral("5000")}, 2, "\"5000\" is not a whole number from 10 to 1200 for --dpi"},
        {{in, dir.filePath(QStringLiteral("page.jpg"))}, 2, "should end in .png"},
        {{dir.filePath(QStringLiteral("missing.zt3")), out}, 1, "does not exist"},
    };
    for (const Case &c : cases) {
        const ZelToolRun r = zelreport(QStringList{QStringLiteral("draw")} + c.args);
        EXPECT_EQ(r.status, c.status) << qPrintable(c.args.join(u' '));
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << qPrintable(r.err);
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}
