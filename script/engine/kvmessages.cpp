#include "script/engine/kvmessages.h"

#include <QHash>
#include <QMutex>

namespace {

struct Messages
{
    QMutex Lock;
    QHash<QString, QString> Texts{
        {QStringLiteral("SLangNotFound"), QStringLiteral("Language '%s' not found")},
        {QStringLiteral("SInvalidLanguage"), QStringLiteral("Invalid language definition")},
        {QStringLiteral("SIdRedeclared"), QStringLiteral("Identifier redeclared: ")},
        {QStringLiteral("SUnknownType"), QStringLiteral("Unknown type: ")},
        {QStringLiteral("SIncompatibleTypes"), QStringLiteral("Incompatible types")},
        {QStringLiteral("SIdUndeclared"), QStringLiteral("Undeclared identifier: ")},
        {QStringLiteral("SClassRequired"), QStringLiteral("Class type required")},
        {QStringLiteral("SIndexRequired"), QStringLiteral("Index required")},
        {QStringLiteral("SStringError"), QStringLiteral("Strings do not have properties or methods")},
        {QStringLiteral("SClassError"), QStringLiteral("Class %s does not have a default property")},
        {QStringLiteral("SArrayRequired"), QStringLiteral("Array type required")},
        {QStringLiteral("SVarRequired"), QStringLiteral("Variable required")},
        {QStringLiteral("SNotEnoughParams"), QStringLiteral("Not enough actual parameters")},
        {QStringLiteral("STooManyParams"), QStringLiteral("Too many actual parameters")},
        {QStringLiteral("SLeftCantAssigned"), QStringLiteral("Left side cannot be assigned to")},
        {QStringLiteral("SForError"), QStringLiteral("For loop variable must be numeric variable")},
        {QStringLiteral("SEventError"), QStringLiteral("Event handler must be a procedure")},
        {QStringLiteral("SStackOverflow"), QStringLiteral("Stack overflow")},
        {QStringLiteral("SInvalidObject"), QStringLiteral("Invalid object reference")},
        {QStringLiteral("SRestricted"), QStringLiteral("%s is not allowed in restricted mode")},
        {QStringLiteral("SComponentNotFound"), QStringLiteral("Component with name %s not found")},
        {QStringLiteral("SComponentAssign"), QStringLiteral("Can not assign value to component field %s")},
        {QStringLiteral("SNoAutomation"), QStringLiteral("Automation objects are not available on this system: %s")},
        {QStringLiteral("SIndexOutOfBounds"), QStringLiteral("Index %s out of bounds")},
    };
};

Messages &messages()
{
    static Messages m;
    return m;
}

} // namespace

QString kvMessage(const char *key)
{
    Messages &m = messages();
    const QMutexLocker lock(&m.Lock);
    const QString k = QString::fromLatin1(key);
    return m.Texts.value(k, k);
}

void kvSetMessage(const QString &key, const QString &text)
{
    Messages &m = messages();
    const QMutexLocker lock(&m.Lock);
    m.Texts.insert(key, text);
}
