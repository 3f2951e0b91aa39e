#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "model/reflect/zelpersistent.h"

#include <QString>

/// One entry of a variables list: a named value, or a category heading when
/// the name starts with a blank.
class TzelVariable : public TzelPersistent
{
    ZEL_CLASS(TzelVariable, TzelPersistent)

    QString Name;             ///< the name; a leading blank makes the entry a category heading
    Variant Value;            ///< the value, often the text of an expression
    bool IsInherited = false; ///< comes from the template this one inherits from

    /// Whether the entry is a category heading.
    bool IsCategory() const { return Name.startsWith(u' '); }
    /// The category's name: the name without its leading blank, at most 254 characters.
    QString CategoryName() const { return Name.mid(1, 254); }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelVariable> &p);
};
