#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/report/zelreport.h"
#include "prepared/zelpreviewpages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

#include <QFileInfo>
#include <optional>

namespace {

// A template written under a prepared report's name, or the other way
// round, could not be opened for what its name promises.
bool outputKindMatches(const QString &input, const QString &output)
{
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (suffix != u"zt3" && suffix != u"zp3")
        return true;
    if ((suffix == u"zp3") == zelIsPreparedReport(input))
        return true;
    zelSay(zelFormat(zelRes(zelIsPreparedReport(input) ? "clOutNotTemplate" : "clOutNotPrepared"), {output, input}));
    return false;
}

int resave(const TzelCommandArgs &args)
{
    const QString &input = args.Positional.at(0);
    const QString &output = args.Positional.at(1);
    if (!outputKindMatches(input, output))
        return 2;
    TzelReport report;
    std::optional<TzelPreviewPages> prepared;
    if (zelIsPreparedReport(input))
        prepared.emplace(&report);
    const bool loaded = prepared ? zelLoadPrepared(*prepared, input) : zelLoadTemplate(report, input, args);
    if (!loaded)
        return zelFinish(report, input, 1);
    return zelWriteOutput(report, input, [&] {
        if (prepared)
            prepared->SaveToFile(output);
        else
            report.SaveToFile(output);
    });
}

} // namespace

TzelCommand zelResaveCommand()
{
    return {"resave",
            "IN OUT",
            "Load a template (.zt3) or a prepared report (.zp3) and write it again to OUT, which keeps the kind of "
            "IN. Status 1 when the load collected errors; what was read is written all the same.",
            {zelPasswordOption()},
            resave};
}
