#include "support/testsupport.h"
#include "toolfixtures.h"

#include <gtest/gtest.h>

TEST(ZelreportPages, ListsPagesAndOutline)
{
    QTemporaryDir dir;
    const ZelToolRun r = zelreport({QStringLiteral("pages"), writePrepared(dir)});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("Page 1: 210 x 297 mm, 2 objects\n"
                                    "Page 2: 210 x 297 mm, 2 objects\n"
                                    "Outline:\n"
                                    "  Customer 1 (page 1)\n"
                                    "    Orders (page 1)\n"
                                    "  Customer 2 (page 2)\n"
                                    "    Orders (page 2)\n"));
}

TEST(ZelreportPages, ResaveOfAPreparedReportKeepsItsBytesAndRefusesBrokenFiles)
{
    QTemporaryDir dir;
    const QString in = writePrepared(dir);
    const QString out = dir.filePath(QStringLiteral("out.zp3"));
    ZelToolRun r = zelreport({QStringLiteral("resave"), in, out});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(zelReadFile(out), zelReadFile(in));

    const QString broken = dir.filePath(QStringLiteral("broken.zp3"));
    const QString notWritten = dir.filePath(QStringLiteral("never.zp3"));
    zelWriteFile(broken, zelReadFile(in).left(300));
    for (const QString &command : {QStringLiteral("resave"), QStringLiteral("pages")}) {
        QStringList args{command, broken};
        if (command == u"resave")
            args << notWritten;
        r = zelreport(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1:1:301: Invalid file format\n").arg(broken));
    }
    EXPECT_FALSE(QFileInfo::exists(notWritten));
}

TEST(ZelreportPages, ErrorsWhileRebuildingPagesArePrinted)
{
    QTemporaryDir dir;
    const QString in = writePrepared(dir);
    QByteArray bytes = zelReadFile(in);
    ASSERT_TRUE(bytes.contains("<m1 u=\"Row 1"));
    bytes.replace("<m1 u=\"Row 1", "<zz9 u=\"Row 1");
    const QString damaged = dir.filePath(QStringLiteral("damaged.zp3"));
    zelWriteFile(damaged, bytes);
    const ZelToolRun r = zelreport({QStringLiteral("pages"), damaged});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1: Cannot find class zz9\n").arg(damaged));
}

TEST(ZelreportPages, AFileThatIsNoPreparedReportSaysSo)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.zp3"));
    const QString tpl = dir.filePath(QStringLiteral("t.zt3"));
    zelWriteFile(empty, QByteArray());
    zelWriteFile(tpl, zelEmptyTemplate);
    ZelToolRun r = zelreport({QStringLiteral("pages"), empty});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1:1:1: Invalid file format\n").arg(empty));
    r = zelreport({QStringLiteral("pages"), tpl});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1: The file is not a prepared report\n").arg(tpl));
    EXPECT_EQ(r.out, QString());
}
