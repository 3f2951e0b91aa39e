#include "guiprogram.h"

#include "base/core/zelexception.h"
#include "script/gui/kvguiobjects.h"
#include "script/gui/kvguirtti.h"

namespace {

TkvScript *registeredGlobalUnit()
{
    kvRegisterGuiRTTI();
    return TkvScript::GlobalUnit();
}

} // namespace

GuiProgram::GuiProgram(const char *language, const char *source, bool restricted)
    : Scope(registeredGlobalUnit()), Script(&Scope)
{
    // The global unit may predate the GUI modules; this scope has them all.
    Scope.AddRTTI();
    Script.SyntaxType = QString::fromLatin1(language);
    Script.Lines = {QString::fromUtf8(source)};
    Script.Restricted = restricted;
}

QString GuiProgram::Run()
{
    try {
        if (Script.Compile())
            Script.Execute();
    } catch (const TzelException &) {
    }
    return Script.ErrorMsg.isEmpty() ? QString() : QStringLiteral("ERROR at ") + Script.ErrorText();
}

QObject *GuiProgram::Object(const char *name) const
{
    return kvGuiObjectOf(Script.Variables(QString::fromLatin1(name)));
}

QString shown(FakeDialogService &dialogs)
{
    QStringList texts;
    for (const QString &m : std::exchange(dialogs.Messages, {}))
        texts << m.mid(m.indexOf(QLatin1String(": ")) + 2);
    return texts.join(QLatin1Char('\n'));
}
