// Prepared pages at scale: adds 10,000 pages of 60 objects (text that varies
// per page, lines, one repeated picture), saves them to a prepared-report
// file, loads it and rebuilds 100 pages picked at random. Prints the time per
// page of each step, the file size and the peak resident memory.
//
//   bench_prepared_bench [--no-file-cache] [--pages N]
//
// Peak memory only grows, so each mode runs in its own process.
#include "benchsupport.h"
#include "base/imaging/zelimagecodec.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/view/zellineview.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelpictureview.h"
#include "prepared/zelpreviewpages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

namespace {

QByteArray logoPng()
{
    TzelImage image;
    image.Width = 64;
    image.Height = 32;
    for (int i = 0; i < image.Width * image.Height; ++i)
        image.Pixels.insert(image.Pixels.end(), {static_cast<unsigned char>(i * 7), 90, 200, 255});
    std::vector<unsigned char> png;
    zelEncodePng(image, png);
    return QByteArray(reinterpret_cast<const char *>(png.data()), qsizetype(png.size()));
}

// A page header with a title, a date and a logo; a master band of four
// texts and a rule printed nine times; a page footer with the page number:
// 60 objects per page.
struct Template
{
    TzelReport report;
    TzelReportPage *page;
    TzelPageHeader *header;
    TzelMasterData *master;
    TzelPageFooter *footer;
    QList<TzelMemoView *> cells;
    TzelMemoView *date;
    TzelMemoView *pageNo;

    Template()
    {
        page = new TzelReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        const double width = page->PaperWidth() * qz01cm;
        header = new TzelPageHeader(page);
        header->SetName(QStringLiteral("PageHeader1"));
        header->SetBounds(0, 0, width, 60);
        auto *title = new TzelMemoView(header);
        title->SetName(QStringLiteral("Title"));
        title->SetBounds(0, 0, 400, 30);
        title->SetText(QStringLiteral("Orders by customer"));
        title->Font().SetSize(16);
        date = new TzelMemoView(header);
        date->SetName(QStringLiteral("Date"));
        date->SetBounds(0, 34, 200, 20);
        auto *logo = new TzelPictureView(header);
        logo->SetName(QStringLiteral("Logo"));
        logo->SetBounds(700, 0, 64, 32);
        logo->Picture().LoadFromData(logoPng());

        master = new TzelMasterData(page);
        master->SetName(QStringLiteral("MasterData1"));
        master->SetBounds(0, 80, width, 22);
        for (int i = 0; i < 4; ++i) {
            auto *cell = new TzelMemoView(master);
            cell->SetName(QStringLiteral("Cell%1").arg(i + 1));
            cell->SetBounds(i * 190, 1, 180, 20);
            cells << cell;
        }
        auto *rule = new TzelLineView(master);
        rule->SetName(QStringLiteral("Rule"));
        rule->SetBounds(0, 21, width, 0);

        footer = new TzelPageFooter(page);
        footer->SetName(QStringLiteral("PageFooter1"));
        footer->SetBounds(0, 1050, width, 24);
        pageNo = new TzelMemoView(footer);
        pageNo->SetName(QStringLiteral("PageNo"));
        pageNo->SetBounds(600, 2, 150, 20);
    }

    void printPage(TzelPreviewPages &pages, int n)
    {
        pages.AddPage(page);
        date->SetText(QStringLiteral("Printed on day %1").arg(n % 365));
        pages.AddObject(header);
        for (int row = 0; row < 9; ++row) {
            const int id = n * 9 + row;
            master->SetTop(80 + row * 22);
            cells[0]->SetText(QString::number(id));
            cells[1]->SetText(QStringLiteral("Customer %1").arg(id % 977));
            cells[2]->SetText(QStringLiteral("%1.%2").arg(id % 1000).arg(id % 100, 2, 10, QLatin1Char('0')));
            cells[3]->SetText(row % 2 ? QStringLiteral("paid") : QStringLiteral("open"));
            pages.AddObject(master);
        }
        pageNo->SetText(QStringLiteral("Page %1").arg(n + 1));
        pages.AddObject(footer);
    }
};

double microsPer(qint64 nanos, int count)
{
    return double(nanos) / 1000.0 / count;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    zelRegisterModelClasses();
    const QStringList args = app.arguments();
    const bool fileCache = !args.contains(QStringLiteral("--no-file-cache"));
    const int count = benchIntOption(args, QStringLiteral("--pages"), 10000);
    const int rebuilds = 100;

    QTemporaryDir dir;
    Template t;
    t.report.EngineOptions().UseFileCache = fileCache;
    t.report.EngineOptions().TempDir = dir.path();
    QElapsedTimer timer;

    TzelPreviewPages pages(&t.report);
    pages.Initialize();
    pages.AddSourcePage(t.page);
    pages.BeginPass();
    timer.start();
    for (int n = 0; n < count; ++n)
        t.printPage(pages, n);
    const qint64 addNs = timer.nsecsElapsed();
    pages.Finish();
    const long addRss = benchPeakRssMb();

    std::mt19937 random(42);
    std::uniform_int_distribution<int> pick(2, count - 1);
    timer.start();
    for (int i = 0; i < rebuilds; ++i)
        pages.GetPage(pick(random));
    const qint64 rebuildBuiltNs = timer.nsecsElapsed();

    const QString file = dir.filePath(QStringLiteral("bench.zp3"));
    timer.start();
    pages.SaveToFile(file);
    const qint64 saveNs = timer.nsecsElapsed();
    pages.Clear();

    TzelReport other;
    TzelPreviewPages loaded(&other);
    timer.start();
    loaded.LoadFromFile(file);
    const qint64 loadNs = timer.nsecsElapsed();
    timer.start();
    for (int i = 0; i < rebuilds; ++i)
        loaded.GetPage(pick(random));
    const qint64 rebuildLoadedNs = timer.nsecsElapsed();

    std::printf("file cache %s, MaxMemSize %d MB, %d pages of 60 objects\n", fileCache ? "on" : "off",
                t.report.EngineOptions().MaxMemSize, count);
    std::printf("add page:                      %8.1f us/page (%.2f s)\n", microsPer(addNs, count), addNs / 1e9);
    std::printf("rebuild built page (random):   %8.1f us/page\n", microsPer(rebuildBuiltNs, rebuilds));
    std::printf("save:                          %8.1f us/page (%.2f s)\n", microsPer(saveNs, count), saveNs / 1e9);
    std::printf("load (pages read on demand):   %8.1f us/page (%.2f s)\n", microsPer(loadNs, count), loadNs / 1e9);
    std::printf("rebuild loaded page (random):  %8.1f us/page\n", microsPer(rebuildLoadedNs, rebuilds));
    std::printf("file size:                     %8.1f MB (%.0f bytes/page)\n",
                QFileInfo(file).size() / 1048576.0, double(QFileInfo(file).size()) / count);
    std::printf("peak RSS after adding:         %8ld MB\n", addRss);
    std::printf("peak RSS at the end:           %8ld MB\n", benchPeakRssMb());
    return 0;
}
