#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/core/zelutf8.h"
#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "script/engine/kvscript.h"
#include "script/grammar/kvilparser.h"
#include "script/grammar/kvlanguages.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

#include <QFile>
#include <QFileInfo>

namespace {

int fail(const QString &where, const QString &message)
{
    zelPrintErrorLine(QStringLiteral("ERROR at %1: %2").arg(where, message));
    return 1;
}

// Message boxes of a script run in batch: the text on standard output.
class ConsoleMessages : public TzelDialogService
{
public:
    ConsoleMessages() { SetInstance(this); }
    ~ConsoleMessages() override { SetInstance(nullptr); }
    int MessageBox(const QString &text, const QString &, int buttons, Icon) override
    {
        zelPrintLine(text);
        return (buttons & mbOK) ? mbOK : mbCancel;
    }
    bool InputPassword(const QString &, QString &) override { return false; }
    FileResult FileDialog(const FileRequest &) override { return {}; }
};

int printTree(const QString &language, const QString &folder, const QString &text)
{
    TkvILParser parser;
    parser.SelectLanguage(language);
    parser.IncludePath = {folder};
    if (!parser.MakeILScript(text)) {
        const QString message = parser.ErrorMsg.isEmpty() ? QStringLiteral("Syntax error") : parser.ErrorMsg;
        const QString unit = parser.ErrorUnit.isEmpty() ? QString() : parser.ErrorUnit + QLatin1Char(' ');
        return fail(unit + parser.ErrorPos, message);
    }
    parser.ILScript.AutoIndent = true;
    zelPrintText(QString::fromUtf8(parser.ILScript.ToText()));
    return 0;
}

int run(const QString &language, const QString &folder, const QString &text, bool restricted)
{
    const ConsoleMessages messages;
    TkvScript script(TkvScript::GlobalUnit());
    script.Restricted = restricted;
    script.SyntaxType = language;
    script.IncludePath = {folder};
    script.Lines = {text};
    if (!script.Compile()) {
        zelPrintErrorLine(QStringLiteral("ERROR at ") + script.ErrorText());
        return 1;
    }
    try {
        script.Execute();
    } catch (const TzelException &) {
        zelPrintErrorLine(QStringLiteral("ERROR at ") + script.ErrorText());
        return 1;
    }
    return 0;
}

int script(const TzelCommandArgs &args)
{
    const QString fileName = args.Positional.at(0);
    const QString language = args.Value("--language");
    try {
        TkvLanguages::GetLanguageGrammar(language);
    } catch (const TzelException &e) {
        zelSay(e.message());
        return 2;
    }
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
    // Units named by the script lie beside it.
    const QString folder = QFileInfo(fileName).absolutePath();
    try {
        return args.Has("--tree") ? printTree(language, folder, text)
                                   : run(language, folder, text, args.Has("--restricted"));
    } catch (const TzelException &e) {
        zelSay(e.message());
        return 1;
    }
}

} // namespace

TzelCommand zelScriptCommand()
{
    return {"script",
            "FILE",
            "Compile and run a script; ShowMessage prints its text on standard output. With --tree, print the "
            "program tree as XML instead. An error prints \"ERROR at LINE:COL: MESSAGE\" and exits with 1.",
            {{"--language", "NAME", "PascalScript, C++Script, BasicScript or JScript"},
             {"--tree", nullptr, "print the program tree instead of running"},
             zelRestrictedOption()},
            script};
}
