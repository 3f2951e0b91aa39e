#pragma once
/// \file

#include "model/data/zelvariables.h"

/// A variables list used as an associative array: entries are looked up by a
/// variant key, compared by its text.
class TzelArray : public TzelVariables
{
public:
    /// The value stored under Key; Null when there is none.
    Variant Get(const Variant &key) const { return Value(zelVariantKey(key)); }
    /// Stores Value under Key, appending an entry when missing.
    void Set(const Variant &key, const Variant &value) { SetValue(zelVariantKey(key), value); }

private:
    static QString zelVariantKey(const Variant &key);
};
