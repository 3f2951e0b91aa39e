#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QString>
#include <functional>
#include <optional>

class TzelClassInfo;
class TzelEnumInfo;
class TzelPersistent;

/// What a published property holds; decides how it is stored and edited.
enum class TzelPropKind {
    Integer,      ///< 32-bit integer
    Char,         ///< one character
    Color,        ///< colour value, 0x00BBGGRR or a system colour
    Enum,         ///< enumeration, stored by value name
    Boolean,      ///< enumeration False/True
    Set,          ///< set of an enumeration, stored as a bit sum
    Int64,        ///< 64-bit integer
    Float,        ///< floating point (coordinates, sizes, day serials)
    String,       ///< text
    Variant,      ///< any variant value
    StringList,   ///< lines of text, stored as one text joined by CR LF
    ComponentRef, ///< reference to another component, stored by name
    Object,       ///< owned nested object, stored under dotted names
    Event,        ///< name of a script procedure
    Callback,     ///< host callback; never stored
};

/// One published property of a class: its name, kind and type name, how to
/// read and write it, and when the serializer stores it. Values travel as
/// variants: ordinals for enumerations, bit sums for sets, the text joined by
/// CR LF for string lists.
struct TzelPropInfo
{
    QString Name;                 ///< published name ("HAlign")
    QString TypeName;             ///< type name for editors ("TzelHAlign", "TColor")
    TzelPropKind Kind = TzelPropKind::Integer; ///< what the property holds
    int Index = 0;                ///< declaration index, base-class properties first

    /// Reads the value (not for Object, ComponentRef and Callback).
    std::function<Variant(const TzelPersistent &)> Get;
    /// Writes the value; empty for a read-only property.
    std::function<void(TzelPersistent &, const Variant &)> Set;
    /// The same write without a variant, for a reader that knows the kind
    /// (the template reader); empty where only Set serves. A number for
    /// integers, enumerations and Booleans, a float, a text.
    std::function<void(TzelPersistent &, qint64)> SetNumber;
    std::function<void(TzelPersistent &, double)> SetFloat; ///< writes a float
    std::function<void(TzelPersistent &, const QString &)> SetText; ///< writes a text
    /// Declared default: a value equal to it is not stored. None: always stored.
    std::optional<Variant> Default;
    /// Stored-test of the class; empty means always stored.
    std::function<bool(const TzelPersistent &)> Stored;
    /// Value names of Enum, Boolean and Set properties.
    const TzelEnumInfo *Enum = nullptr;
    /// Class of a nested object or of the referenced component; looked up
    /// on demand, since a class may refer to itself.
    const TzelClassInfo &(*ObjectClass)() = nullptr;
    /// The nested object of an Object property.
    std::function<TzelPersistent *(const TzelPersistent &)> Nested;
    /// The referenced component of a ComponentRef property, or nullptr.
    std::function<TzelPersistent *(const TzelPersistent &)> GetRef;
    /// Sets the referenced component of a ComponentRef property.
    std::function<void(TzelPersistent &, TzelPersistent *)> SetRef;

    /// Whether the stored-test of Object passes.
    bool IsStored(const TzelPersistent &object) const { return !Stored || Stored(object); }
    /// Whether the property can be written.
    bool IsWritable() const { return bool(Set) || bool(SetRef); }
    /// Whether Object holds the declared default (False when there is none).
    bool HoldsDefault(const TzelPersistent &object) const
    {
        return Default && Get && Variant::Identical(Get(object), *Default);
    }
};
