#pragma once
/// \file

#include <QString>
#include <QtGlobal>

/// Static types of script entries and expressions.
enum TkvVarType : quint8 {
    fvtInt,
    fvtBool,
    fvtFloat,
    fvtChar,
    fvtString,
    fvtClass,
    fvtArray,
    fvtVariant,
    fvtEnum,
    fvtConstructor,
    fvtInt64,
};

/// The full type name messages show: "Integer", "Extended", the class or
/// enumeration's own name for classes and enumerations.
QString kvTypeName(TkvVarType typ, const QString &typeName);
/// The variant type code a value is converted to on assignment to an entry
/// of Typ (varVariant: stored as it is).
quint16 kvStorageCode(TkvVarType typ);
/// Whether a value of type Source may go where Target is expected (operands,
/// for bounds, initial values). Classes are compared by the caller.
bool kvTypesCompatible(TkvVarType target, const QString &targetName, TkvVarType source, const QString &sourceName);
/// kvTypesCompatible, refusing also floats for integers (assignments, arguments).
bool kvAssignCompatible(TkvVarType target, const QString &targetName, TkvVarType source, const QString &sourceName);
