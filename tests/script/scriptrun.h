#pragma once

#include <QString>

// What running a script program prints, the same way `zelreport script` does:
// the ShowMessage lines on standard output, and on failure the one error line.
struct ScriptOutcome
{
    QString Output; ///< every ShowMessage text followed by "\n"
    QString Error;  ///< "ERROR at LINE:COL: MESSAGE", empty on success
};

class TkvScript;

/// Compiles and runs Source as a program of Language ("PascalScript",
/// "C++Script", "BasicScript", "JScript") with every binding module, in a
/// script whose parent is Parent (the global unit when none).
ScriptOutcome runScript(const QString &language, const QString &source, TkvScript *parent = nullptr);
