// Opening the preview on a long report: ShowReport opens the window at once
// and builds from the event loop; this prints when the first page was drawn
// (the build still running), the whole build, then how fast the view pages
// through the built report at 100 % zoom, and the peak memory.
// preview.sh runs it on the grouped benchmark report of 100,000 rows.
//
//   bench_preview_bench TEMPLATE.zt3 [PAGES]
//
// PAGES: how many pages to page through (all by default).
#include "benchsupport.h"
#include "engine/core/zelengineclasses.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/sql/zelsqlclasses.h"
#include "preview/zelpreview.h"
#include "preview/zelpreviewworkspace.h"
#include "preview/zelregisterpreview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    benchUseOffscreen();
    QApplication app(argc, argv);
    zelRegisterSqlClasses();
    zelRegisterEngine();
    zelRegisterPreview();
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_preview_bench TEMPLATE.zt3 [PAGES]\n");
        return 2;
    }
    TzelReport report;
    if (!report.LoadFromFile(args.at(1))) {
        std::fprintf(stderr, "%s\n", qPrintable(report.Errors().Text()));
        return 1;
    }
    report.EngineOptions().UseFileCache = true;
    report.PreviewOptions().Modal = false;
    report.PreviewOptions().Maximized = false;

    QElapsedTimer timer;
    double firstPage = -1, built = -1;
    int pagesAtFirst = 0;
    const auto preview = [&report] { return dynamic_cast<TzelPreview *>(report.Preview()); };
    report.OnProgress = [&](const TzelProgress &progress) {
        if (firstPage < 0 && preview() && preview()->Workspace()->PagesDrawn() > 0) {
            firstPage = timer.nsecsElapsed() / 1e9;
            pagesAtFirst = progress.Page;
        }
    };
    report.OnProgressStop = [&](const TzelProgress &) { built = timer.nsecsElapsed() / 1e9; };
    timer.start();
    report.ShowReport(true);
    while (built < 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    TzelPreview *view = preview();
    if (!view || view->PageCount() == 0) {
        std::fprintf(stderr, "no pages: %s\n", qPrintable(report.Errors().Text()));
        return 1;
    }
    std::printf("first page drawn %.3f s (while page %d was built), build %.3f s, %d pages, peak %ld MB\n",
                firstPage, pagesAtFirst, built, view->PageCount(), benchPeakRssMb());

    const int pages = args.size() > 2 ? std::min(args.at(2).toInt(), view->PageCount()) : view->PageCount();
    view->SetZoom(1);
    TzelPreviewWorkspace *workspace = view->Workspace();
    const qint64 drawnBefore = workspace->PagesDrawn();
    timer.restart();
    for (int page = 1; page <= pages; ++page) {
        view->SetPageNo(page);
        workspace->viewport()->repaint();
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("paged through %d pages at 100%% in %.3f s: %.0f pages/s (%lld drawn), peak %ld MB\n", pages,
                seconds, pages / seconds, static_cast<long long>(workspace->PagesDrawn() - drawnBefore),
                benchPeakRssMb());

    // Scrolling as the wheel does, 20 pixels a step, repainting after each.
    view->First();
    const int wheelPages = std::min(pages, 200);
    const int bottom = workspace->PageRect(wheelPages - 1).bottom();
    int steps = 0;
    timer.restart();
    while (workspace->Offset().y() + workspace->viewport()->height() < bottom) {
        view->MouseWheelScroll(-120, Qt::NoModifier);
        workspace->viewport()->repaint();
        ++steps;
    }
    const double wheelSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("scrolled %d pages by the wheel in %.3f s: %.0f pages/s, %.2f ms a step\n", wheelPages, wheelSeconds,
                wheelPages / wheelSeconds, wheelSeconds * 1000 / steps);
    return 0;
}
