#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/core/zelutf8.h"
#include "script/grammar/kvilparser.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

#include <QFile>
#include <QFileInfo>

namespace {

int fail(const QString &position, const QString &message)
{
    zelPrintErrorLine(QStringLiteral("ERROR at %1: %2").arg(position, message));
    return 1;
}

int script(const TzelCommandArgs &args)
{
    const QString fileName = args.Positional.at(0);
    if (!args.Has("--tree")) {
        zelSay(QStringLiteral("zelreport script: give --tree to print the program tree"));
        return 2;
    }
    TkvILParser parser;
    try {
        parser.SelectLanguage(args.Value("--language"));
    } catch (const TzelException &e) {
        zelSay(e.message());
        return 2;
    }
    // Units named by the script lie beside it.
    parser.IncludePath = {QFileInfo(fileName).absolutePath()};
    if (!zelInputFile(fileName))
        return 1;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        zelSay(zelFormat(zelRes("ioCantOpen"), {fileName, file.errorString()}));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    QString text;
    qsizetype bad = 0;
    if (!zelDecodeUtf8(bytes, text, bad))
        return fail(zelUtf8Position(bytes, bad), QStringLiteral("The script is not valid UTF-8"));
    try {
        if (!parser.MakeILScript(text)) {
            const QString message = parser.ErrorMsg.isEmpty() ? QStringLiteral("Syntax error") : parser.ErrorMsg;
            const QString unit = parser.ErrorUnit.isEmpty() ? QString() : parser.ErrorUnit + QLatin1Char(' ');
            return fail(unit + parser.ErrorPos, message);
        }
    } catch (const TzelException &e) {
        zelSay(e.message());
        return 1;
    }
    parser.ILScript.AutoIndent = true;
    zelPrintText(QString::fromUtf8(parser.ILScript.ToText()));
    return 0;
}

} // namespace

TzelCommand zelScriptCommand()
{
    return {"script",
            "FILE",
            "Parse a script and print its program tree as XML. A syntax error prints \"ERROR at LINE:COL: "
            "MESSAGE\" and exits with 1.",
            {{"--language", "NAME", "PascalScript, C++Script, BasicScript or JScript"},
             {"--tree", nullptr, "print the program tree"}},
            script};
}
