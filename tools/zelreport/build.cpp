#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/report/zelreport.h"
#include "prepared/zelpreviewpages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

namespace {

int build(const TzelCommandArgs &args)
{
    const QString &input = args.Positional.at(0);
    const QString &output = args.Positional.at(1);
    if (!zelOutputOfKind(output, "zp3"))
        return 2;
    if (!zelTemplateInput(input))
        return 2;
    TzelReport report;
    // Nothing is written unless the build ran to its end.
    if (const std::optional<int> failed = zelBuildTemplate(report, input, args))
        return *failed;
    return zelWriteOutput(report, input, [&] { report.PreviewPages()->SaveToFile(output); });
}

} // namespace

TzelCommand zelBuildCommand()
{
    return {"build",
            "IN.zt3 OUT.zp3",
            "Build a template into a prepared report: every page with its bands and objects, written to OUT.",
            zelLoadOptions({zelVarOption()}),
            build};
}
