#include "dialogs/zelwidgetdialogservice.h"
#include "model/report/zelreport.h"
#include "prepared/zelpreviewpages.h"
#include "preview/zelregisterpreview.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

namespace {

int previewReport(const TzelCommandArgs &args)
{
    const QString &input = args.Positional.at(0);
    TzelWidgetDialogService dialogs;
    TzelDialogService::SetInstance(&dialogs);
    struct Restore
    {
        ~Restore() { TzelDialogService::SetInstance(nullptr); }
    } restore;
    zelRegisterPreview();

    TzelReport report;
    auto *pages = dynamic_cast<TzelPreviewPages *>(report.PreviewPages());
    if (!zelInputFile(input) || !pages)
        return 2;
    // The window is the program: it stays until the user closes it.
    if (zelIsPreparedReport(input)) {
        if (!zelLoadPrepared(*pages, input))
            return zelFinish(report, input, 1);
        report.PreviewOptions().Modal = true;
        report.ShowPreparedReport();
    } else {
        if (!zelLoadTemplate(report, input, args))
            return zelFinish(report, input, 1);
        if (!zelSetVariables(report, args))
            return 2;
        report.PreviewOptions().Modal = true;
        report.ShowReport(true);
    }
    return zelFinish(report, input);
}

} // namespace

TzelCommand zelPreviewCommand()
{
    return {"preview", "IN",
            "Opens the preview window on IN: a template (.zt3), built as the window shows it, or a "
            "prepared report (.zp3). Needs a display.",
            zelLoadOptions({zelVarOption()}), previewReport};
}
