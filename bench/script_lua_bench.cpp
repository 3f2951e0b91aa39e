// Run speed of the script engine against Lua 5.4 on three small programs
// (bench/scripts/*): recursive fib(30), a 50,000,000-step summing loop and a
// 10 MB string built from 1,000,000 appends. Each is timed in the four
// languages (Execute only, compiled afresh before each run) and with
// `lua5.4 FILE.lua` (the whole process, start-up included, which is about a
// millisecond). Prints the best of five runs of each.
#include "base/core/zelexception.h"
#include "base/services/zeldialogservice.h"
#include "script/engine/kvscript.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

const QString kScriptDir = QStringLiteral(ZEL_SOURCE_DIR "/bench/scripts/");
constexpr double kFailed = std::numeric_limits<double>::quiet_NaN();

// Keeps the last ShowMessage text, so a run can be checked without a window
// or console output.
class CaptureDialogService final : public TzelDialogService
{
public:
    QString Last;
    int MessageBox(const QString &text, const QString &, int, Icon) override
    {
        Last = text;
        return mbOK;
    }
    bool InputPassword(const QString &, QString &) override { return false; }
    FileResult FileDialog(const FileRequest &) override { return {}; }
};

struct Program
{
    const char *Name;
    const char *Expected;
};

struct Language
{
    const char *Name;
    const char *Extension;
};

const Program kPrograms[] = {{"fib", "832040"}, {"sum", "1250000025000000"}, {"concat", "10000000"}};
const Language kLanguages[] = {
    {"PascalScript", "pas"}, {"C++Script", "cps"}, {"BasicScript", "bas"}, {"JScript", "js"}};

/// Wall-clock seconds of one call of Run; NaN when it fails.
// Processor time, not wall time: on a shared machine the wall clock also
// counts the time other guests take, which varies far more than the
// difference being measured. Self is this process; otherwise its children
// that have ended.
double cpuSeconds(bool self)
{
    rusage usage{};
    getrusage(self ? RUSAGE_SELF : RUSAGE_CHILDREN, &usage);
    const auto secs = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return secs(usage.ru_utime) + secs(usage.ru_stime);
}

/// Processor seconds Run takes (of this process when Self, else of the
/// children it waits for); NaN when it fails.
double seconds(const std::function<bool()> &run, bool self = true)
{
    const double start = cpuSeconds(self);
    return run() ? cpuSeconds(self) - start : kFailed;
}

/// The best of five calls of Once; NaN as soon as one fails.
double bestOfFive(const std::function<double()> &once)
{
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 5; ++i) {
        const double s = once();
        if (std::isnan(s))
            return kFailed;
        best = std::min(best, s);
    }
    return best;
}

// Compared as numbers: a sum past 2^31 prints as a float ("1.250000025E15").
void warnIfWrong(const Program &program, const char *runner, const QString &got)
{
    bool ok = false;
    if (got.toDouble(&ok) != QString::fromLatin1(program.Expected).toDouble() || !ok)
        std::printf("warning: %s in %s printed \"%s\", expected %s\n", program.Name, runner, qPrintable(got),
                    program.Expected);
}

/// Execute time of the program in Language, compiled afresh so that no run
/// sees the globals another left behind.
double oursOnce(const Program &program, const Language &language, const QString &source,
                CaptureDialogService &dialogs)
{
    TkvScript script(TkvScript::GlobalUnit());
    script.SyntaxType = QString::fromLatin1(language.Name);
    script.Lines = source.split(QLatin1Char('\n'));
    if (!script.Compile()) {
        std::printf("%s.%s: %s: %s\n", program.Name, language.Extension, qPrintable(script.ErrorPos),
                    qPrintable(script.ErrorMsg));
        return kFailed;
    }
    dialogs.Last.clear();
    return seconds([&] {
        try {
            script.Execute();
        } catch (const TzelException &e) {
            std::printf("%s.%s: %s: %s\n", program.Name, language.Extension, qPrintable(script.ErrorPos),
                        qPrintable(e.message()));
            return false;
        }
        warnIfWrong(program, language.Name, dialogs.Last);
        return true;
    });
}

double timeOurs(const Program &program, const Language &language, CaptureDialogService &dialogs)
{
    QFile file(kScriptDir + QLatin1String(program.Name) + QLatin1Char('.') + QLatin1String(language.Extension));
    if (!file.open(QIODevice::ReadOnly)) {
        std::printf("cannot read %s\n", qPrintable(file.fileName()));
        return kFailed;
    }
    const QString source = QString::fromUtf8(file.readAll());
    return bestOfFive([&] { return oursOnce(program, language, source, dialogs); });
}

double timeLua(const QString &lua, const Program &program)
{
    const QString path = kScriptDir + QLatin1String(program.Name) + QStringLiteral(".lua");
    return bestOfFive([&] {
        QProcess process;
        return seconds([&] {
            process.start(lua, {path});
            if (!process.waitForFinished(-1) || process.exitCode() != 0) {
                std::printf("lua5.4 %s failed: %s\n", qPrintable(path), process.readAllStandardError().constData());
                return false;
            }
            warnIfWrong(program, "Lua", QString::fromUtf8(process.readAllStandardOutput()).trimmed());
            return true;
        }, false);
    });
}

/// A table cell: the number, or "-" when there is none.
QByteArray cell(double value, int decimals)
{
    return std::isnan(value) ? QByteArray("-") : QByteArray::number(value, 'f', decimals);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    CaptureDialogService dialogs;
    TzelDialogService::SetInstance(&dialogs);
    const QString lua = QStandardPaths::findExecutable(QStringLiteral("lua5.4"));
    if (lua.isEmpty())
        std::printf("lua5.4 not installed\n");

    std::printf("%-8s %-13s %10s %10s %8s\n", "program", "language", "ours (s)", "Lua (s)", "ratio");
    for (const Program &program : kPrograms) {
        const double luaSeconds = lua.isEmpty() ? kFailed : timeLua(lua, program);
        for (const Language &language : kLanguages) {
            const double ours = timeOurs(program, language, dialogs);
            std::printf("%-8s %-13s %10s %10s %8s\n", program.Name, language.Name, cell(ours, 3).constData(),
                        cell(luaSeconds, 3).constData(), cell(ours / luaSeconds, 1).constData());
            std::fflush(stdout);
        }
    }
    TzelDialogService::SetInstance(nullptr);
    return 0;
}
