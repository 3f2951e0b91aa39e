#include "scriptrun.h"

#include "base/core/zelexception.h"
#include "base/services/zeldialogservice.h"
#include "script/engine/kvscript.h"

namespace {

// Collects the message boxes a script shows, one line each.
class CapturedMessages : public TzelDialogService
{
public:
    explicit CapturedMessages(QString &out) : FOut(out) { SetInstance(this); }
    ~CapturedMessages() override { SetInstance(nullptr); }
    int MessageBox(const QString &text, const QString &, int, Icon) override
    {
        FOut += text + QLatin1Char('\n');
        return mbOK;
    }
    bool InputPassword(const QString &, QString &) override { return false; }
    FileResult FileDialog(const FileRequest &) override { return {}; }

private:
    QString &FOut;
};

} // namespace

ScriptOutcome runScript(const QString &language, const QString &source, TkvScript *parent)
{
    ScriptOutcome outcome;
    const CapturedMessages messages(outcome.Output);
    TkvScript script(parent ? parent : TkvScript::GlobalUnit());
    script.SyntaxType = language;
    script.Lines = {source};
    try {
        if (script.Compile())
            script.Execute();
    } catch (const TzelException &) {
    }
    if (!script.ErrorMsg.isEmpty())
        outcome.Error = QStringLiteral("ERROR at ") + script.ErrorText();
    return outcome;
}
