#include "base/variant/zelformatsettings.h"
#include "base/variant/zelvariant.h"

#include "varianttest.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

// Numbers in these tests are written in plain notation: pin a locale that
// reads them that way whatever the machine's locale is.
class VariantOps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FSaved = zelFormatSettings();
        zelSetFormatSettings(TzelFormatSettings::FromLocale(QLocale::c()));
    }
    void TearDown() override { zelSetFormatSettings(FSaved); }

private:
    TzelFormatSettings FSaved;
};


const QString cannotConvertTextToDouble =
    QStringLiteral("Could not convert variant of type (UnicodeString) into type (Double)");

} // namespace

// The kind of every pair of base kinds, read back from what + and "and"
// produce (the result type of + tells the kinds apart, except float from
// Boolean, where "and" is logical for Booleans only).
TEST_F(VariantOps, OperationKindTableIsTheSymmetricTable)
{
    const Variant samples[] = {
        Variant(), Variant::Null(), Variant(6), Variant(1.5), Variant::FromCurrency(20000), S("3"),
        Variant(true), Variant::FromDate(2.0), Variant::FromInt64(4), Variant::FromUInt64(5),
    };
    const char *const expected[] = {
        // E=empty N=null I=integer F=float C=currency S=string B=Boolean D=date L=64-bit U=unsigned 64
        "ENIFCSBDLU", "NNNNNNNNNN", "INIFCFIDLU", "FNFFCFFDFF", "CNCCCCCDCC",
        "SNFFCSBDFF", "BNIFCBBDLU", "DNDDDDDDDD", "LNLFCFLDLU", "UNUFCFUDUU",
    };
    const auto kindOf = [](const Variant &a, const Variant &b) -> char {
        switch (Variant::Add(a, b).VarType()) {
        case varEmpty: return 'E';
        case varNull: return 'N';
        case varInteger: return 'I';
        case varCurrency: return 'C';
        case varUString: return 'S';
        case varDate: return 'D';
        case varInt64: return 'L';
        case varUInt64: return 'U';
        case varDouble: return Variant::And(a, b).VarType() == varBoolean ? 'B' : 'F';
        default: return '?';
        }
    };
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            Variant a = samples[i], b = samples[j];
            // A text meets a date as a date text.
            if (i == 5 && j == 7)
                a = S("2000-01-01");
            if (i == 7 && j == 5)
                b = S("2000-01-01");
            EXPECT_EQ(kindOf(a, b), expected[i][j]) << Describe(a).toStdString() << " with " << Describe(b).toStdString();
        }
    }
}

TEST_F(VariantOps, EdgeCasesOfMixedOperands)
{
    using V = Variant;
    struct Case {
        const char *name;
        std::function<Variant()> expr;
        Variant expected;
    };
    const Case cases[] = {
        {"\"10\" = 10", [] { return V(V::Equal(S("10"), 10)); }, true},
        {"\"10\" < 9", [] { return V(V::Less(S("10"), 9)); }, false},
        {"\"a\" < \"B\"", [] { return V(V::Less(S("a"), S("B"))); }, false},
        {"7 / 2", [] { return V(7) / 2; }, 3.5},
        {"7 div 2", [] { return V::IntDiv(7, 2); }, 3},
        {"-7 mod 2", [] { return V::Mod(-7, 2); }, -1},
        {"2147483647 + 1", [] { return V::Add(2147483647, 1); }, 2147483648.0},
        {"\"1\" + 2", [] { return S("1") + 2; }, 3.0},
        {"\"1\" + \"2\"", [] { return V::Add(S("1"), S("2")); }, S("12")},
        {"7.5 div 2", [] { return V::IntDiv(7.5, 2); }, 4},
        {"True + 1", [] { return V::Add(true, 1); }, 0},
        {"True = -1", [] { return V(V::Equal(true, -1)); }, true},
        {"Null + 1", [] { return V::Add(V::Null(), 1); }, V::Null()},
        {"Null = Null", [] { return V(V::Equal(V::Null(), V::Null())); }, true},
        {"Null < 0", [] { return V(V::Less(V::Null(), 0)); }, true},
        {"date - date", [] { return V::Sub(V::FromDate(45351.75), V::FromDate(45350.5)); }, 1.25},
        {"date + 1", [] { return V::Add(V::FromDate(45351.75), 1); }, V::FromDate(45352.75)},
        {"Empty + Empty", [] { return V::Add(V(), V()); }, V()},
        {"Empty + \"x\"", [] { return V::Add(V(), S("x")); }, S("x")},
        {"Empty = 0", [] { return V(V::Equal(V(), 0)); }, true},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(Same(c.expr(), c.expected)) << c.name;

    EXPECT_EQ(ErrorOf([] { Variant::Equal(S("abc"), 10); }), cannotConvertTextToDouble);
    EXPECT_EQ(ErrorOf([] { Variant::Null().AsType(varInteger); }),
              QStringLiteral("Could not convert variant of type (Null) into type (Integer)"));
}

TEST_F(VariantOps, ArithmeticByKind)
{
    using V = Variant;
    constexpr qint32 minInt = std::numeric_limits<qint32>::min();
    constexpr qint64 maxInt64 = std::numeric_limits<qint64>::max();
    constexpr quint64 maxUInt64 = std::numeric_limits<quint64>::max();
    const V date = V::FromDate(10.5);
    struct Case {
        const char *name;
        VarOp op;
        Variant a, b, expected;
    };
    const Case cases[] = {
        // integer: 32 bits, overflow repeated as a float operation
        {"int -7 div 2", VarOp::IntDiv, -7, 2, -3},
        {"int 7 mod -2", VarOp::Mod, 7, -2, 1},
        {"int -7 mod -2", VarOp::Mod, -7, -2, -1},
        {"int min div -1", VarOp::IntDiv, minInt, -1, 2147483648.0},
        {"int min mod -1", VarOp::Mod, minInt, -1, 0},
        {"int min - 1", VarOp::Sub, minInt, 1, -2147483649.0},
        {"int max * 2", VarOp::Mul, 2147483647, 2, 4294967294.0},
        {"int shl modulo 32", VarOp::Shl, 1, 33, 2},
        {"int shl -1 is shl 31", VarOp::Shl, 1, -1, minInt},
        {"int shr fills zeros", VarOp::Shr, -1, 28, 15},
        {"int and", VarOp::And, 6, 3, 2},
        {"int or", VarOp::Or, 6, 3, 7},
        {"int xor", VarOp::Xor, 6, 3, 5},
        {"small ints give Integer", VarOp::Add, V::FromSmallint(-3), V::FromByte(250), 247},
        {"int / is float", VarOp::Div, 1, 4, 0.25},
        // float
        {"float +", VarOp::Add, 1.25, 1.5, 2.75},
        {"single + single is double", VarOp::Add, V::FromSingle(0.5f), V::FromSingle(0.25f), 0.75},
        {"float mod rounds first", VarOp::Mod, 2.5, 2, 0},
        {"float shl rounds first", VarOp::Shl, 3.5, 1, 8},
        {"float with int64", VarOp::Add, 0.5, V::FromInt64(2), 2.5},
        // string
        {"string * string", VarOp::Mul, S("3"), S("4"), 12.0},
        {"string div string", VarOp::IntDiv, S("7"), S("2"), 3},
        {"string - Empty", VarOp::Sub, S("1"), V(), 1.0},
        {"OleStr + String gives UnicodeString", VarOp::Add, V::FromString(QStringLiteral("a"), varOleStr),
         V::FromString(QStringLiteral("b"), varString), S("ab")},
        // Boolean
        {"bool and", VarOp::And, true, false, false},
        {"bool or", VarOp::Or, false, true, true},
        {"bool xor", VarOp::Xor, true, true, false},
        {"bool and text", VarOp::And, true, S("false"), false},
        {"bool * bool", VarOp::Mul, true, true, 1.0},
        {"bool div bool", VarOp::IntDiv, true, true, 1},
        // date
        {"date - int", VarOp::Sub, date, 1, V::FromDate(9.5)},
        {"int + date", VarOp::Add, 1, date, V::FromDate(11.5)},
        {"date * 2", VarOp::Mul, date, 2, 21.0},
        {"date div 2 rounds", VarOp::IntDiv, date, 2, 5},
        // 64-bit: + - wrap, * overflows to float
        {"int64 + wraps", VarOp::Add, V::FromInt64(maxInt64), 1, V::FromInt64(std::numeric_limits<qint64>::min())},
        {"int64 * overflows", VarOp::Mul, V::FromInt64(maxInt64), 2, 2.0 * 9223372036854775807.0},
        {"int64 div", VarOp::IntDiv, V::FromInt64(-7), 2, V::FromInt64(-3)},
        {"int64 mod", VarOp::Mod, V::FromInt64(-7), 2, V::FromInt64(-1)},
        {"int64 shl", VarOp::Shl, V::FromInt64(1), 40, V::FromInt64(qint64(1) << 40)},
        {"cardinal + int is int64", VarOp::Add, V::FromCardinal(4000000000u), 1, V::FromInt64(4000000001)},
        // unsigned 64-bit
        {"uint64 - wraps", VarOp::Sub, V::FromUInt64(0), 1, V::FromUInt64(maxUInt64)},
        {"uint64 * overflows", VarOp::Mul, V::FromUInt64(maxUInt64), 2, 2.0 * 18446744073709551615.0},
        {"uint64 div", VarOp::IntDiv, V::FromUInt64(7), 2, V::FromUInt64(3)},
        {"uint64 shr", VarOp::Shr, V::FromUInt64(maxUInt64), 60, V::FromUInt64(15)},
        // currency: scaled values, halves to even on the fifth decimal
        {"currency + int", VarOp::Add, V::FromCurrency(15000), 1, V::FromCurrency(25000)},
        {"currency * currency", VarOp::Mul, V::FromCurrency(15000), V::FromCurrency(15000), V::FromCurrency(22500)},
        {"currency * rounds to even", VarOp::Mul, V::FromCurrency(1), 0.5, V::FromCurrency(0)},
        {"currency / currency", VarOp::Div, V::FromCurrency(10000), V::FromCurrency(30000), V::FromCurrency(3333)},
        {"number / currency is double", VarOp::Div, 1, V::FromCurrency(20000), 0.5},
        {"currency div rounds", VarOp::IntDiv, V::FromCurrency(15000), 1, 2},
        {"currency with text", VarOp::Sub, V::FromCurrency(10000), S("0.25"), V::FromCurrency(7500)},
        // empty
        {"Empty * Empty", VarOp::Mul, V(), V(), V()},
        {"Empty and Empty", VarOp::And, V(), V(), V()},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(Same(Variant::Calc(c.op, c.a, c.b), c.expected)) << c.name;
}

TEST_F(VariantOps, ArithmeticErrors)
{
    using V = Variant;
    struct Case {
        const char *name;
        VarOp op;
        Variant a, b;
        const char *message;
    };
    const Case cases[] = {
        {"int div 0", VarOp::IntDiv, 1, 0, "Division by zero"},
        {"int mod 0", VarOp::Mod, 1, 0, "Division by zero"},
        {"int / 0", VarOp::Div, 1, 0, "Floating point division by zero"},
        {"0 / 0", VarOp::Div, 0, 0, "Invalid floating point operation"},
        {"float / 0", VarOp::Div, 1.5, 0.0, "Floating point division by zero"},
        {"float overflow", VarOp::Mul, 1e308, 10.0, "Floating point overflow"},
        {"int64 div 0", VarOp::IntDiv, V::FromInt64(1), 0, "Division by zero"},
        {"uint64 mod 0", VarOp::Mod, V::FromUInt64(1), 0, "Division by zero"},
        {"currency / 0", VarOp::Div, V::FromCurrency(10000), 0, "Floating point division by zero"},
        {"currency overflow", VarOp::Mul, V::FromCurrency(std::numeric_limits<qint64>::max()), 2,
         "Floating point overflow"},
        {"Empty / Empty", VarOp::Div, V(), V(), "Floating point division by zero"},
        {"Empty div Empty", VarOp::IntDiv, V(), V(), "Division by zero"},
        {"Empty mod Empty", VarOp::Mod, V(), V(), "Division by zero"},
        {"float div too big for 32 bits", VarOp::IntDiv, 3e9, 1,
         "Overflow while converting variant of type (Double) into type (Integer)"},
        {"text that is no number", VarOp::Sub, S("x"), 1, "Could not convert variant of type (UnicodeString) into type (Double)"},
        {"dispatch", VarOp::Add, V::FromDispatch(), 1, "Invalid variant operation"},
        {"array", VarOp::Add, V::CreateArray({{0, 1}}), 1, "Invalid variant operation"},
        {"Null with array", VarOp::Add, V::Null(), V::CreateArray({{0, 1}}), "Invalid variant operation"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ErrorOf([&] { Variant::Calc(c.op, c.a, c.b); }), QString::fromUtf8(c.message)) << c.name;
}

TEST_F(VariantOps, NullFollowsThreeValuedLogic)
{
    using V = Variant;
    const V null = V::Null();
    struct Case {
        VarOp op;
        Variant known, expected;
    };
    const Case cases[] = {
        {VarOp::And, false, false}, {VarOp::And, true, null}, {VarOp::And, null, null},
        {VarOp::Or, true, true},    {VarOp::Or, false, null}, {VarOp::Or, null, null},
        {VarOp::And, 0, 0},         {VarOp::Or, -1, -1},      {VarOp::Or, 1, null},
        {VarOp::Xor, true, null},   {VarOp::Add, 1, null},    {VarOp::Div, 0, null},
        {VarOp::IntDiv, V(), null},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(Same(Variant::Calc(c.op, c.known, null), c.expected)) << Describe(c.known).toStdString();
        EXPECT_TRUE(Same(Variant::Calc(c.op, null, c.known), c.expected)) << Describe(c.known).toStdString();
    }
}

TEST_F(VariantOps, ComparisonByKind)
{
    using V = Variant;
    const V null = V::Null();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char *name;
        VarCmp op;
        Variant a, b;
        bool expected;
    };
    const Case cases[] = {
        // Null is below everything and equals only itself
        {"Null = 0", VarCmp::Eq, null, 0, false},
        {"Null <> 0", VarCmp::Ne, null, 0, true},
        {"Null < Empty", VarCmp::Lt, null, V(), true},
        {"Null <= text", VarCmp::Le, null, S(""), true},
        {"x > Null", VarCmp::Gt, false, null, true},
        {"x >= Null", VarCmp::Ge, -5, null, true},
        {"x < Null", VarCmp::Lt, -5, null, false},
        {"Null <= Null", VarCmp::Le, null, null, true},
        {"Null >= Null", VarCmp::Ge, null, null, true},
        {"Null <> Null", VarCmp::Ne, null, null, false},
        // strings: ordinal UTF-16
        {"prefix is less", VarCmp::Lt, S("ab"), S("abc"), true},
        {"upper case first", VarCmp::Lt, S("Z"), S("a"), true},
        {"case matters", VarCmp::Eq, S("a"), S("A"), false},
        {"Empty is the empty text", VarCmp::Eq, V(), S(""), true},
        {"code units, not code points", VarCmp::Lt, S("\xEF\xBF\xBF"), S("\xF0\x9F\x98\x80"), false},
        // numbers and mixed kinds
        {"text and number as floats", VarCmp::Eq, S("1.50"), 1.5, true},
        {"int and double", VarCmp::Lt, 1, 1.5, true},
        {"Boolean False < True", VarCmp::Lt, false, true, true},
        {"Boolean and text as Booleans", VarCmp::Eq, true, S("-1"), true},
        {"Boolean and int as integers", VarCmp::Lt, true, 0, true},
        {"currency and double", VarCmp::Eq, V::FromCurrency(15000), 1.5, true},
        {"date and number", VarCmp::Eq, V::FromDate(2.0), 2, true},
        {"int64 beyond double precision", VarCmp::Lt, V::FromInt64(9007199254740992), V::FromInt64(9007199254740993), true},
        {"negative below unsigned", VarCmp::Lt, -1, V::FromUInt64(0), true},
        {"cardinal is unsigned", VarCmp::Gt, V::FromCardinal(4000000000u), 0, true},
        {"Empty = 0", VarCmp::Eq, V(), 0, true},
        {"Empty < 1", VarCmp::Lt, V(), 1, true},
        {"NaN = NaN", VarCmp::Eq, nan, nan, false},
        {"NaN <> NaN", VarCmp::Ne, nan, nan, true},
        {"NaN < 1", VarCmp::Lt, nan, 1.0, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Variant::CompareOp(c.op, c.a, c.b), c.expected) << c.name;

    EXPECT_EQ(ErrorOf([] { Variant::Compare(S("abc"), 10); }), cannotConvertTextToDouble);
    EXPECT_EQ(ErrorOf([] { Variant::Compare(V::FromDispatch(), V::FromDispatch()); }),
              QStringLiteral("Invalid variant operation"));
}

TEST_F(VariantOps, NegationAndNot)
{
    using V = Variant;
    const V null = V::Null();
    struct Case {
        const char *name;
        bool isNot;
        Variant a, expected;
    };
    const Case cases[] = {
        {"-Empty", false, V(), 0},
        {"-Null", false, null, null},
        {"-int", false, 5, -5},
        {"-lowest int", false, std::numeric_limits<qint32>::min(), 2147483648.0},
        {"-byte", false, V::FromByte(5), -5},
        {"-single", false, V::FromSingle(1.5f), V::FromSingle(-1.5f)},
        {"-currency", false, V::FromCurrency(15000), V::FromCurrency(-15000)},
        {"-date", false, V::FromDate(2.5), V::FromDate(-2.5)},
        {"-text", false, S("2.5"), -2.5},
        {"-True", false, true, -1},
        {"-False", false, false, 0},
        {"-int64 wraps", false, V::FromInt64(std::numeric_limits<qint64>::min()),
         V::FromInt64(std::numeric_limits<qint64>::min())},
        {"not Null", true, null, null},
        {"not Empty", true, V(), -1},
        {"not int", true, 5, -6},
        {"not float rounds", true, 2.5, -3},
        {"not big float", true, 1e10, V::FromInt64(~qint64(10000000000))},
        {"not currency", true, V::FromCurrency(15000), -3},
        {"not True", true, true, false},
        {"not integer text", true, S("12"), -13},
        {"not Boolean text", true, S("true"), false},
        {"not uint64", true, V::FromUInt64(0), V::FromUInt64(std::numeric_limits<quint64>::max())},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(Same(c.isNot ? Variant::Not(c.a) : Variant::Neg(c.a), c.expected)) << c.name;

    EXPECT_EQ(ErrorOf([] { Variant::Not(S("abc")); }),
              QStringLiteral("Could not convert variant of type (UnicodeString) into type (Boolean)"));
    EXPECT_EQ(ErrorOf([] { Variant::Neg(V::FromDispatch()); }), QStringLiteral("Invalid variant operation"));
}

TEST_F(VariantOps, IdenticalNeedsSameTypeAndValue)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(Variant::Identical(1, 1));
    EXPECT_FALSE(Variant::Identical(1, Variant::FromSmallint(1)));
    EXPECT_FALSE(Variant::Identical(S("1"), 1));
    EXPECT_FALSE(Variant::Identical(S("a"), Variant::FromString(QStringLiteral("a"), varOleStr)));
    EXPECT_TRUE(Variant::Identical(nan, nan));
    EXPECT_FALSE(Variant::Identical(Variant::FromDate(1), 1.0));
    EXPECT_TRUE(Variant::Identical(Variant::Null(), Variant::Null()));
}
