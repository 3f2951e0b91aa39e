#pragma once
/// \file

#include <QString>
#include <QStringList>
#include <QStringView>

/// Names of the values of an enumeration, in order, with the type's name. Sets
/// of an enumeration use the same names, bit n standing for the n-th value.
class TzelEnumInfo
{
public:
    /// Info for type TypeName whose value names are NameList, separated by commas.
    TzelEnumInfo(const char *typeName, const char *nameList);

    /// The enumeration's type name ("TzelHAlign").
    const QString &TypeName() const { return FTypeName; }
    /// The value names in order ("haLeft", "haRight", ...).
    const QStringList &Names() const { return FNames; }
    /// Number of values.
    int Count() const { return int(FNames.size()); }
    /// Name of value Ordinal; empty when out of range.
    QString NameOf(int ordinal) const;
    /// Ordinal of the value named Name (case ignored), or -1.
    int ValueOf(QStringView name) const;

private:
    QString FTypeName;
    QStringList FNames;
};

/// Declares enumeration Name with the given values and its TzelEnumInfo, found
/// by zelEnumInfo<Name>(). Values are plain names numbered from 0.
#define ZEL_ENUM(Name, ...)                                                                                  \
    enum Name { __VA_ARGS__ };                                                                               \
    inline const TzelEnumInfo &zelEnumInfoOf(Name)                                                           \
    {                                                                                                        \
        static const TzelEnumInfo info(#Name, #__VA_ARGS__);                                                 \
        return info;                                                                                         \
    }

/// The TzelEnumInfo declared with ZEL_ENUM for enumeration E.
template <class E>
const TzelEnumInfo &zelEnumInfo()
{
    return zelEnumInfoOf(E{});
}
