#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/report/zelreport.h"
#include "prepared/zelpreviewpages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

namespace {

// Sets the report variables of every "--var NAME=VALUE"; the value is an
// expression text, as the variables store it.
bool setVariables(TzelReport &report, const TzelCommandArgs &args)
{
    for (const QString &pair : args.All("--var")) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq <= 0) {
            zelSay(zelFormat(zelRes("clBadVariable"), {pair}));
            return false;
        }
        report.Variables().SetValue(pair.left(eq).trimmed(), Variant(pair.mid(eq + 1)));
    }
    return true;
}

int build(const TzelCommandArgs &args)
{
    const QString &input = args.Positional.at(0);
    const QString &output = args.Positional.at(1);
    if (!zelOutputOfKind(output, "zp3"))
        return 2;
    if (!zelTemplateInput(input))
        return 2;
    TzelReport report;
    if (!zelLoadTemplate(report, input, args))
        return zelFinish(report, input, 1);
    if (!setVariables(report, args))
        return 2;
    // Nothing is written unless the build ran to its end.
    if (!zelBuildReport(report))
        return zelFinish(report, input, 1);
    return zelWriteOutput(report, input, [&] { report.PreviewPages()->SaveToFile(output); });
}

} // namespace

TzelCommand zelBuildCommand()
{
    return {"build",
            "IN.zt3 OUT.zp3",
            "Build a template into a prepared report: every page with its bands and objects, written to OUT.",
            zelLoadOptions({{"--var", "NAME=VALUE", "set report variable NAME to the expression VALUE (text in quotes)",
                             true}}),
            build};
}
