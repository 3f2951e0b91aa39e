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
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1:4:1: Cannot find class TzelNoSuchThing\n")
                         .arg(partial));
    EXPECT_EQ(zelReadFile(out), zelEmptyTemplate);

    const QString broken = dir.filePath(QStringLiteral("broken.zt3"));
    const QString out2 = dir.filePath(QStringLiteral("out2.zt3"));
    zelWriteFile(broken, zelEmptyTemplate.left(120));
    r = zelreport({QStringLiteral("resave"), broken, out2});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1:2:65: Invalid file format\n").arg(broken));
    EXPECT_FALSE(QFile::exists(out2));
}

TEST(ZelreportResave, MissingInputAndWrongArguments)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.zt3"));
    ZelToolRun r = zelreport({QStringLiteral("resave"), missing, dir.filePath(QStringLiteral("o.zt3"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(missing)) << qPrintable(r.err);

    // A folder is no file to read.
    r = zelreport({QStringLiteral("resave"), dir.path(), dir.filePath(QStringLiteral("o.zt3"))});
    EXPECT_EQ(r.err, QStringLiteral("zelreport: \"%1\" is a folder, not a file\n").arg(dir.path()));

    // Each mistake is named before the usage line.
    const QString usage = QStringLiteral("Usage: zelreport resave IN OUT [--password TEXT]\n");
    struct Case
    {
        QStringList args;
        QString err;
    };
    const Case cases[] = {
        {{QStringLiteral("resave")}, QStringLiteral("zelreport: \"resave\" takes 2 arguments, 0 given\n") + usage},
        {{QStringLiteral("resave"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("--password")},
         QStringLiteral("zelreport: \"--password\" needs a value (TEXT)\n") + usage},
        {{QStringLiteral("resave"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("--bogus")},
         QStringLiteral("zelreport: \"--bogus\" is no option of \"resave\"\n") + usage},
        {{QStringLiteral("nosuch")},
         QStringLiteral("zelreport: unknown command \"nosuch\"; \"zelreport --help\" lists the commands\n")},
    };
    for (const Case &c : cases) {
        r = zelreport(c.args);
        EXPECT_EQ(r.status, 2) << qPrintable(c.args.join(u' '));
        EXPECT_EQ(r.err, c.err);
    }
    r = zelreport({});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Usage: zelreport"))) << qPrintable(r.err);

    r = zelreport({QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    for (const QString &line : r.out.split(u'\n'))
        EXPECT_LE(line.size(), 100) << qPrintable(line);
}

TEST(ZelreportResave, TheOutputKeepsTheKindOfTheInput)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("t.zt3"));
    const QString out = dir.filePath(QStringLiteral("o.zp3"));
    zelWriteFile(in, zelEmptyTemplate);
    const ZelToolRun r = zelreport({QStringLiteral("resave"), in, out});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QStringLiteral("zelreport: \"%1\" is named as a prepared report, but \"%2\" is a template: "
                                    "give it the extension .zt3\n")
                         .arg(out, in));
    EXPECT_FALSE(QFile::exists(out));
}

TEST(ZelreportResave, APasswordIsTakenFromTheCommandLineOnly)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("locked.zt3"));
    const QString out = dir.filePath(QStringLiteral("out.zt3"));
    zelWriteFile(in, withPassword("WXY")); // "abc", stored lowered by 10

    ZelToolRun r = zelreport({QStringLiteral("resave"), in, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1: Invalid password\n").arg(in));
    EXPECT_FALSE(QFile::exists(out));

    r = zelreport({QStringLiteral("resave"), in, out, QStringLiteral("--password"), QStringLiteral("abc")});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(zelReadFile(out), withPassword("WXY"));
}

TEST(ZelreportResave, ErrorsNameTheirLineColumnObjectAndPropertyInFileOrder)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("bad.zt3"));
    zelWriteFile(in, "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n"
                     "<TzelReport ScriptLanguage=\"PascalScript\">\n"
                     "  <TzelReportPage Name=\"Page1\">\n"
                     "    <TzelMasterData Name=\"MasterData1\" Left=\"x\">\n"
                     "      <TzelMemoView Name=\"Memo1\" Left=\"y\" Font.Size=\"z\"/>\n"
                     "      <TzelMemoView Name=\"Memo2\" Left=\"y\"/>\n"
                     "    </TzelMasterData>\n"
                     "  </TzelReportPage>\n"
                     "</TzelReport>\n");
    const ZelToolRun r = zelreport({QStringLiteral("resave"), in, dir.filePath(QStringLiteral("out.zt3"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n"
                                    "%1:4:40: Page1.MasterData1.Left: 'x' is not a valid value of Left\n"
                                    "%1:5:34: Page1.MasterData1.Memo1.Left: 'y' is not a valid value of Left\n"
                                    "%1:5:43: Page1.MasterData1.Memo1.Font.Size: 'z' is not a valid value of Size\n"
                                    "%1:6:34: Page1.MasterData1.Memo2.Left: 'y' is not a valid value of Left\n")
                         .arg(in));
}
