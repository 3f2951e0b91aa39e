#pragma once
/// \file

#include "base/core/zelset.h"
#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmltext.h"
#include "model/component/zelunits.h"

#include <QLatin1StringView>
#include <QString>
#include <initializer_list>
#include <type_traits>

class TzelPersistent;
struct TzelPropInfo;

/// Writes a difference text: the attributes in which a printed object differs
/// from its template object, each after a blank, in the compact forms the
/// prepared pages read back (ordinals, "1"/"0", bit sets in decimal, colours
/// as signed decimals). Floats differ when more than zelFloatTolerance apart. A nested
/// object writes through a child writer that prefixes its names.
class TzelDiffWriter
{
public:
    /// Appends to Text.
    explicit TzelDiffWriter(QString &text) : FText(text) {}
    /// Appends to Parent's text, names prefixed by Parent's prefix, Name and a dot.
    TzelDiffWriter(TzelDiffWriter &parent, const char *name) : FText(parent.FText), FParent(&parent), FName(name) {}

    /// Makes the comparing methods write whether or not the values differ.
    void SetWriteAll(bool value) { FWriteAll = value; }

    /// Appends Name="Value"; Value is written as given.
    void Add(const char *name, const QString &value) { Append(QLatin1StringView(name), value); }
    /// Appends Name="Value" for a name given as a string view.
    void Add(QStringView name, const QString &value) { Append(name, value); }

    /// Every published property of Value that holds a plain value (not a
    /// nested object, reference or list), in declaration order, compared
    /// with Other's by its kind.
    void Properties(const TzelPersistent &value, const TzelPersistent &other);
    /// The named published properties of Value, in the order given.
    void Properties(const TzelPersistent &value, const TzelPersistent &other, std::initializer_list<const char *> names);

    // Each of these appends Name with Value when Value differs from Other.
    /// Appends Name with a boolean Value when it differs from Other.
    template <class Name>
    void Bool(Name name, bool value, bool other)
    {
        if (Writes(value != other))
            Add(name, BoolText(value));
    }
    /// Appends Name with an integer Value when it differs from Other.
    template <class Name>
    void Int(Name name, qint64 value, qint64 other)
    {
        if (Writes(value != other))
            Add(name, QString::number(value));
    }
    /// Appends Name with an enumeration's ordinal when it differs from Other.
    template <class E>
        requires std::is_enum_v<E>
    void Enum(const char *name, E value, E other)
    {
        Int(name, qint64(value), qint64(other));
    }
    /// Appends Name with a set's bits when they differ from Other's.
    template <class E>
    void Set(const char *name, TzelSet<E> value, TzelSet<E> other)
    {
        Int(name, value.Bits(), other.Bits());
    }
    /// Appends Name with a coordinate when it differs from Other beyond rounding.
    template <class Name>
    void Float(Name name, double value, double other)
    {
        if (Writes(!zelSameCoord(value, other)))
            Add(name, zelFloatToStr(value));
    }
    /// The value is escaped.
    template <class Name>
    void String(Name name, const QString &value, const QString &other)
    {
        if (Writes(value != other))
            Add(name, EscapeXMLText(value));
    }

    /// "1" or "0".
    static QString BoolText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

    /// Whether a value is written, given whether it differs.
    bool Writes(bool differs) const { return differs || FWriteAll; }

private:
    template <class Name>
    void Append(Name name, const QString &value)
    {
        FText += u' ';
        AppendPrefix();
        FText += name;
        FText += QLatin1StringView("=\"");
        FText += value;
        FText += u'"';
    }
    void Property(const TzelPropInfo &prop, const TzelPersistent &value, const TzelPersistent &other);

    // Prefixes are spelled out only for attributes actually written: most
    // nested objects of a printed object do not differ.
    void AppendPrefix() const
    {
        if (!FParent)
            return;
        FParent->AppendPrefix();
        FText += QLatin1StringView(FName);
        FText += u'.';
    }

    QString &FText;
    const TzelDiffWriter *FParent = nullptr;
    const char *FName = nullptr;
    bool FWriteAll = false;
};
