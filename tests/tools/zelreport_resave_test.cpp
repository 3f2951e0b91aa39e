#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace {

QByteArray withPassword(const QByteArray &shifted)
{
    QByteArray t = zelEmptyTemplate;
    t.replace("ScriptLanguage=", "ReportOptions.Password=\"" + shifted + "\" ScriptLanguage=");
    return t;
}

} // namespace

TEST(ZelreportResave, WritesTheSameBytesForAGoodTemplate)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    const QString out = dir.filePath(QStringLiteral("out.zt3"));
    zelWriteFile(in, zelEmptyTemplate);
    const ZelToolRun r = zelreport({QStringLiteral("resave"), in, out});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(zelReadFile(out), zelEmptyTemplate);
}

TEST(ZelreportResave, ReportsErrorsAndWritesOnlyWhatWasReadToTheEnd)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.zt3"));
    const QString partial = dir.filePath(QStringLiteral("partial.zt3"));
    QByteArray withUnknown = zelEmptyTemplate;
    withUnknown.replace("</TzelReport>", "<TzelNoSuchThing Name=\"X\"/></TzelReport>");
    zelWriteFile(partial, withUnknown);
    ZelToolRun r = zelreport({QStringLiteral("resave"), partial, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\r\nCannot find class TzelNoSuchThing\n"));
    EXPECT_EQ(zelReadFile(out), zelEmptyTemplate);

    const QString broken = dir.filePath(QStringLiteral("broken.zt3"));
    const QString out2 = dir.filePath(QStringLiteral("out2.zt3"));
    zelWriteFile(broken, zelEmptyTemplate.left(120));
    r = zelreport({QStringLiteral("resave"), broken, out2});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\r\nInvalid file format\n"));
    EXPECT_FALSE(QFile::exists(out2));
}

TEST(ZelreportResave, MissingInputAndWrongArguments)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.zt3"));
    ZelToolRun r = zelreport({QStringLiteral("resave"), missing, dir.filePath(QStringLiteral("o.zt3"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(missing)) << qPrintable(r.err);

    for (const QStringList &args : {QStringList{QStringLiteral("resave")}, QStringList{QStringLiteral("nosuch")},
                                    QStringList{}, QStringList{QStringLiteral("resave"), QStringLiteral("a"),
                                                               QStringLiteral("b"), QStringLiteral("--password")}}) {
        r = zelreport(args);
        EXPECT_EQ(r.status, 2) << qPrintable(args.join(u' '));
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage: zelreport"))) << qPrintable(r.err);
    }
    EXPECT_EQ(zelreport({QStringLiteral("--help")}).status, 0);
}

TEST(ZelreportResave, APasswordIsTakenFromTheCommandLineOnly)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("locked.zt3"));
    const QString out = dir.filePath(QStringLiteral("out.zt3"));
    zelWriteFile(in, withPassword("WXY")); // "abc", stored lowered by 10

    ZelToolRun r = zelreport({QStringLiteral("resave"), in, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\r\nInvalid password\n"));
    EXPECT_FALSE(QFile::exists(out));

    r = zelreport({QStringLiteral("resave"), in, out, QStringLiteral("--password"), QStringLiteral("abc")});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(zelReadFile(out), withPassword("WXY"));
}
