#pragma once
/// \file

#include "model/reflect/zelpersistent.h"
#include "model/view/zelviewtypes.h"

#include <QString>

/// A display format of a text object: how values are turned into text.
class TzelFormat : public TzelPersistent
{
    ZEL_CLASS(TzelFormat, TzelPersistent)

    QString DecimalSeparator;  ///< decimal separator of numbers; the locale's when empty
    QString ThousandSeparator; ///< digit group separator of numbers
    QString FormatStr;         ///< the format pattern
    TzelFormatKind Kind = fkText; ///< the kind of value formatted

    /// Whether every value is equal.
    bool operator==(const TzelFormat &other) const
    {
        return DecimalSeparator == other.DecimalSeparator && ThousandSeparator == other.ThousandSeparator
               && FormatStr == other.FormatStr && Kind == other.Kind;
    }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelFormat> &p)
    {
        using T = TzelFormat;
        p.Prop("DecimalSeparator", &T::DecimalSeparator);
        p.Prop("ThousandSeparator", &T::ThousandSeparator);
        p.Prop("FormatStr", &T::FormatStr);
        p.Prop("Kind", &T::Kind).Default(fkText);
    }
};
