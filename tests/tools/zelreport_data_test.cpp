#include "support/testsupport.h"
#include "toolfixtures.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

TEST(ZelreportData, PrintsEveryByteOfAValue)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("rows.csv"));
    const QString tpl = dir.filePath(QStringLiteral("rows.zt3"));
    zelWriteFile(csv, QByteArray("Name,Note\nA,before\0after\nB,end\n", 31));
    writeCsvTemplate(tpl, csv);
    const ZelToolRun r = zelreport({QStringLiteral("data"), tpl, QStringLiteral("Rows")});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QString::fromUtf8(QByteArray("Name\tNote\nA\tbefore\0after\nB\tend\n", 31)));
}

TEST(ZelreportData, ADeviceIsRefusedAndAPipeOnlyWhenTheCommandAllowsIt)
{
    QTemporaryDir dir;
    const QString tpl = dir.filePath(QStringLiteral("rows.zt3"));
    writeCsvTemplate(tpl, QStringLiteral("/dev/zero"));
    ZelToolRun r = zelreport({QStringLiteral("data"), tpl, QStringLiteral("Rows")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("zelreport: \"/dev/zero\" is not a regular file\n"));

    const QString fifo = dir.filePath(QStringLiteral("rows.csv"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    writeCsvTemplate(tpl, fifo);
    r = zelreport({QStringLiteral("data"), tpl, QStringLiteral("Rows")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("is a named pipe"))) << qPrintable(r.err);

    std::thread writer([&] { zelWriteFile(fifo, "Name\nfrom a pipe\n"); });
    r = zelreport({QStringLiteral("data"), tpl, QStringLiteral("Rows"), QStringLiteral("--allow-pipe")});
    writer.join();
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("Name\nfrom a pipe\n"));
}
