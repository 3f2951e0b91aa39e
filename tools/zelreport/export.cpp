#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "engine/export/zelpngexport.h"
#include "model/report/zelcustomexportfilter.h"
#include "model/report/zelpagenumbers.h"
#include "model/report/zelreport.h"
#include "prepared/zelpreviewpages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

#include <QFileInfo>
#include <QScopedValueRollback>
#include <cstdio>
#include <unistd.h>

namespace {

// The extensions the registered filters write, for the message that names them.
QString knownExtensions()
{
    QStringList extensions;
    for (const TzelCustomExportFilter *filter : TzelCustomExportFilter::Filters())
        extensions << filter->DefaultExt;
    return extensions.join(QStringLiteral(", "));
}

// Whether Range names at least one of Count pages; says why not.
bool rangeNamesPages(const QString &range, int count)
{
    if (range.isEmpty())
        return true;
    for (const QString &page : zelParsePageNumbers(range, count))
        if (page.toInt() >= 1 && page.toInt() <= count)
            return true;
    zelSay(zelFormat(zelRes("clNoPagesInRange"), {range, QString::number(count)}));
    return false;
}

int exportReport(const TzelCommandArgs &args)
{
    const QString &input = args.Positional.at(0);
    const QString &output = args.Positional.at(1);
    TzelCustomExportFilter *filter = TzelCustomExportFilter::ForExtension(QFileInfo(output).suffix());
    if (!filter) {
        zelSay(zelFormat(zelRes("clNoExportFilter"), {QFileInfo(output).suffix(), knownExtensions()}));
        return 2;
    }
    auto *png = dynamic_cast<TzelPNGExport *>(filter);
    if (args.Has("--dpi") && !png) {
        zelSay(QStringLiteral("--dpi sets the resolution of PNG pictures only"));
        return 2;
    }
    const std::optional<int> dpi = zelNumberOption(args, "--dpi", 96, 10, 1200);
    if (!dpi)
        return 2;

    TzelReport report;
    if (const std::optional<int> failed = zelReadInput(report, input, args, true))
        return *failed;
    TzelCustomPreviewPages *pages = report.PreviewPages();
    const QString range = args.Value("--pages");
    if (!rangeNamesPages(range, pages->Count())) {
        zelFinish(report, input);
        return 2;
    }

    filter->ShowDialog = false;
    filter->FileName = QFileInfo(output).absoluteFilePath();
    filter->PageNumbers = range;
    if (png)
        png->Resolution = *dpi;
    if (isatty(fileno(stderr))) {
        report.OnProgress = [](const TzelProgress &progress) {
            if (progress.Type != ptExporting)
                return;
            std::fprintf(stderr, "\r%s", qUtf8Printable(zelFormat(zelRes("clExporting"), {QString::number(progress.Page)})));
            std::fflush(stderr);
        };
        report.OnProgressStop = [](const TzelProgress &) { std::fputs("\r\033[K", stderr); };
    }
    // The export leaves nothing behind when it fails; the errors say why,
    // listed once by the tool.
    const QScopedValueRollback<TzelSilentMode> silent(report.EngineOptions().NewSilentMode, simSilent);
    if (!pages->Export(filter)) {
        zelFinish(report, input);
        zelSay(zelFormat(zelRes("clExportFailed"), {output}));
        return 1;
    }
    return zelFinish(report, input);
}

} // namespace

TzelCommand zelExportCommand()
{
    return {"export",
            "IN OUT",
            "Export a prepared report (.zp3), or a template (.zt3) built first, through the export filter that "
            "OUT's extension selects (.pdf, .png, .svg). PNG and SVG write a file per page: OUT with %d replaced "
            "by the page number, or with -1, -2... before the extension.",
            zelLoadOptions({{"--pages", "RANGE", "the pages to export, as \"1,3-5\" or \"7-\" (all)"},
                            {"--dpi", "N", "pixels per inch of PNG pictures (96)"},
                            zelVarOption()}),
            exportReport};
}
