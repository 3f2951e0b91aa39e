#include "model/band/zelmasterdata.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/view/zelmemoview.h"
#include "prepared/zelcustomoutline.h"
#include "prepared/zelpreviewpages.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace {

// A prepared report of two A4 pages with an outline of two levels.
QString writePrepared(const QTemporaryDir &dir)
{
    zelRegisterModelClasses();
    TzelReport report;
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *band = new TzelMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    auto *memo = new TzelMemoView(band);
    memo->SetName(QStringLiteral("Memo1"));
    TzelPreviewPages pages(&report);
    pages.Initialize();
    pages.AddSourcePage(page);
    pages.BeginPass();
    for (int p = 0; p < 2; ++p) {
        pages.AddPage(page);
        pages.Outline().AddItem(QStringLiteral("Customer %1").arg(p + 1), 0);
        pages.Outline().AddItem(QStringLiteral("Orders"), 40);
        pages.Outline().LevelRoot();
        memo->SetText(QStringLiteral("Row %1").arg(p));
        pages.AddObject(band);
    }
    pages.Finish();
    const QString path = dir.filePath(QStringLiteral("in.zp3"));
    pages.SaveToFile(path);
    return path;
}

} // namespace

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
        EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\r\nInvalid file format\n"));
    }
    EXPECT_FALSE(QFileInfo::exists(notWritten));
}
