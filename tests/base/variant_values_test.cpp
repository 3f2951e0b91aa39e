#include "base/variant/zelformatsettings.h"
#include "base/variant/zelvariant.h"

#include "varianttest.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

// Pins the format settings for one test and restores them afterwards.
class VariantValues : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FSaved = zelFormatSettings();
        Pin(QLocale::c());
    }
    void TearDown() override { zelSetFormatSettings(FSaved); }

    static void Pin(const QLocale &locale) { zelSetFormatSettings(TzelFormatSettings::FromLocale(locale)); }
    static void PinGerman()
    {
        TzelFormatSettings s = TzelFormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
        s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
        s.LongTimeFormat = QStringLiteral("HH:mm:ss");
        s.ShortTimeFormat = QStringLiteral("HH:mm");
        zelSetFormatSettings(s);
    }

private:
    TzelFormatSettings FSaved;
};


QString CannotConvert(const char *from, const char *to)
{
    return QStringLiteral("Could not convert variant of type (%1) into type (%2)").arg(QLatin1String(from), QLatin1String(to));
}

QString Overflow(const char *from, const char *to)
{
    return QStringLiteral("Overflow while converting variant of type (%1) into type (%2)").arg(QLatin1String(from), QLatin1String(to));
}

} // namespace

TEST_F(VariantValues, TypeNames)
{
    const std::pair<quint16, const char *> cases[] = {
        {varEmpty, "Empty"}, {varNull, "Null"}, {varSmallint, "Smallint"}, {varInteger, "Integer"},
        {varSingle, "Single"}, {varDouble, "Double"}, {varCurrency, "Currency"}, {varDate, "Date"},
        {varOleStr, "OleStr"}, {varDispatch, "Dispatch"}, {varError, "Error"}, {varBoolean, "Boolean"},
        {varVariant, "Variant"}, {varUnknown, "Unknown"}, {14, "Decimal"}, {varShortInt, "ShortInt"},
        {varByte, "Byte"}, {varWord, "Word"}, {varLongWord, "Cardinal"}, {varInt64, "Int64"},
        {varUInt64, "UInt64"}, {varString, "String"}, {varUString, "UnicodeString"},
        {varArray | varVariant, "Array Variant"}, {varByRef | varInteger, "ByRef Integer"},
    };
    for (const auto &[code, name] : cases)
        EXPECT_EQ(Variant::TypeName(code), QLatin1String(name)) << code;
}

TEST_F(VariantValues, RoundingToIntegersIsHalvesToEven)
{
    const std::pair<Variant, qint32> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3},
        {Variant::FromSingle(2.5f), 2}, {Variant::FromDate(3.5), 4},
        {Variant::FromCurrency(25000), 2}, {Variant::FromCurrency(35000), 4}, {Variant::FromCurrency(-25000), -2},
        {Variant::FromCurrency(25001), 3}, {S("2.5"), 2}, {S("3.5"), 4},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(value.ToInt(), expected) << Describe(value).toStdString();
    EXPECT_EQ(Variant(-2.5).ToInt64(), -2);
    EXPECT_EQ(Variant::FromCurrency(-35000).ToInt64(), -4);
}

TEST_F(VariantValues, IntegerConversion)
{
    const std::pair<Variant, qint32> cases[] = {
        {Variant(), 0}, {true, -1}, {false, 0}, {Variant::FromWord(65535), 65535}, {Variant::FromShortInt(-8), -8},
        {Variant::FromCardinal(2147483647u), 2147483647}, {S(" 42 "), 42}, {S("$1F"), 31}, {S("0x10"), 16},
        {S("true"), 1}, {S("FALSE"), 0}, {S("-12"), -12},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(value.ToInt(), expected) << Describe(value).toStdString();

    EXPECT_EQ(ErrorOf([] { Variant(2147483647.5).ToInt(); }), Overflow("Double", "Integer"));
    EXPECT_EQ(ErrorOf([] { Variant::FromInt64(qint64(1) << 40).ToInt(); }), Overflow("Int64", "Integer"));
    EXPECT_EQ(ErrorOf([] { Variant::FromCardinal(4000000000u).ToInt(); }), Overflow("Cardinal", "Integer"));
    EXPECT_EQ(ErrorOf([] { S("3000000000").ToInt(); }), Overflow("UnicodeString", "Integer"));
    EXPECT_EQ(ErrorOf([] { S("abc").ToInt(); }), CannotConvert("UnicodeString", "Integer"));
    EXPECT_EQ(ErrorOf([] { S("").ToInt(); }), CannotConvert("UnicodeString", "Integer"));
    EXPECT_EQ(ErrorOf([] { Variant(1e30).ToInt64(); }), Overflow("Double", "Int64"));
    EXPECT_EQ(ErrorOf([] { Variant(-1).ToUInt64(); }), Overflow("Integer", "UInt64"));
    EXPECT_EQ(S("9007199254740993").ToInt64(), 9007199254740993);
    EXPECT_EQ(S("18446744073709551615").ToUInt64(), std::numeric_limits<quint64>::max());
    EXPECT_EQ(ErrorOf([] { Variant::FromDispatch().ToInt(); }), QStringLiteral("Invalid variant type conversion"));
}

TEST_F(VariantValues, NullConvertsToNothing)
{
    const Variant null = Variant::Null();
    const std::pair<std::function<void()>, const char *> cases[] = {
        {[&] { null.ToInt(); }, "Integer"},   {[&] { null.ToInt64(); }, "Int64"},
        {[&] { null.ToDouble(); }, "Double"}, {[&] { null.ToBool(); }, "Boolean"},
        {[&] { null.ToDate(); }, "Date"},     {[&] { null.ToString(); }, "UnicodeString"},
        {[&] { null.ToCurrency(); }, "Currency"}, {[&] { null.AsType(varByte); }, "Byte"},
    };
    for (const auto &[convert, target] : cases)
        EXPECT_EQ(ErrorOf(convert), CannotConvert("Null", target));
}

TEST_F(VariantValues, EmptyConvertsToZeros)
{
    const Variant empty;
    EXPECT_EQ(empty.ToInt(), 0);
    EXPECT_EQ(empty.ToDouble(), 0.0);
    EXPECT_FALSE(empty.ToBool());
    EXPECT_EQ(empty.ToString(), QString());
    EXPECT_EQ(empty.ToDate(), 0.0);
}

TEST_F(VariantValues, BooleanConversion)
{
    const std::pair<Variant, bool> cases[] = {
        {S("0"), false},    {S("-1"), true},  {S("True"), true}, {S("false"), false}, {S("TRUE"), true},
        {S("2"), true},     {S("0.0"), false}, {0.0, false},     {0.1, true},         {Variant::FromCurrency(0), false},
        {Variant::FromUInt64(1), true}, {Variant::FromSingle(0.0f), false},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(value.ToBool(), expected) << Describe(value).toStdString();
    EXPECT_EQ(ErrorOf([] { S("yes").ToBool(); }), CannotConvert("UnicodeString", "Boolean"));
    EXPECT_EQ(ErrorOf([] { Variant::FromDispatch().ToBool(); }), QStringLiteral("Invalid variant type conversion"));
}

TEST_F(VariantValues, FloatTextIsShortestWithFifteenDigits)
{
    const std::pair<Variant, const char *> cases[] = {
        {3.5, "3.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {100.0, "100"},
        {-2.0, "-2"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {0.00001, "0.00001"},
        {1.5e-6, "1.5E-6"},
        {0.0, "0"},
        {Variant::FromSingle(0.1f), "0.1"},
        {Variant::FromCurrency(15000), "1.5"},
        {Variant::FromCurrency(12345), "1.2345"},
        {Variant::FromCurrency(-5000), "-0.5"},
        {Variant::FromCurrency(1000000), "100"},
        {Variant::FromInt64(std::numeric_limits<qint64>::min()), "-9223372036854775808"},
        {Variant::FromUInt64(std::numeric_limits<quint64>::max()), "18446744073709551615"},
        {Variant::FromCardinal(4000000000u), "4000000000"},
        {true, "True"},
        {false, "False"},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(value.ToString(), QLatin1String(expected));
}

TEST_F(VariantValues, LocaleDecidesSeparatorsAndDates)
{
    PinGerman();
    EXPECT_EQ(Variant(3.5).ToString(), QStringLiteral("3,5"));
    EXPECT_EQ(Variant::FromCurrency(12500).ToString(), QStringLiteral("1,25"));
    EXPECT_EQ(S("1,5").ToDouble(), 1.5);
    EXPECT_EQ(S("1.000").ToDouble(), 1000.0) << "group separator of the locale";
    EXPECT_EQ(ErrorOf([] { S("1.5").ToDouble(); }), CannotConvert("UnicodeString", "Double"));

    // A program that switched to a point still reads its own texts.
    TzelFormatSettings s = zelFormatSettings();
    s.DecimalSeparator = QLatin1Char('.');
    zelSetFormatSettings(s);
    EXPECT_EQ(S("1.5").ToDouble(), 1.5);
    EXPECT_EQ(Variant(3.5).ToString(), QStringLiteral("3.5"));

    PinGerman();
    EXPECT_EQ(Variant::FromDate(45351.75).ToString(), QStringLiteral("29.02.2024 18:00:00"));
    EXPECT_EQ(Variant::FromDate(45351).ToString(), QStringLiteral("29.02.2024"));
    const std::pair<const char *, double> dates[] = {
        {"29.02.2024", 45351}, {"29.02.2024 18:00:00", 45351.75}, {"29.02.2024 18:00", 45351.75},
        {"18:00", 0.75}, {"2024-02-29", 45351}, {"2024-02-29T06:00:00", 45351.25},
    };
    for (const auto &[text, serial] : dates)
        EXPECT_DOUBLE_EQ(S(text).ToDate(), serial) << text;
    EXPECT_EQ(ErrorOf([] { S("30.02.2024").ToDate(); }), CannotConvert("UnicodeString", "Date"));
    EXPECT_TRUE(Variant::CompareOp(VarCmp::Lt, Variant::FromDate(45351), S("01.03.2024")));
}

TEST_F(VariantValues, DefaultSettingsFollowTheLocale)
{
    const TzelFormatSettings de = TzelFormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(de.ThousandSeparator, QLatin1Char('.'));
    EXPECT_EQ(de.ShortDateFormat, QStringLiteral("dd.MM.yyyy")) << "two-digit years widened";
    EXPECT_FALSE(de.LongTimeFormat.contains(QLatin1Char('t'))) << "no time zone in day serials";
    const TzelFormatSettings us = TzelFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.DecimalSeparator, QLatin1Char('.'));
    EXPECT_EQ(us.ShortDateFormat, QStringLiteral("M/d/yyyy"));
}

TEST_F(VariantValues, AsTypeConvertsLikeTypedAssignment)
{
    using V = Variant;
    struct Case {
        Variant value;
        quint16 code;
        Variant expected;
    };
    const Case cases[] = {
        {2.5, varSmallint, V::FromSmallint(2)},
        {S("12"), varWord, V::FromWord(12)},
        {true, varInteger, -1},
        {1, varBoolean, true},
        {7, varOleStr, V::FromString(QStringLiteral("7"), varOleStr)},
        {S("1.5"), varCurrency, V::FromCurrency(15000)},
        {5, varDate, V::FromDate(5)},
        {V::FromDate(5), varDouble, 5.0},
        {5, varVariant, 5},
        {V::Null(), varNull, V::Null()},
        {1.5, varSingle, V::FromSingle(1.5f)},
        {S("2.5"), varInt64, V::FromInt64(2)},
        {255, varByte, V::FromByte(255)},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(Same(c.value.AsType(c.code), c.expected)) << Describe(c.value).toStdString() << " as " << c.code;

    EXPECT_EQ(ErrorOf([] { Variant(300).AsType(varByte); }), Overflow("Integer", "Byte"));
    EXPECT_EQ(ErrorOf([] { Variant(-1).AsType(varLongWord); }), Overflow("Integer", "Cardinal"));
    EXPECT_EQ(ErrorOf([] { Variant(1e39).AsType(varSingle); }), Overflow("Double", "Single"));
    EXPECT_EQ(ErrorOf([] { Variant(1e300).AsType(varCurrency); }), Overflow("Double", "Currency"));
    EXPECT_EQ(ErrorOf([] { Variant::FromDispatch().AsType(varInteger); }), QStringLiteral("Invalid variant type conversion"));
    EXPECT_EQ(ErrorOf([] { Variant(1).AsType(varError); }), QStringLiteral("Invalid variant type conversion"));
}

TEST_F(VariantValues, CopiesAreIndependentValues)
{
    Variant a = S("text");
    Variant b = a;
    a = 5;
    EXPECT_TRUE(Same(b, S("text")));
    b = std::move(a);
    EXPECT_TRUE(Same(b, 5));
    a = S("other");
    b = a;
    a = Variant();
    EXPECT_TRUE(Same(b, S("other")));
    const Variant &self = b; // a plain "b = b" is an error under clang's warnings
    b = self;                // self-assignment keeps the value
    EXPECT_TRUE(Same(b, S("other")));
}

TEST_F(VariantValues, ArraysHaveBoundsAndElements)
{
    Variant a = Variant::CreateArray({{1, 5}});
    EXPECT_EQ(a.VarType(), varArray | varVariant);
    EXPECT_EQ(a.ArrayDimCount(), 1);
    EXPECT_EQ(a.ArrayLowBound(1), 1);
    EXPECT_EQ(a.ArrayHighBound(1), 5);
    EXPECT_TRUE(a.GetElement(1).IsEmpty());
    a.PutElement(5, S("last"));
    a.PutElement(1, 1.5);
    EXPECT_TRUE(Same(a.GetElement(5), S("last")));
    EXPECT_TRUE(Same(a.GetElement(1), 1.5));

    // Copies are values: writing one leaves the other alone, even when the
    // element is itself an array.
    Variant inner = Variant::CreateArray({{0, 0}});
    inner.PutElement(0, 1);
    a.PutElement(2, inner);
    Variant copy = a;
    copy.PutElement(5, 0);
    Variant innerCopy = copy.GetElement(2);
    innerCopy.PutElement(0, 2);
    copy.PutElement(2, innerCopy);
    EXPECT_TRUE(Same(a.GetElement(5), S("last")));
    EXPECT_TRUE(Same(a.GetElement(2).GetElement(0), 1));
    EXPECT_TRUE(Same(copy.GetElement(2).GetElement(0), 2));
    EXPECT_FALSE(Variant::Identical(a, copy));
    copy.PutElement(5, S("last"));
    copy.PutElement(2, inner);
    EXPECT_TRUE(Variant::Identical(a, copy));

    // A value that holds its own array is stored as the array was.
    a.PutElement(3, a);
    EXPECT_TRUE(Same(a.GetElement(3).GetElement(5), S("last")));
    EXPECT_TRUE(a.GetElement(3).GetElement(3).IsEmpty());
}

TEST_F(VariantValues, ArraysOfSeveralDimensionsAndRedim)
{
    Variant m = Variant::CreateArray({{0, 1}, {1, 3}});
    EXPECT_EQ(m.ArrayDimCount(), 2);
    EXPECT_EQ(m.ArrayHighBound(2), 3);
    for (int i = 0; i <= 1; ++i)
        for (int j = 1; j <= 3; ++j)
            m.PutElement(std::initializer_list<int>{i, j}, i * 10 + j);
    const int at12[] = {1, 2};
    EXPECT_TRUE(Same(m.GetElement(at12), 12));

    // Growing the first dimension keeps every element and adds Empty rows.
    m.ArrayRedim(2);
    EXPECT_EQ(m.ArrayHighBound(1), 2);
    EXPECT_TRUE(Same(m.GetElement(at12), 12));
    const int at23[] = {2, 3};
    EXPECT_TRUE(m.GetElement(at23).IsEmpty());
    m.ArrayRedim(0);
    EXPECT_EQ(ErrorOf([&] { m.GetElement(at12); }), QStringLiteral("Variant array index out of bounds"));
    const int at03[] = {0, 3};
    EXPECT_TRUE(Same(m.GetElement(at03), 3));
    m.ArrayRedim(-1);
    EXPECT_EQ(m.ArrayHighBound(1), -1);
    EXPECT_EQ(m.ArrayHighBound(2), 3);
}

TEST_F(VariantValues, TypedArraysConvertTheirElements)
{
    Variant a = Variant::CreateArray({{0, 2}}, varInteger);
    EXPECT_EQ(a.VarType(), varArray | varInteger);
    EXPECT_TRUE(Same(a.GetElement(0), 0));
    a.PutElement(1, S("12"));
    EXPECT_TRUE(Same(a.GetElement(1), 12));
    EXPECT_EQ(ErrorOf([&] { a.PutElement(2, S("x")); }), CannotConvert("UnicodeString", "Integer"));
    EXPECT_TRUE(Same(a.GetElement(2), 0));
    a.ArrayRedim(3);
    EXPECT_TRUE(Same(a.GetElement(3), 0));
    EXPECT_TRUE(Same(Variant::CreateArray({{0, 0}}, varOleStr).GetElement(0), Variant::FromString(QString(), varOleStr)));
}

TEST_F(VariantValues, ArrayMisuse)
{
    const QString outOfBounds = QStringLiteral("Variant array index out of bounds");
    Variant a = Variant::CreateArray({{1, 2}});
    const int two[] = {1, 1};
    const std::pair<std::function<void()>, QString> cases[] = {
        {[&] { a.GetElement(0); }, outOfBounds},
        {[&] { a.PutElement(3, 1); }, outOfBounds},
        {[&] { a.GetElement(two); }, outOfBounds},
        {[&] { a.ArrayLowBound(2); }, outOfBounds},
        {[&] { a.ArrayRedim(-1); }, outOfBounds},
        {[] { Variant::CreateArray({{5, 3}}); }, outOfBounds},
        {[] { Variant(1).GetElement(0); }, QStringLiteral("Invalid variant operation")},
        {[] { Variant::CreateArray({{0, 1}}, varDispatch); }, QStringLiteral("Invalid variant operation")},
        {[&] { a.ToString(); }, QStringLiteral("Invalid variant type conversion")},
        {[&] { Variant::Equal(a, a); }, QStringLiteral("Invalid variant operation")},
    };
    for (const auto &[misuse, message] : cases)
        EXPECT_EQ(ErrorOf(misuse), message);
    EXPECT_EQ(Variant::CreateArray({{0, -1}}).ArrayHighBound(1), -1) << "an empty array is fine";
    EXPECT_EQ(Variant(1).ArrayDimCount(), 0);
}
