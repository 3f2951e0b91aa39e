#include "scriptrun.h"

#include "base/core/zelexception.h"
#include "script/engine/kvscript.h"
#include "support/testsupport.h"

ScriptOutcome runScript(const QString &language, const QString &source, TkvScript *parent)
{
    ScriptOutcome outcome;
    const FakeDialogService messages;
    TkvScript script(parent ? parent : TkvScript::GlobalUnit());
    script.SyntaxType = language;
    script.Lines = {source};
    try {
        if (script.Compile())
            script.Execute();
    } catch (const TzelException &) {
    }
    // Each message is recorded as "caption: text"; scripts show no caption.
    for (const QString &m : messages.Messages)
        outcome.Output += m.mid(m.indexOf(QLatin1String(": ")) + 2) + QLatin1Char('\n');
    if (!script.ErrorMsg.isEmpty())
        outcome.Error = QStringLiteral("ERROR at ") + script.ErrorText();
    return outcome;
}
