#include "dialogs/zelwidgetdialogservice.h"
#include "model/report/zelreport.h"
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
    if (const std::optional<int> failed = zelReadInput(report, input, args, false))
        return *failed;
    // The window is the program: it stays until the user closes it. A
    // template is built as the window shows it.
    report.PreviewOptions().Modal = true;
    if (zelIsPreparedReport(input))
        report.ShowPreparedReport();
    else
        report.ShowReport(true);
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
