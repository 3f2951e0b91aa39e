#pragma once

// What every fuzz target sets up before its first input.
#include "base/services/zeldialogservice.h"
#include "base/variant/zelformatsettings.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace zelfuzz {

// Answers every question with Cancel and shows nothing: millions of loads
// must not fill the terminal.
class QuietDialogService final : public TzelDialogService
{
public:
    int MessageBox(const QString &, const QString &, int, Icon) override { return mbCancel; }
    bool InputPassword(const QString &, QString &) override { return false; }
    FileResult FileDialog(const FileRequest &) override { return {}; }
};

/// Installs the quiet dialog service and writes floats with "." whatever the
/// locale, so that an input means the same on every machine.
inline void setUp()
{
    static QuietDialogService dialogs;
    TzelDialogService::SetInstance(&dialogs);
    TzelFormatSettings settings = zelFormatSettings();
    settings.DecimalSeparator = u'.';
    zelSetFormatSettings(settings);
}

/// Whether ZEL_FUZZ_PRINT asks to show what each input turns into.
inline bool printRequested()
{
    return qEnvironmentVariableIntValue("ZEL_FUZZ_PRINT") != 0;
}

/// Stops the run: the fuzzer reports the input that got here.
[[noreturn]] inline void fail(const char *fuzzer, const char *what, const QString &detail)
{
    std::fprintf(stderr, "%s: %s %s\n", fuzzer, what, qPrintable(detail));
    std::abort();
}

} // namespace zelfuzz
