// The engine at scale: a template without data whose band of five text
// objects the host shows over and over (through OnManualBuild) until the
// build has 10,000 pages, with a page header and a page footer on each.
// Prints the time per band shown and the peak resident memory.
//
//   bench_engine_bench [--no-file-cache] [--pages N]
//
// Peak memory only grows, so each mode runs in its own process.
#include "benchsupport.h"
#include "engine/core/zelengineclasses.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/report/zelcustomengine.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/view/zelmemoview.h"
#include "prepared/zelpreviewpages.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

TzelMemoView *addMemo(TzelComponent *parent, const QString &name, double left, double top, double width)
{
    auto *memo = new TzelMemoView(parent);
    memo->SetName(name);
    memo->SetBounds(left, top, width, 20);
    return memo;
}

} // namespace

int main(int argc, char **argv)
{
    benchUseOffscreen();
    QGuiApplication app(argc, argv);
    zelRegisterModelClasses();
    zelRegisterEngine();
    const QStringList args = app.arguments();
    const bool fileCache = !args.contains(QStringLiteral("--no-file-cache"));
    const int pages = benchIntOption(args, QStringLiteral("--pages"), 10000);

    QTemporaryDir dir;
    TzelReport report;
    report.EngineOptions().UseFileCache = fileCache;
    report.EngineOptions().TempDir = dir.path();
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    const double width = (page->PaperWidth() - page->LeftMargin - page->RightMargin) * qz01cm;
    auto *header = new TzelPageHeader(page);
    header->SetName(QStringLiteral("PageHeader1"));
    header->SetBounds(0, 0, width, 40);
    addMemo(header, QStringLiteral("Title"), 0, 10, 400)->SetText(QStringLiteral("Orders by customer"));
    auto *footer = new TzelPageFooter(page);
    footer->SetName(QStringLiteral("PageFooter1"));
    footer->SetBounds(0, 900, width, 24);
    addMemo(footer, QStringLiteral("PageNo"), 500, 2, 150)->SetText(QStringLiteral("Page footer"));
    auto *band = new TzelMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 60, width, 22);
    QList<TzelMemoView *> cells;
    for (int i = 0; i < 5; ++i)
        cells << addMemo(band, QStringLiteral("Cell%1").arg(i + 1), i * 140, 1, 130);

    qint64 bands = 0;
    report.OnManualBuild = [&](TzelReportPage *) {
        TzelCustomPreviewPages &prepared = *report.PreviewPages();
        while (prepared.Count() < pages && !report.Terminated) {
            cells[0]->SetText(QString::number(bands));
            cells[1]->SetText(QStringLiteral("Customer %1").arg(bands % 977));
            report.Engine()->ShowBand(band);
            ++bands;
        }
    };
    QElapsedTimer timer;
    timer.start();
    const bool built = report.PrepareReport();
    const qint64 ns = timer.nsecsElapsed();
    std::printf("file cache %s, %d pages, %lld bands of 5 objects%s\n", fileCache ? "on" : "off",
                report.PreviewPages()->Count(), static_cast<long long>(bands), built ? "" : " (errors)");
    std::printf("per band shown:     %8.2f us (%.2f s in all)\n", double(ns) / 1000.0 / double(bands), ns / 1e9);
    std::printf("peak RSS:           %8ld MB\n", benchPeakRssMb());
    return built ? 0 : 1;
}
