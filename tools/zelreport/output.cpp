#include "tools/zelreport/output.h"

#include "base/resources/zelresources.h"
#include "model/report/zelreport.h"

#include <cstdio>

void zelSay(const QString &text)
{
    std::fprintf(stderr, "zelreport: %s\n", qUtf8Printable(text));
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

void zelPrintLine(const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}
