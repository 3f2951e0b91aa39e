#include "tools/zelreport/output.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/report/zelreport.h"

#include <QScopedValueRollback>
#include <cstdio>
#include <unistd.h>

void zelSay(const QString &text)
{
    std::fprintf(stderr, "zelreport: %s\n", qUtf8Printable(text));
}

void zelPrintErrorLine(const QString &text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

int zelFinish(const TzelReport &report, const QString &fileName, int status)
{
    if (report.Errors().IsEmpty())
        return status;
    std::fprintf(stderr, "%s\n", qUtf8Printable(zelRes("clErrors")));
    for (TzelLocatedError error : report.Errors().InOrder()) {
        if (error.File.isEmpty())
            error.File = fileName;
        std::fprintf(stderr, "%s\n", qUtf8Printable(error.Text()));
    }
    return 1;
}

int zelWriteOutput(const TzelReport &report, const QString &fileName, const std::function<void()> &write)
{
    try {
        write();
    } catch (const TzelException &e) {
        zelFinish(report, fileName);
        zelSay(e.message());
        return 1;
    }
    return zelFinish(report, fileName);
}

void zelPrintText(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void zelPrintLine(const QString &text)
{
    zelPrintText(text + u'\n');
}

bool zelBuildReport(TzelReport &report)
{
    if (isatty(fileno(stderr))) {
        report.OnProgress = [](const TzelProgress &progress) {
            std::fprintf(stderr, "\r%s", qUtf8Printable(zelFormat(zelRes("clBuilding"), {QString::number(progress.Page)})));
            std::fflush(stderr);
        };
        report.OnProgressStop = [](const TzelProgress &) { std::fputs("\r\033[K", stderr); };
    }
    // The tool lists what went wrong itself (zelFinish), once.
    const QScopedValueRollback<TzelSilentMode> silent(report.EngineOptions().NewSilentMode, simSilent);
    return report.PrepareReport();
}
