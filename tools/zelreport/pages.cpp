#include "model/page/zelreportpage.h"
#include "model/report/zelreport.h"
#include "model/report/zelcustomoutline.h"
#include "prepared/zelpreviewpages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

namespace {

void printOutline(TzelCustomOutline &outline, int level)
{
    for (int i = 0; i < outline.Count(); ++i) {
        QString text;
        int page = 0;
        int top = 0;
        outline.GetItem(i, text, page, top);
        zelPrintLine(QString(2 * level + 2, u' ') + text + QStringLiteral(" (page %1)").arg(page + 1));
        outline.LevelDown(i);
        printOutline(outline, level + 1);
        outline.LevelUp();
    }
}

int pages(const TzelCommandArgs &args)
{
    TzelReport report;
    TzelPreviewPages prepared(&report);
    if (!zelLoadPrepared(prepared, args.Positional.at(0)))
        return zelFinish(report, args.Positional.at(0), 1);
    for (int i = 0; i < prepared.Count(); ++i) {
        const TzelReportPage *page = prepared.GetPage(i);
        if (!page)
            continue;
        zelPrintLine(QStringLiteral("Page %1: %2 x %3 mm, %4 objects")
                         .arg(i + 1)
                         .arg(page->PaperWidth())
                         .arg(page->PaperHeight())
                         .arg(page->AllObjects().size()));
    }
    TzelCustomOutline &outline = prepared.Outline();
    outline.LevelRoot();
    if (outline.Count() > 0) {
        zelPrintLine(QStringLiteral("Outline:"));
        printOutline(outline, 0);
    }
    // Pages rebuilt above may have collected errors of their own.
    return zelFinish(report, args.Positional.at(0));
}

} // namespace

TzelCommand zelPagesCommand()
{
    return {"pages", "IN.zp3",
            "Print each page of a prepared report (number, size, objects), then its outline.", {}, pages};
}
