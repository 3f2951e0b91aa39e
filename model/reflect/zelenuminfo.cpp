#include "model/reflect/zelenuminfo.h"

#include "base/core/zelcaseless.h"

TzelEnumInfo::TzelEnumInfo(const char *typeName, const char *nameList)
    : FTypeName(QString::fromLatin1(typeName))
{
    for (const QString &name : QString::fromLatin1(nameList).split(u',', Qt::SkipEmptyParts))
        FNames << name.trimmed();
}

QString TzelEnumInfo::NameOf(int ordinal) const
{
    return ordinal >= 0 && ordinal < FNames.size() ? FNames.at(ordinal) : QString();
}

int TzelEnumInfo::ValueOf(QStringView name) const
{
    for (qsizetype i = 0; i < FNames.size(); ++i)
        if (zelSameName(name, FNames.at(i)))
            return int(i);
    return -1;
}
