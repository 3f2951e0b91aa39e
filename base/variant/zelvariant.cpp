#include "base/variant/zelvariant.h"

#include "base/variant/zelformatsettings.h"

#include <QAtomicInt>
#include <QList>

#include <cfloat>
#include <limits>

// Elements of a variant array, shared between copies until one of them writes.
// The first dimension varies slowest, so re-dimensioning it only grows or
// shrinks the tail of Items.
struct TzelVariantArray
{
    TzelVariantArray(quint16 elementType, QList<VarArrayBound> bounds, QList<Variant> items)
        : ElementType(elementType), Bounds(std::move(bounds)), Items(std::move(items))
    {
    }

    QAtomicInt Ref{1};
    quint16 ElementType;
    QList<VarArrayBound> Bounds;
    QList<Variant> Items;
};

TzelVariantError::TzelVariantError(Code code, QString message)
    : TzelException(std::move(message)), FCode(code)
{
}

TzelVariantError::~TzelVariantError() = default;

namespace {

using Code = TzelVariantError::Code;
__extension__ typedef __int128 Int128;

[[noreturn]] void Fail(Code code, const char *message)
{
    throw TzelVariantError(code, QString::fromLatin1(message));
}

[[noreturn]] void CannotConvert(quint16 from, quint16 to)
{
    throw TzelVariantError(Code::CannotConvert,
                           QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                               .arg(Variant::TypeName(from), Variant::TypeName(to)));
}

[[noreturn]] void Overflow(quint16 from, quint16 to)
{
    throw TzelVariantError(Code::Overflow,
                           QStringLiteral("Overflow while converting variant of type (%1) into type (%2)")
                               .arg(Variant::TypeName(from), Variant::TypeName(to)));
}

[[noreturn]] void InvalidOperation() { Fail(Code::InvalidOperation, "Invalid variant operation"); }
[[noreturn]] void InvalidConversion() { Fail(Code::InvalidConversion, "Invalid variant type conversion"); }
[[noreturn]] void DivByZero() { Fail(Code::DivByZero, "Division by zero"); }
[[noreturn]] void ZeroDivide() { Fail(Code::ZeroDivide, "Floating point division by zero"); }
[[noreturn]] void InvalidFloat() { Fail(Code::InvalidFloat, "Invalid floating point operation"); }
[[noreturn]] void FloatOverflow() { Fail(Code::FloatOverflow, "Floating point overflow"); }
[[noreturn]] void OutOfBounds() { Fail(Code::IndexOutOfBounds, "Variant array index out of bounds"); }

constexpr double two63 = 9223372036854775808.0;
constexpr double two64 = 18446744073709551616.0;

// N / D rounded to the nearest integer, halves to even.
Int128 RoundDiv(Int128 n, Int128 d)
{
    Int128 q = n / d;
    const Int128 r = n % d;
    const Int128 twice = 2 * (r < 0 ? -r : r);
    const Int128 absD = d < 0 ? -d : d;
    if (twice > absD || (twice == absD && (q & 1) != 0))
        q += (n < 0) != (d < 0) ? -1 : 1;
    return q;
}

// A float result of + - * /: overflow and invalid operations are errors, but
// an infinite or NaN operand passes through.
double CheckFloat(double r, double x, double y)
{
    if (Q_LIKELY(std::isfinite(r)) || !std::isfinite(x) || !std::isfinite(y))
        return r;
    if (std::isnan(r))
        InvalidFloat();
    FloatOverflow();
}

template <VarOp op>
double FloatArith(double x, double y)
{
    switch (op) {
    case VarOp::Add:
        return CheckFloat(x + y, x, y);
    case VarOp::Sub:
        return CheckFloat(x - y, x, y);
    case VarOp::Mul:
        return CheckFloat(x * y, x, y);
    default:
        if (y == 0) {
            if (x == 0 || std::isnan(x))
                InvalidFloat();
            ZeroDivide();
        }
        return CheckFloat(x / y, x, y);
    }
}

constexpr bool IsFloatOp(VarOp op)
{
    return op <= VarOp::Div;
}

// 32-bit operations; + - * that overflow are repeated on doubles.
template <VarOp op>
Variant Int32Op(qint32 x, qint32 y)
{
    qint32 r;
    switch (op) {
    case VarOp::Add:
        if (__builtin_add_overflow(x, y, &r))
            return Variant(double(x) + double(y));
        return Variant(r);
    case VarOp::Sub:
        if (__builtin_sub_overflow(x, y, &r))
            return Variant(double(x) - double(y));
        return Variant(r);
    case VarOp::Mul:
        if (__builtin_mul_overflow(x, y, &r))
            return Variant(double(x) * double(y));
        return Variant(r);
    case VarOp::Div:
        return Variant(FloatArith<op>(x, y));
    case VarOp::IntDiv:
        if (y == 0)
            DivByZero();
        if (y == -1)  // the lowest value has no 32-bit negation
            return x == std::numeric_limits<qint32>::min() ? Variant(-double(x)) : Variant(-x);
        return Variant(x / y);
    case VarOp::Mod:
        if (y == 0)
            DivByZero();
        return Variant(y == -1 ? 0 : x % y);
    case VarOp::Shl:
        return Variant(qint32(quint32(x) << (y & 31)));
    case VarOp::Shr:
        return Variant(qint32(quint32(x) >> (y & 31)));
    case VarOp::And:
        return Variant(x & y);
    case VarOp::Or:
        return Variant(x | y);
    case VarOp::Xor:
        return Variant(x ^ y);
    }
    Q_UNREACHABLE();
}

// 64-bit operations: + - wrap, * overflows to double.
template <VarOp op>
Variant Int64Op(qint64 x, qint64 y)
{
    const quint64 ux = quint64(x), uy = quint64(y);
    qint64 r;
    switch (op) {
    case VarOp::Add:
        return Variant(qint64(ux + uy));
    case VarOp::Sub:
        return Variant(qint64(ux - uy));
    case VarOp::Mul:
        if (__builtin_mul_overflow(x, y, &r))
            return Variant(double(x) * double(y));
        return Variant(r);
    case VarOp::Div:
        return Variant(FloatArith<op>(double(x), double(y)));
    case VarOp::IntDiv:
        if (y == 0)
            DivByZero();
        return Variant(y == -1 ? qint64(0 - ux) : x / y);
    case VarOp::Mod:
        if (y == 0)
            DivByZero();
        return Variant(y == -1 ? qint64(0) : x % y);
    case VarOp::Shl:
        return Variant(qint64(ux << (y & 63)));
    case VarOp::Shr:
        return Variant(qint64(ux >> (y & 63)));
    case VarOp::And:
        return Variant(x & y);
    case VarOp::Or:
        return Variant(x | y);
    case VarOp::Xor:
        return Variant(x ^ y);
    }
    Q_UNREACHABLE();
}

template <VarOp op>
Variant UInt64Op(quint64 x, quint64 y)
{
    quint64 r;
    switch (op) {
    case VarOp::Add:
        return Variant(x + y);
    case VarOp::Sub:
        return Variant(x - y);
    case VarOp::Mul:
        if (__builtin_mul_overflow(x, y, &r))
            return Variant(double(x) * double(y));
        return Variant(r);
    case VarOp::Div:
        return Variant(FloatArith<op>(double(x), double(y)));
    case VarOp::IntDiv:
        if (y == 0)
            DivByZero();
        return Variant(x / y);
    case VarOp::Mod:
        if (y == 0)
            DivByZero();
        return Variant(x % y);
    case VarOp::Shl:
        return Variant(x << (y & 63));
    case VarOp::Shr:
        return Variant(x >> (y & 63));
    case VarOp::And:
        return Variant(x & y);
    case VarOp::Or:
        return Variant(x | y);
    case VarOp::Xor:
        return Variant(x ^ y);
    }
    Q_UNREACHABLE();
}

// A 32-bit value when it fits, else 64-bit (results of not).
Variant NarrowestInt(qint64 v)
{
    if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
        return Variant(qint32(v));
    return Variant(v);
}

bool IsBoolWord(QStringView text, bool &value)
{
    const QStringView t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        value = true;
    else if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        value = false;
    else
        return false;
    return true;
}

qint64 RoundToInt64(double d, quint16 from, quint16 to)
{
    const double r = std::nearbyint(d);
    if (!(r >= -two63 && r < two63))
        Overflow(from, to);
    return qint64(r);
}

qint64 DoubleToCurrency(double d, quint16 from, quint16 to)
{
    const double r = std::nearbyint(d * 10000.0);
    if (!(r >= -two63 && r < two63))
        Overflow(from, to);
    return qint64(r);
}

template <typename T>
T Narrow(qint64 v, quint16 from, quint16 to)
{
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        Overflow(from, to);
    return T(v);
}

} // namespace

// Operations need the private layout; they live here rather than in the header.
struct TzelVariantOps
{
    using Kind = Variant::Kind;

    // Short names for the table below.
    static constexpr Kind E = Variant::kEmpty, N = Variant::kNull, I = Variant::kInteger, F = Variant::kFloat,
                          C = Variant::kCurrency, S = Variant::kString, B = Variant::kBoolean, D = Variant::kDate,
                          L = Variant::kInt64, U = Variant::kUInt64, X = Variant::kNone;

    // The kind of a two-operand operation from the base kinds of its operands.
    static constexpr Kind K[11][11] = {
        //           empty null int float curr str bool date i64 u64 none
        /* empty */ {E, N, I, F, C, S, B, D, L, U, X},
        /* null  */ {N, N, N, N, N, N, N, N, N, N, X},
        /* int   */ {I, N, I, F, C, F, I, D, L, U, X},
        /* float */ {F, N, F, F, C, F, F, D, F, F, X},
        /* curr  */ {C, N, C, C, C, C, C, D, C, C, X},
        /* str   */ {S, N, F, F, C, S, B, D, F, F, X},
        /* bool  */ {B, N, I, F, C, B, B, D, L, U, X},
        /* date  */ {D, N, D, D, D, D, D, D, D, D, X},
        /* i64   */ {L, N, L, F, C, F, L, D, L, U, X},
        /* u64   */ {U, N, U, F, C, F, U, D, U, U, X},
        /* none  */ {X, X, X, X, X, X, X, X, X, X, X},
    };

    static Kind OpKind(const Variant &a, const Variant &b) { return K[a.FKind][b.FKind]; }

    // Operands of the integer kind are Empty, integers of up to 32 bits or Booleans.
    static qint32 I32(const Variant &v) { return v.FType == varEmpty ? 0 : v.FS.I32; }

    // Operands of the 64-bit kind are those of the integer kind, Cardinal or Int64.
    static qint64 I64(const Variant &v)
    {
        if (v.FType == varInt64)
            return v.FS.I64;
        if (v.FType == varLongWord)
            return v.FS.U32;
        return I32(v);
    }

    // Operands of the unsigned 64-bit kind add UInt64; signed ones wrap.
    static quint64 U64(const Variant &v) { return v.FType == varUInt64 ? v.FS.U64 : quint64(I64(v)); }

    // Any operand as a double, with the usual ones inline.
    static double F64(const Variant &v)
    {
        if (v.FType == varDouble)
            return v.FS.F64;
        if (v.FKind == Variant::kInteger)
            return v.FS.I32;
        return v.DoubleFor(varDouble);
    }

    static QStringView Text(const Variant &v)
    {
        return v.FKind == Variant::kString ? QStringView(v.FStr) : QStringView();
    }

    // Empty counts as the empty text; joining with it shares the other text.
    static Variant Concat(const Variant &a, const Variant &b)
    {
        if (b.FKind != Variant::kString)
            return a.AsType(varUString);
        if (a.FKind != Variant::kString)
            return b.AsType(varUString);
        QString r;
        r.reserve(a.FStr.size() + b.FStr.size());
        r.append(a.FStr).append(b.FStr);
        return Variant(std::move(r));
    }

    template <VarOp op>
    static Variant NullOp(const Variant &a, const Variant &b)
    {
        // Three-valued logic: a known operand that decides the result alone
        // (False or 0 for and, True or all bits set for or) wins over Null.
        const Variant &x = a.IsNull() ? b : a;
        if (op == VarOp::And || op == VarOp::Or) {
            const qint64 decisive = op == VarOp::And ? 0 : -1;
            switch (x.FKind) {
            case Variant::kBoolean:
            case Variant::kInteger:
                if (x.FS.I32 == decisive)
                    return x;
                break;
            case Variant::kInt64:
                if (I64(x) == decisive)
                    return x;
                break;
            case Variant::kUInt64:
                if (x.FS.U64 == quint64(decisive))
                    return x;
                break;
            default:
                break;
            }
        }
        return Variant::Null();
    }

    template <VarOp op>
    static Variant CurrencyOp(const Variant &a, const Variant &b)
    {
        if (!IsFloatOp(op))
            return Int32Op<op>(a.ToInt(), b.ToInt());
        if (op == VarOp::Div && a.FType != varCurrency && b.FType == varCurrency)
            return Variant(FloatArith<op>(a.ToDouble(), b.ToDouble()));
        const qint64 x = a.CurrencyFor(varCurrency), y = b.CurrencyFor(varCurrency);
        Int128 r;
        switch (op) {
        case VarOp::Add:
            r = Int128(x) + y;
            break;
        case VarOp::Sub:
            r = Int128(x) - y;
            break;
        case VarOp::Mul:
            r = RoundDiv(Int128(x) * y, 10000);
            break;
        default:
            if (y == 0) {
                if (x == 0)
                    InvalidFloat();
                ZeroDivide();
            }
            r = RoundDiv(Int128(x) * 10000, y);
            break;
        }
        if (r < std::numeric_limits<qint64>::min() || r > std::numeric_limits<qint64>::max())
            FloatOverflow();
        return Variant::FromCurrency(qint64(r));
    }

    template <VarOp op>
    static Variant DateOp(const Variant &a, const Variant &b)
    {
        switch (op) {
        case VarOp::Add:
            return Variant::FromDate(FloatArith<op>(a.ToDate(), b.ToDate()));
        case VarOp::Sub: {
            const double r = FloatArith<op>(a.ToDate(), b.ToDate());
            return a.FType == varDate && b.FType == varDate ? Variant(r) : Variant::FromDate(r);
        }
        case VarOp::Mul:
        case VarOp::Div:
            return Variant(FloatArith<op>(a.ToDate(), b.ToDate()));
        default:
            return Int32Op<op>(a.ToInt(), b.ToInt());
        }
    }

    template <VarOp op>
    static Variant Calc(const Variant &a, const Variant &b)
    {
        // The common kinds first, with plain branches rather than a jump table.
        const Kind kind = OpKind(a, b);
        if (kind == Variant::kInteger)
            return Int32Op<op>(I32(a), I32(b));
        if (kind == Variant::kFloat) {
            if constexpr (IsFloatOp(op))
                return Variant(FloatArith<op>(F64(a), F64(b)));
            else
                return Int32Op<op>(a.ToInt(), b.ToInt());
        }
        switch (kind) {
        case Variant::kEmpty:
            if constexpr (op == VarOp::Div)
                ZeroDivide();
            if constexpr (op == VarOp::IntDiv || op == VarOp::Mod)
                DivByZero();
            return Variant();
        case Variant::kNull:
            return NullOp<op>(a, b);
        case Variant::kCurrency:
            return CurrencyOp<op>(a, b);
        case Variant::kString:
            if constexpr (op == VarOp::Add)
                return Concat(a, b);
            else if constexpr (IsFloatOp(op))
                return Variant(FloatArith<op>(F64(a), F64(b)));
            else
                return Int32Op<op>(a.ToInt(), b.ToInt());
        case Variant::kBoolean:
            if constexpr (op == VarOp::And)
                return Variant(a.ToBool() && b.ToBool());
            else if constexpr (op == VarOp::Or)
                return Variant(a.ToBool() || b.ToBool());
            else if constexpr (op == VarOp::Xor)
                return Variant(a.ToBool() != b.ToBool());
            else if constexpr (IsFloatOp(op))
                return Variant(FloatArith<op>(F64(a), F64(b)));
            else
                return Int32Op<op>(a.ToInt(), b.ToInt());
        case Variant::kDate:
            return DateOp<op>(a, b);
        case Variant::kInt64:
            return Int64Op<op>(I64(a), I64(b));
        case Variant::kUInt64:
            return UInt64Op<op>(U64(a), U64(b));
        default:
            break;
        }
        InvalidOperation();
    }

    template <typename T>
    static std::partial_ordering Order(T x, T y)
    {
        return x <=> y;
    }

    static std::partial_ordering Compare(const Variant &a, const Variant &b)
    {
        const Kind kind = OpKind(a, b);
        if (kind == Variant::kInteger)
            return Order(I32(a), I32(b));
        if (kind == Variant::kFloat)
            return Order(F64(a), F64(b));
        switch (kind) {
        case Variant::kEmpty:
            return std::partial_ordering::equivalent;
        case Variant::kNull:
            // Null is below everything, Empty included.
            return Order(int(!a.IsNull()), int(!b.IsNull()));
        case Variant::kCurrency:
            return Order(a.CurrencyFor(varCurrency), b.CurrencyFor(varCurrency));
        case Variant::kString:
            return Order(Text(a).compare(Text(b), Qt::CaseSensitive), 0);
        case Variant::kBoolean:
            return Order(int(a.ToBool()), int(b.ToBool()));
        case Variant::kDate:
            return Order(a.ToDate(), b.ToDate());
        case Variant::kInt64:
            return Order(I64(a), I64(b));
        case Variant::kUInt64: {
            // Numerically, so that a negative integer stays below any unsigned value.
            const auto wide = [](const Variant &v) { return v.FType == varUInt64 ? Int128(v.FS.U64) : Int128(I64(v)); };
            return Order(wide(a), wide(b));
        }
        default:
            break;
        }
        InvalidOperation();
    }

    static bool SameArray(const TzelVariantArray &x, const TzelVariantArray &y)
    {
        if (&x == &y)
            return true;
        if (x.ElementType != y.ElementType || x.Bounds.size() != y.Bounds.size() || x.Items.size() != y.Items.size())
            return false;
        for (qsizetype i = 0; i < x.Bounds.size(); ++i) {
            if (x.Bounds[i].Low != y.Bounds[i].Low || x.Bounds[i].High != y.Bounds[i].High)
                return false;
        }
        for (qsizetype i = 0; i < x.Items.size(); ++i) {
            if (!Variant::Identical(x.Items[i], y.Items[i]))
                return false;
        }
        return true;
    }

    static qsizetype Offset(const TzelVariantArray &arr, std::span<const int> indices)
    {
        if (qsizetype(indices.size()) != arr.Bounds.size())
            OutOfBounds();
        qsizetype offset = 0;
        for (qsizetype d = 0; d < arr.Bounds.size(); ++d) {
            const VarArrayBound &bound = arr.Bounds[d];
            const int i = indices[size_t(d)];
            if (i < bound.Low || i > bound.High)
                OutOfBounds();
            offset = offset * (qsizetype(bound.High) - bound.Low + 1) + (i - bound.Low);
        }
        return offset;
    }

    static const TzelVariantArray &Array(const Variant &v)
    {
        if (!v.IsArray())
            InvalidOperation();
        return *v.FS.Arr;
    }

    static Variant ZeroOf(quint16 elementType)
    {
        return elementType == varVariant ? Variant() : Variant().AsType(elementType);
    }
};

// ---- lifetime ---------------------------------------------------------------

void Variant::CopyOwned(const Variant &other) noexcept
{
    if (other.FKind == kString) {
        new (&FStr) QString(other.FStr);
    } else {
        FS.Arr = other.FS.Arr;
        FS.Arr->Ref.ref();
    }
}

void Variant::MoveOwned(Variant &&other) noexcept
{
    if (other.FKind == kString) {
        new (&FStr) QString(std::move(other.FStr));
        other.FStr.~QString();
    } else {
        FS.Arr = other.FS.Arr;
    }
    other.FType = varEmpty;
    other.FKind = kEmpty;
    other.FOwns = false;
    other.FS.I64 = 0;
}

Variant &Variant::AssignSlow(const Variant &other) noexcept
{
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void Variant::Release() noexcept
{
    if (FKind == kString) {
        FStr.~QString();
    } else if (!FS.Arr->Ref.deref()) {
        delete FS.Arr;
    }
    FOwns = false;
}

// ---- construction -------------------------------------------------------------

Variant Variant::FromString(QString value, quint16 code)
{
    Variant v(std::move(value));
    if (code == varOleStr || code == varString)
        v.FType = code;
    return v;
}

Variant::Kind Variant::KindOf(quint16 type) noexcept
{
    switch (type) {
    case varEmpty:
        return kEmpty;
    case varNull:
        return kNull;
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
        return kInteger;
    case varSingle:
    case varDouble:
        return kFloat;
    case varCurrency:
        return kCurrency;
    case varDate:
        return kDate;
    case varOleStr:
    case varString:
    case varUString:
        return kString;
    case varBoolean:
        return kBoolean;
    case varLongWord:
    case varInt64:
        return kInt64;
    case varUInt64:
        return kUInt64;
    default:
        return kNone;
    }
}

QString Variant::TypeName(quint16 code)
{
    static const char *const names[] = {
        "Empty", "Null", "Smallint", "Integer", "Single", "Double", "Currency", "Date",
        "OleStr", "Dispatch", "Error", "Boolean", "Variant", "Unknown", "Decimal", nullptr,
        "ShortInt", "Byte", "Word", "Cardinal", "Int64", "UInt64",
    };
    const quint16 base = code & varTypeMask;
    QString name;
    if (base < std::size(names) && names[base])
        name = QString::fromLatin1(names[base]);
    else if (base == varString)
        name = QStringLiteral("String");
    else if (base == varUString)
        name = QStringLiteral("UnicodeString");
    else
        name = QStringLiteral("$%1").arg(base, 4, 16, QLatin1Char('0')).toUpper();
    if (code & varArray)
        name.prepend(QLatin1String("Array "));
    if (code & varByRef)
        name.prepend(QLatin1String("ByRef "));
    return name;
}

// ---- conversions --------------------------------------------------------------

qint64 Variant::IntegerFor(quint16 target) const
{
    switch (FKind) {
    case kEmpty:
        return 0;
    case kInteger:
    case kBoolean:
        return FS.I32;
    case kInt64:
        return FType == varLongWord ? qint64(FS.U32) : FS.I64;
    case kUInt64:
        if (FS.U64 > quint64(std::numeric_limits<qint64>::max()))
            Overflow(FType, target);
        return qint64(FS.U64);
    case kFloat:
    case kDate:
        return RoundToInt64(FType == varSingle ? double(FS.F32) : FS.F64, FType, target);
    case kCurrency:
        return qint64(RoundDiv(FS.I64, 10000));
    case kString: {
        // A number in the user's locale, then a hexadecimal integer, then a
        // Boolean word (true is 1 here, not -1).
        bool ok = false;
        const qint64 whole = zelFormatSettings().Locale.toLongLong(FStr, &ok);
        if (ok)
            return whole;
        double d;
        if (zelTryStrToFloat(FStr, d))
            return RoundToInt64(d, FType, target);
        qint64 v;
        if (zelTryStrToInt64(FStr, v))
            return v;
        bool b;
        if (IsBoolWord(FStr, b))
            return b ? 1 : 0;
        CannotConvert(FType, target);
    }
    case kNull:
        CannotConvert(FType, target);
    case kNone:
        break;
    }
    InvalidConversion();
}

quint64 Variant::UnsignedFor(quint16 target) const
{
    switch (FKind) {
    case kUInt64:
        return FS.U64;
    case kFloat:
    case kDate: {
        const double r = std::nearbyint(FType == varSingle ? double(FS.F32) : FS.F64);
        if (!(r >= 0 && r < two64))
            Overflow(FType, target);
        return quint64(r);
    }
    case kString: {
        bool ok = false;
        const quint64 whole = zelFormatSettings().Locale.toULongLong(FStr, &ok);
        if (ok)
            return whole;
        break;
    }
    default:
        break;
    }
    const qint64 v = IntegerFor(target);
    if (v < 0)
        Overflow(FType, target);
    return quint64(v);
}

double Variant::DoubleFor(quint16 target) const
{
    switch (FKind) {
    case kEmpty:
        return 0;
    case kInteger:
    case kBoolean:
        return FS.I32;
    case kInt64:
        return FType == varLongWord ? double(FS.U32) : double(FS.I64);
    case kUInt64:
        return double(FS.U64);
    case kFloat:
    case kDate:
        return FType == varSingle ? double(FS.F32) : FS.F64;
    case kCurrency:
        return double(FS.I64) / 10000.0;
    case kString: {
        double d;
        if (zelTryStrToFloat(FStr, d))
            return d;
        CannotConvert(FType, target);
    }
    case kNull:
        CannotConvert(FType, target);
    case kNone:
        break;
    }
    InvalidConversion();
}

qint64 Variant::CurrencyFor(quint16 target) const
{
    switch (FKind) {
    case kCurrency:
        return FS.I64;
    case kFloat:
    case kDate:
    case kString:
        return DoubleToCurrency(DoubleFor(target), FType, target);
    case kUInt64:
        if (FS.U64 > quint64(std::numeric_limits<qint64>::max()) / 10000)
            Overflow(FType, target);
        return qint64(FS.U64) * 10000;
    default: {
        qint64 r;
        if (__builtin_mul_overflow(IntegerFor(target), qint64(10000), &r))
            Overflow(FType, target);
        return r;
    }
    }
}

bool Variant::BoolFor(quint16 target) const
{
    switch (FKind) {
    case kEmpty:
        return false;
    case kInteger:
    case kBoolean:
        return FS.I32 != 0;
    case kInt64:
        return FType == varLongWord ? FS.U32 != 0 : FS.I64 != 0;
    case kUInt64:
        return FS.U64 != 0;
    case kCurrency:
        return FS.I64 != 0;
    case kFloat:
    case kDate:
        return FType == varSingle ? FS.F32 != 0 : FS.F64 != 0;
    case kString: {
        const QStringView t = QStringView(FStr).trimmed();
        if (t == QLatin1String("0"))
            return false;
        if (t == QLatin1String("-1"))
            return true;
        bool b;
        if (IsBoolWord(t, b))
            return b;
        double d;
        if (zelTryStrToFloat(t, d))
            return d != 0;
        CannotConvert(FType, target);
    }
    case kNull:
        CannotConvert(FType, target);
    case kNone:
        break;
    }
    InvalidConversion();
}

QString Variant::TextFor(quint16 target) const
{
    switch (FType) {
    case varEmpty:
        return QString();
    case varNull:
        CannotConvert(FType, target);
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
        return QString::number(FS.I32);
    case varLongWord:
        return QString::number(FS.U32);
    case varInt64:
        return QString::number(FS.I64);
    case varUInt64:
        return QString::number(FS.U64);
    case varSingle:
        return zelSingleToStr(FS.F32);
    case varDouble:
        return zelFloatToStr(FS.F64);
    case varCurrency:
        return zelCurrToStr(FS.I64);
    case varDate:
        return zelDateTimeToStr(FS.F64);
    case varBoolean:
        return FS.I32 ? QStringLiteral("True") : QStringLiteral("False");
    case varOleStr:
    case varString:
    case varUString:
        return FStr;
    default:
        InvalidConversion();
    }
}

qint32 Variant::ToInt() const
{
    if (FKind == kInteger)
        return FS.I32;
    return Narrow<qint32>(IntegerFor(varInteger), FType, varInteger);
}

qint64 Variant::ToInt64() const
{
    return IntegerFor(varInt64);
}

quint64 Variant::ToUInt64() const
{
    return UnsignedFor(varUInt64);
}

double Variant::ToDouble() const
{
    return DoubleFor(varDouble);
}

qint64 Variant::ToCurrency() const
{
    return CurrencyFor(varCurrency);
}

double Variant::ToDate() const
{
    if (FKind == kString) {
        double serial;
        if (zelTryStrToDateTime(FStr, serial))
            return serial;
        CannotConvert(FType, varDate);
    }
    return DoubleFor(varDate);
}

QString Variant::ToString() const
{
    return TextFor(varUString);
}

Variant Variant::AsType(quint16 code) const
{
    if (code == FType || code == varVariant)
        return *this;
    if (IsArray())
        InvalidConversion();
    switch (code) {
    case varEmpty:
        return Variant();
    case varNull:
        return Null();
    case varShortInt:
        return FromShortInt(Narrow<qint8>(IntegerFor(code), FType, code));
    case varByte:
        return FromByte(Narrow<quint8>(IntegerFor(code), FType, code));
    case varSmallint:
        return FromSmallint(Narrow<qint16>(IntegerFor(code), FType, code));
    case varWord:
        return FromWord(Narrow<quint16>(IntegerFor(code), FType, code));
    case varInteger:
        return Variant(ToInt());
    case varLongWord:
        return FromCardinal(Narrow<quint32>(IntegerFor(code), FType, code));
    case varInt64:
        return Variant(ToInt64());
    case varUInt64:
        return Variant(ToUInt64());
    case varSingle: {
        const double d = DoubleFor(code);
        if (std::isfinite(d) && std::fabs(d) > FLT_MAX)
            Overflow(FType, code);
        return FromSingle(float(d));
    }
    case varDouble:
        return Variant(ToDouble());
    case varCurrency:
        return FromCurrency(ToCurrency());
    case varDate:
        return FromDate(ToDate());
    case varBoolean:
        return Variant(ToBool());
    case varOleStr:
    case varString:
    case varUString:
        return FromString(TextFor(code), code);
    default:
        InvalidConversion();
    }
}

// ---- operations ---------------------------------------------------------------

template <VarOp op>
Variant Variant::CalcOp(const Variant &a, const Variant &b)
{
    return TzelVariantOps::Calc<op>(a, b);
}

template Variant Variant::CalcOp<VarOp::Add>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Sub>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Mul>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Div>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::IntDiv>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Mod>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Shl>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Shr>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::And>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Or>(const Variant &, const Variant &);
template Variant Variant::CalcOp<VarOp::Xor>(const Variant &, const Variant &);

Variant Variant::Calc(VarOp op, const Variant &a, const Variant &b)
{
    switch (op) {
    case VarOp::Add:
        return CalcOp<VarOp::Add>(a, b);
    case VarOp::Sub:
        return CalcOp<VarOp::Sub>(a, b);
    case VarOp::Mul:
        return CalcOp<VarOp::Mul>(a, b);
    case VarOp::Div:
        return CalcOp<VarOp::Div>(a, b);
    case VarOp::IntDiv:
        return CalcOp<VarOp::IntDiv>(a, b);
    case VarOp::Mod:
        return CalcOp<VarOp::Mod>(a, b);
    case VarOp::Shl:
        return CalcOp<VarOp::Shl>(a, b);
    case VarOp::Shr:
        return CalcOp<VarOp::Shr>(a, b);
    case VarOp::And:
        return CalcOp<VarOp::And>(a, b);
    case VarOp::Or:
        return CalcOp<VarOp::Or>(a, b);
    case VarOp::Xor:
        return CalcOp<VarOp::Xor>(a, b);
    }
    Q_UNREACHABLE();
}

std::partial_ordering Variant::Compare(const Variant &a, const Variant &b)
{
    if (a.FType == varInteger && b.FType == varInteger)
        return a.FS.I32 <=> b.FS.I32;
    return TzelVariantOps::Compare(a, b);
}

void Variant::AddInPlaceSlow(const Variant &b)
{
    if (FType == varDouble && b.FType == varDouble) {
        const double r = FS.F64 + b.FS.F64;
        if (std::isfinite(r)) {
            FS.F64 = r;
            return;
        }
    } else if (FType == varInt64 && (b.FType == varInt64 || b.FType == varInteger)) {
        // 64-bit sums wrap.
        FS.I64 = qint64(quint64(FS.I64) + quint64(b.FType == varInt64 ? b.FS.I64 : qint64(b.FS.I32)));
        return;
    } else if (FType == varUString && b.FKind == kString) {
        FStr.append(b.FStr);
        return;
    }
    *this = CalcOp<VarOp::Add>(*this, b);
}

bool Variant::CompareOp(VarCmp op, const Variant &a, const Variant &b)
{
    const std::partial_ordering order = Compare(a, b);
    switch (op) {
    case VarCmp::Eq:
        return order == 0;
    case VarCmp::Ne:
        return order != 0;
    case VarCmp::Lt:
        return order < 0;
    case VarCmp::Le:
        return order <= 0;
    case VarCmp::Gt:
        return order > 0;
    case VarCmp::Ge:
        return order >= 0;
    }
    Q_UNREACHABLE();
}

Variant Variant::Neg(const Variant &a)
{
    switch (a.FKind) {
    case kEmpty:
        return Variant(0);
    case kNull:
        return a;
    case kInteger:
        return a.FS.I32 == std::numeric_limits<qint32>::min() ? Variant(-double(a.FS.I32)) : Variant(-a.FS.I32);
    case kInt64:
        return Variant(qint64(0 - quint64(a.IntegerFor(varInt64))));
    case kUInt64:
        return Variant(0 - a.FS.U64);
    case kFloat:
        return a.FType == varSingle ? FromSingle(-a.FS.F32) : Variant(-a.FS.F64);
    case kCurrency:
        if (a.FS.I64 == std::numeric_limits<qint64>::min())
            FloatOverflow();
        return FromCurrency(-a.FS.I64);
    case kDate:
        return FromDate(-a.FS.F64);
    case kString:
        return Variant(-a.ToDouble());
    case kBoolean:
        return Variant(a.FS.I32);
    case kNone:
        break;
    }
    InvalidOperation();
}

Variant Variant::Not(const Variant &a)
{
    switch (a.FKind) {
    case kNull:
        return a;
    case kEmpty:
        return Variant(-1);
    case kInteger:
        return Variant(~a.FS.I32);
    case kInt64:
        return Variant(~a.IntegerFor(varInt64));
    case kUInt64:
        return Variant(~a.FS.U64);
    case kFloat:
    case kCurrency:
    case kDate:
        return NarrowestInt(~a.IntegerFor(varInt64));
    case kBoolean:
        return Variant(a.FS.I32 == 0);
    case kString: {
        qint64 v;
        if (zelTryStrToInt64(a.FStr, v))
            return NarrowestInt(~v);
        return Variant(!a.ToBool());
    }
    case kNone:
        break;
    }
    InvalidOperation();
}

bool Variant::Identical(const Variant &a, const Variant &b)
{
    if (a.FType != b.FType)
        return false;
    if (a.IsArray())
        return TzelVariantOps::SameArray(*a.FS.Arr, *b.FS.Arr);
    switch (a.FKind) {
    case kInteger:
    case kBoolean:
        return a.FS.I32 == b.FS.I32;
    case kInt64:
        return a.FType == varLongWord ? a.FS.U32 == b.FS.U32 : a.FS.I64 == b.FS.I64;
    case kUInt64:
        return a.FS.U64 == b.FS.U64;
    case kCurrency:
        return a.FS.I64 == b.FS.I64;
    case kFloat:
    case kDate:
        if (a.FType == varSingle)
            return a.FS.F32 == b.FS.F32 || (std::isnan(a.FS.F32) && std::isnan(b.FS.F32));
        return a.FS.F64 == b.FS.F64 || (std::isnan(a.FS.F64) && std::isnan(b.FS.F64));
    case kString:
        return a.FStr == b.FStr;
    default:
        return true;  // Empty, Null and codes without payload
    }
}

// ---- arrays -------------------------------------------------------------------

Variant Variant::CreateArray(std::span<const VarArrayBound> bounds, quint16 elementType)
{
    const Kind kind = KindOf(elementType);
    if (bounds.empty() || (elementType != varVariant && (kind == kNone || kind == kEmpty || kind == kNull)))
        InvalidOperation();
    qsizetype count = 1;
    for (const VarArrayBound &b : bounds) {
        const qint64 n = qint64(b.High) - b.Low + 1;
        if (n < 0)
            OutOfBounds();
        count *= qsizetype(n);
    }
    QList<Variant> items(count, TzelVariantOps::ZeroOf(elementType));
    Variant v(quint16(varArray | elementType), kNone);
    v.FS.Arr = new TzelVariantArray(elementType, QList<VarArrayBound>(bounds.begin(), bounds.end()), std::move(items));
    v.FOwns = true;
    return v;
}

TzelVariantArray &Variant::ArrayForWrite()
{
    if (!IsArray())
        InvalidOperation();
    TzelVariantArray *arr = FS.Arr;
    if (arr->Ref.loadRelaxed() != 1) {
        FS.Arr = new TzelVariantArray(arr->ElementType, arr->Bounds, arr->Items);
        if (!arr->Ref.deref())
            delete arr;
    }
    return *FS.Arr;
}

int Variant::ArrayDimCount() const noexcept
{
    return IsArray() ? int(FS.Arr->Bounds.size()) : 0;
}

int Variant::ArrayLowBound(int dim) const
{
    const TzelVariantArray &arr = TzelVariantOps::Array(*this);
    if (dim < 1 || dim > arr.Bounds.size())
        OutOfBounds();
    return arr.Bounds[dim - 1].Low;
}

int Variant::ArrayHighBound(int dim) const
{
    const TzelVariantArray &arr = TzelVariantOps::Array(*this);
    if (dim < 1 || dim > arr.Bounds.size())
        OutOfBounds();
    return arr.Bounds[dim - 1].High;
}

Variant Variant::GetElement(std::span<const int> indices) const
{
    const TzelVariantArray &arr = TzelVariantOps::Array(*this);
    return arr.Items[TzelVariantOps::Offset(arr, indices)];
}

void Variant::PutElement(std::span<const int> indices, const Variant &value)
{
    TzelVariantOps::Offset(TzelVariantOps::Array(*this), indices);  // check before copying
    // Converting first keeps the array intact when the value does not fit,
    // and makes storing an array into itself safe.
    const Variant stored = FS.Arr->ElementType == varVariant ? value : value.AsType(FS.Arr->ElementType);
    TzelVariantArray &arr = ArrayForWrite();
    arr.Items[TzelVariantOps::Offset(arr, indices)] = stored;
}

void Variant::ArrayRedim(int highBound)
{
    TzelVariantOps::Array(*this);
    const VarArrayBound first = FS.Arr->Bounds.front();
    const qint64 count = qint64(highBound) - first.Low + 1;
    if (count < 0)
        OutOfBounds();
    TzelVariantArray &arr = ArrayForWrite();
    qsizetype inner = 1;
    for (qsizetype d = 1; d < arr.Bounds.size(); ++d)
        inner *= qsizetype(arr.Bounds[d].High) - arr.Bounds[d].Low + 1;
    const qsizetype oldSize = arr.Items.size();
    const qsizetype newSize = qsizetype(count) * inner;
    if (newSize < oldSize) {
        arr.Items.resize(newSize);
    } else if (newSize > oldSize) {
        const Variant zero = TzelVariantOps::ZeroOf(arr.ElementType);
        arr.Items.reserve(newSize);
        while (arr.Items.size() < newSize)
            arr.Items.append(zero);
    }
    arr.Bounds.front().High = highBound;
}
