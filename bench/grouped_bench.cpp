// The grouped-list report at scale: loads a template (examples/bench-grouped.zt3
// beside a generated bench.sqlite), builds it with the file cache on and
// prints the build time, the pages, pages per second and the peak resident
// memory. grouped.sh runs it on 10,000 and 100,000 rows.
//
//   bench_grouped_bench TEMPLATE.zt3 [--no-file-cache] [--script]
//
// --script formats every amount through the script instead.
#include "benchsupport.h"
#include "engine/core/zelengineclasses.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/sql/zelsqlclasses.h"
#include "model/view/zelmemoview.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    benchUseOffscreen();
    QGuiApplication app(argc, argv);
    zelRegisterModelClasses();
    zelRegisterSqlClasses();
    zelRegisterEngine();
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_grouped_bench TEMPLATE.zt3 [--no-file-cache] [--script]\n");
        return 2;
    }
    TzelReport report;
    if (!report.LoadFromFile(args.at(1))) {
        std::fprintf(stderr, "%s\n", qPrintable(report.Errors().Text()));
        return 1;
    }
    report.EngineOptions().UseFileCache = !args.contains(QStringLiteral("--no-file-cache"));
    if (args.contains(QStringLiteral("--script")))
        if (auto *amount = zelAs<TzelMemoView>(report.FindObject(QStringLiteral("ItemAmount"))))
            amount->SetText(QStringLiteral("[FormatFloat('0.00', <items.\"amount\">)]"));

    QElapsedTimer timer;
    timer.start();
    const bool built = report.PrepareReport();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!built) {
        std::fprintf(stderr, "%s\n", qPrintable(report.Errors().Text()));
        return 1;
    }
    const int pages = report.PreviewPages()->Count();
    std::printf("build %.3f s, %d pages, %.0f pages/s, peak %ld MB\n", seconds, pages, pages / seconds,
                benchPeakRssMb());
    return 0;
}
