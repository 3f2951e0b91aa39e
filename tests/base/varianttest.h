#pragma once

// Assertions shared by the variant tests: values compared by type and value,
// and the message of a failing operation.
#include "base/variant/zelvariant.h"

#include <functional>
#include <gtest/gtest.h>

/// "Type text" of V, for failure messages.
inline QString Describe(const Variant &v)
{
    try {
        return Variant::TypeName(v.VarType()) + QLatin1Char(' ') + v.ToString();
    } catch (const TzelVariantError &) {
        return Variant::TypeName(v.VarType());
    }
}

inline ::testing::AssertionResult Same(const Variant &actual, const Variant &expected)
{
    if (Variant::Identical(actual, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << Describe(actual).toStdString() << ", expected "
                                         << Describe(expected).toStdString();
}

// Message of the variant error F raises; empty when it raises none.
inline QString ErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const TzelVariantError &e) {
        return e.message();
    }
    return QString();
}

inline Variant S(const char *text) { return Variant(QString::fromUtf8(text)); }
