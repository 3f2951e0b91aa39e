#include "model/report/zelreport.h"
#include "prepared/zelpagestext.h"
#include "prepared/zelpreviewpages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

namespace {

int text(const TzelCommandArgs &args)
{
    const QString &input = args.Positional.at(0);
    TzelReport report;
    if (zelIsPreparedReport(input)) {
        TzelPreviewPages prepared(&report);
        if (!zelLoadPrepared(prepared, input))
            return zelFinish(report, input, 1);
        zelPrintText(zelPagesText(prepared));
        return zelFinish(report, input);
    }
    if (!zelLoadTemplate(report, input, args))
        return zelFinish(report, input, 1);
    if (!zelBuildReport(report))
        return zelFinish(report, input, 1);
    zelPrintText(zelPagesText(*report.PreviewPages()));
    return zelFinish(report, input);
}

} // namespace

TzelCommand zelTextCommand()
{
    return {"text",
            "IN",
            "Print every page of a prepared report (.zp3), or of a template (.zt3) built first, and every object "
            "on it: class, name, left, top, width and height in millimetres from the printable area's corner, "
            "and the text of text objects.",
            zelLoadOptions(),
            text};
}
