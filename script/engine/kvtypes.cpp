#include "script/engine/kvtypes.h"

#include "base/variant/zelvariant.h"

QString kvTypeName(TkvVarType typ, const QString &typeName)
{
    switch (typ) {
    case fvtInt:
        return QStringLiteral("Integer");
    case fvtBool:
        return QStringLiteral("Boolean");
    case fvtFloat:
        return QStringLiteral("Extended");
    case fvtChar:
        return QStringLiteral("Char");
    case fvtString:
        return QStringLiteral("String");
    case fvtClass:
    case fvtEnum:
        return typeName;
    case fvtArray:
        return QStringLiteral("Array");
    case fvtInt64:
        return QStringLiteral("Int64");
    case fvtVariant:
    case fvtConstructor:
        break;
    }
    return QStringLiteral("Variant");
}

quint16 kvStorageCode(TkvVarType typ)
{
    switch (typ) {
    case fvtInt:
        return varInteger;
    case fvtBool:
        return varBoolean;
    case fvtFloat:
        return varDouble;
    case fvtChar:
    case fvtString:
        return varUString;
    case fvtInt64:
        return varInt64;
    default:
        return varVariant;
    }
}

bool kvTypesCompatible(TkvVarType target, const QString &targetName, TkvVarType source, const QString &sourceName)
{
    if (source == fvtVariant && target != fvtConstructor)
        return true;
    switch (target) {
    case fvtInt:
    case fvtInt64:
        return source == fvtInt || source == fvtFloat || source == fvtEnum || source == fvtInt64;
    case fvtFloat:
        return source == fvtInt || source == fvtFloat || source == fvtInt64;
    case fvtBool:
        return source == fvtBool;
    case fvtChar:
    case fvtString:
        return source == fvtChar || source == fvtString;
    case fvtClass:
        return source == fvtClass;
    case fvtArray:
        return source == fvtArray;
    case fvtVariant:
        return true;
    case fvtEnum:
        return source == fvtInt || source == fvtInt64
            || (source == fvtEnum && targetName.compare(sourceName, Qt::CaseInsensitive) == 0);
    case fvtConstructor:
        return false;
    }
    return false;
}

bool kvAssignCompatible(TkvVarType target, const QString &targetName, TkvVarType source, const QString &sourceName)
{
    if ((target == fvtInt || target == fvtInt64) && source == fvtFloat)
        return false;
    return kvTypesCompatible(target, targetName, source, sourceName);
}
