#include "tools/zelreport/load.h"

#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/data/zelcsvdataset.h"
#include "model/data/zelcustomdatabase.h"
#include "model/report/zelreport.h"
#include "prepared/zelpreviewpages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/output.h"

#include <QFileInfo>

bool zelInputFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.isFile())
        return true;
    zelSay(zelFormat(zelRes(info.isDir() ? "clIsFolder" : "clFileNotFound"), {fileName}));
    return false;
}

namespace {

bool hasSuffix(const QString &fileName, QLatin1StringView suffix)
{
    return QFileInfo(fileName).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

} // namespace

bool zelIsPreparedReport(const QString &fileName)
{
    return hasSuffix(fileName, QLatin1StringView("zp3"));
}

bool zelOutputOfKind(const QString &fileName, const char *suffix)
{
    if (hasSuffix(fileName, QLatin1StringView(suffix)))
        return true;
    zelSay(zelFormat(zelRes("clWrongExtension"), {fileName, QLatin1Char('.') + QLatin1StringView(suffix)}));
    return false;
}

bool zelTemplateInput(const QString &fileName)
{
    if (!zelIsPreparedReport(fileName))
        return true;
    zelSay(zelFormat(zelRes("clNotTemplate"), {fileName}));
    return false;
}

bool zelLoadTemplate(TzelReport &report, const QString &fileName, const TzelCommandArgs &args)
{
    if (!zelInputFile(fileName))
        return false;
    report.EngineOptions().NewSilentMode = simSilent;
    if (args.Has("--password"))
        report.ReportOptions().HiddenPassword = args.Value("--password");
    report.LoadFromFile(fileName);
    // The silence belongs to this tool, not to the template; so does trust.
    report.EngineOptions().NewSilentMode = simMessageBoxes;
    report.EngineOptions().Restricted = args.Has("--restricted");
    // The login and what data files may be come with the command, not with the template.
    for (TzelComponent *c : report.AllObjects()) {
        if (auto *database = dynamic_cast<TzelCustomDatabase *>(c))
            if (args.Has("--db-user") || args.Has("--db-password"))
                database->SetLogin(args.Value("--db-user"), args.Value("--db-password"));
        if (auto *csv = dynamic_cast<TzelCSVDataSet *>(c))
            csv->AllowPipe = args.Has("--allow-pipe");
    }
    return report.StreamLoaded();
}

bool zelLoadPrepared(TzelPreviewPages &pages, const QString &fileName)
{
    if (!zelInputFile(fileName))
        return false;
    pages.Report()->EngineOptions().NewSilentMode = simSilent;
    pages.LoadFromFile(fileName, true);
    return pages.StreamLoaded();
}

bool zelSetVariables(TzelReport &report, const TzelCommandArgs &args)
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

std::optional<int> zelNumberOption(const TzelCommandArgs &args, const char *name, int fallback, int low, int high)
{
    if (!args.Has(name))
        return fallback;
    bool ok = false;
    const int value = args.Value(name).toInt(&ok);
    if (ok && value >= low && value <= high)
        return value;
    zelSay(zelFormat(zelRes("clBadNumber"),
                     {args.Value(name), QString::number(low), QString::number(high), QString::fromLatin1(name)}));
    return std::nullopt;
}

namespace {

// Loads the template FileName and sets the variables of Args.
std::optional<int> readTemplate(TzelReport &report, const QString &fileName, const TzelCommandArgs &args)
{
    if (!zelLoadTemplate(report, fileName, args))
        return zelFinish(report, fileName, 1);
    if (!zelSetVariables(report, args))
        return 2;
    return std::nullopt;
}

} // namespace

std::optional<int> zelBuildTemplate(TzelReport &report, const QString &fileName, const TzelCommandArgs &args)
{
    if (const std::optional<int> failed = readTemplate(report, fileName, args))
        return failed;
    if (!zelBuildReport(report))
        return zelFinish(report, fileName, 1);
    return std::nullopt;
}

std::optional<int> zelReadInput(TzelReport &report, const QString &input, const TzelCommandArgs &args, bool build)
{
    auto *pages = dynamic_cast<TzelPreviewPages *>(report.PreviewPages());
    if (!zelInputFile(input) || !pages)
        return 2;
    if (zelIsPreparedReport(input)) {
        if (!zelLoadPrepared(*pages, input))
            return zelFinish(report, input, 1);
        return std::nullopt;
    }
    return build ? zelBuildTemplate(report, input, args) : readTemplate(report, input, args);
}
