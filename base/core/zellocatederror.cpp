#include "base/core/zellocatederror.h"

QString TzelLocatedError::Text() const
{
    QString text = File;
    if (Line > 0) {
        if (!text.isEmpty())
            text += u':';
        text += QString::number(Line);
        if (Column > 0)
            text += u':' + QString::number(Column);
    }
    if (!text.isEmpty())
        text += QStringLiteral(": ");
    if (!Where.isEmpty())
        text += Where + QStringLiteral(": ");
    return text + Message;
}
