#pragma once
/// \file

#include "base/core/zelexception.h"

#include <QString>
#include <QStringView>

#include <cmath>
#include <compare>
#include <concepts>
#include <initializer_list>
#include <new>
#include <span>
#include <type_traits>

// Type codes of variant values; scripts see them under these names.
constexpr quint16 varEmpty = 0;          ///< no value assigned
constexpr quint16 varNull = 1;           ///< the null value
constexpr quint16 varSmallint = 2;       ///< 16-bit signed
constexpr quint16 varInteger = 3;        ///< 32-bit signed
constexpr quint16 varSingle = 4;         ///< 32-bit float
constexpr quint16 varDouble = 5;         ///< 64-bit float
constexpr quint16 varCurrency = 6;       ///< 64-bit integer scaled by 10000
constexpr quint16 varDate = 7;           ///< day serial
constexpr quint16 varOleStr = 8;         ///< wide string: code only, stored as a string
constexpr quint16 varDispatch = 9;       ///< automation object: code only, no payload here
constexpr quint16 varError = 10;         ///< error code
constexpr quint16 varBoolean = 11;       ///< True is -1
constexpr quint16 varVariant = 12;       ///< a variant, as the element type of arrays
constexpr quint16 varUnknown = 13;       ///< interface: code only, no payload here
constexpr quint16 varShortInt = 16;      ///< 8-bit signed
constexpr quint16 varByte = 17;          ///< 8-bit unsigned
constexpr quint16 varWord = 18;          ///< 16-bit unsigned
constexpr quint16 varLongWord = 19;      ///< 32-bit unsigned, "Cardinal"
constexpr quint16 varInt64 = 20;         ///< 64-bit signed
constexpr quint16 varUInt64 = 21;        ///< 64-bit unsigned
constexpr quint16 varStrArg = 72;        ///< string argument: code only
constexpr quint16 varString = 256;       ///< 8-bit string
constexpr quint16 varAny = 257;          ///< any value: code only
constexpr quint16 varUString = 258;      ///< the engine's own strings
constexpr quint16 varTypeMask = 0x0FFF;  ///< the bits of a code that name the type
constexpr quint16 varArray = 0x2000;     ///< flag: an array of the type
constexpr quint16 varByRef = 0x4000;     ///< flag: a reference to a value of the type

/// Two-operand operators: + - * / div mod shl shr and or xor.
enum class VarOp : quint8 { Add, Sub, Mul, Div, IntDiv, Mod, Shl, Shr, And, Or, Xor };
/// Comparison operators: = <> < <= > >=.
enum class VarCmp : quint8 { Eq, Ne, Lt, Le, Gt, Ge };

/// A failed variant conversion or operation. Its messages are fixed English
/// texts rather than resource texts; Code tells them apart for callers.
class TzelVariantError : public TzelException
{
public:
    /// What went wrong; each value carries its fixed message.
    enum class Code : quint8 {
        CannotConvert,     ///< "Could not convert variant of type (%s) into type (%s)"
        Overflow,          ///< "Overflow while converting variant of type (%s) into type (%s)"
        InvalidOperation,  ///< "Invalid variant operation"
        InvalidConversion, ///< "Invalid variant type conversion"
        DivByZero,         ///< "Division by zero"
        ZeroDivide,        ///< "Floating point division by zero"
        InvalidFloat,      ///< "Invalid floating point operation"
        FloatOverflow,     ///< "Floating point overflow"
        IndexOutOfBounds,  ///< "Variant array index out of bounds"
    };

    /// Creates the error Code with its Message.
    TzelVariantError(Code code, QString message);
    ~TzelVariantError() override;

    /// Which failure this is.
    Code code() const noexcept { return FCode; }

private:
    Code FCode;
};

/// Bounds of one dimension of a variant array (High = Low - 1 for none).
struct VarArrayBound
{
    int Low = 0; ///< lowest index
    int High = -1; ///< highest index
};

struct TzelVariantArray;

/// The value of scripts, report expressions, data fields and variables: a type
/// code and a payload. 32 bytes, no heap for anything but strings (a QString in
/// place) and arrays (a shared block copied on write, so copies behave as
/// values). Operations pick their kind from one table indexed by the cached
/// base kinds of the operands; integer and double + - * and comparisons of
/// same-typed operands take an inline path.
class Variant
{
public:
    /// Empty.
    Variant() noexcept : FType(varEmpty), FKind(kEmpty), FOwns(false) { FS.I64 = 0; }
    /// Boolean (True stored as -1).
    Variant(bool value) noexcept : FType(varBoolean), FKind(kBoolean), FOwns(false) 
    {
        FS.I64 = 0;
        FS.I32 = value ? -1 : 0;
    }
    /// An integer: Integer up to 32 bits signed or 16 bits unsigned, Cardinal
    /// for 32 bits unsigned, Int64 and UInt64 for 64 bits.
    template <typename T>
        requires std::integral<T> && (!std::same_as<T, bool>)
    Variant(T value) noexcept : FOwns(false)
    {
        if constexpr (std::is_signed_v<T> ? sizeof(T) <= 4 : sizeof(T) <= 2) {
            SetScalar(varInteger, kInteger);
            FS.I32 = qint32(value);
        } else if constexpr (sizeof(T) <= 4) {
            SetScalar(varLongWord, kInt64);
            FS.U32 = quint32(value);
        } else if constexpr (std::is_signed_v<T>) {
            SetScalar(varInt64, kInt64);
            FS.I64 = qint64(value);
        } else {
            SetScalar(varUInt64, kUInt64);
            FS.U64 = quint64(value);
        }
    }
    /// Double.
    Variant(double value) noexcept : FType(varDouble), FKind(kFloat), FOwns(false) { FS.F64 = value; }
    /// UnicodeString.
    Variant(const QString &value) : FType(varUString), FKind(kString), FOwns(true) { new (&FStr) QString(value); }
    /// UnicodeString.
    Variant(QString &&value) noexcept : FType(varUString), FKind(kString), FOwns(true) { new (&FStr) QString(std::move(value)); }
    /// UnicodeString.
    Variant(QStringView value) : Variant(value.toString()) {}
    /// UnicodeString from UTF-8 text.
    Variant(const char *utf8) : Variant(QString::fromUtf8(utf8)) {}
    /// Pointers are not values (they would silently become Booleans).
    template <typename T>
    Variant(T *) = delete;

    /// A copy: strings and arrays are shared until written.
    Variant(const Variant &other) noexcept : FType(other.FType), FKind(other.FKind), FOwns(other.FOwns)
    {
        if (Q_LIKELY(!FOwns))
            FS = other.FS;
        else
            CopyOwned(other);
    }
    /// Takes over Other's payload.
    Variant(Variant &&other) noexcept : FType(other.FType), FKind(other.FKind), FOwns(other.FOwns)
    {
        if (Q_LIKELY(!FOwns))
            FS = other.FS;
        else
            MoveOwned(std::move(other));
    }
    /// Assigns a copy.
    Variant &operator=(const Variant &other) noexcept
    {
        if (Q_LIKELY(!FOwns && !other.FOwns)) {
            FType = other.FType, FKind = other.FKind, FS = other.FS;
            return *this;
        }
        return AssignSlow(other);
    }
    /// Takes over Other's payload.
    Variant &operator=(Variant &&other) noexcept
    {
        if (Q_LIKELY(!FOwns && !other.FOwns)) {
            FType = other.FType, FKind = other.FKind, FS = other.FS;
            return *this;
        }
        if (this != &other) {
            if (FOwns)
                Release();
            FType = other.FType, FKind = other.FKind, FOwns = other.FOwns;
            if (Q_LIKELY(!FOwns))
                FS = other.FS;
            else
                MoveOwned(std::move(other));
        }
        return *this;
    }
    ~Variant()
    {
        if (FOwns)
            Release();
    }

    /// Null, the absent value.
    static Variant Null() noexcept { return Variant(varNull, kNull); }
    /// ShortInt (8-bit signed).
    static Variant FromShortInt(qint8 value) noexcept { return Small(varShortInt, value); }
    /// Byte (8-bit unsigned).
    static Variant FromByte(quint8 value) noexcept { return Small(varByte, value); }
    /// Smallint (16-bit signed).
    static Variant FromSmallint(qint16 value) noexcept { return Small(varSmallint, value); }
    /// Word (16-bit unsigned).
    static Variant FromWord(quint16 value) noexcept { return Small(varWord, value); }
    /// Cardinal (32-bit unsigned).
    static Variant FromCardinal(quint32 value) noexcept { return Variant(value); }
    /// Int64.
    static Variant FromInt64(qint64 value) noexcept { return Variant(value); }
    /// UInt64.
    static Variant FromUInt64(quint64 value) noexcept { return Variant(value); }
    /// Single.
    static Variant FromSingle(float value) noexcept
    {
        Variant v(varSingle, kFloat);
        v.FS.F32 = value;
        return v;
    }
    /// Currency from its value scaled by 10000 (12345 is 1.2345).
    static Variant FromCurrency(qint64 scaled) noexcept
    {
        Variant v(varCurrency, kCurrency);
        v.FS.I64 = scaled;
        return v;
    }
    /// Date from a day serial.
    static Variant FromDate(double serial) noexcept
    {
        Variant v(varDate, kDate);
        v.FS.F64 = serial;
        return v;
    }
    /// A string of type code Code (varOleStr, varString or varUString).
    static Variant FromString(QString value, quint16 code);
    /// An automation object without payload: every use of it is an invalid
    /// operation, since automation is not available on this platform.
    static Variant FromDispatch() noexcept { return Variant(varDispatch, kNone); }
    /// A variant array of element type ElementType (varVariant for elements of
    /// any type) with the given bounds, one per dimension; elements start as
    /// Empty or as the zero of their type.
    static Variant CreateArray(std::span<const VarArrayBound> bounds, quint16 elementType = varVariant);
    /// Convenience form of CreateArray.
    static Variant CreateArray(std::initializer_list<VarArrayBound> bounds, quint16 elementType = varVariant)
    {
        return CreateArray(std::span<const VarArrayBound>(bounds.begin(), bounds.size()), elementType);
    }

    /// The type code (varArray added for arrays).
    quint16 VarType() const noexcept { return FType; }
    /// Whether the value is Empty.
    bool IsEmpty() const noexcept { return FType == varEmpty; }
    /// Whether the value is Null.
    bool IsNull() const noexcept { return FType == varNull; }
    /// Whether the value is a text of any of the three string codes.
    bool IsString() const noexcept { return FKind == kString; }
    /// Whether the value is a variant array.
    bool IsArray() const noexcept { return (FType & varArray) != 0; }
    /// Makes the value Empty.
    void Clear() noexcept { *this = Variant(); }

    /// Name of a type code as conversion messages show it ("Integer",
    /// "UnicodeString", "Array Variant").
    static QString TypeName(quint16 code);

    /// 32-bit integer; floats, currency and dates rounded halves to even.
    qint32 ToInt() const;
    /// 64-bit integer, rounded likewise.
    qint64 ToInt64() const;
    /// Unsigned 64-bit integer, rounded likewise; negative values overflow.
    quint64 ToUInt64() const;
    /// Double (True is -1.0).
    double ToDouble() const;
    /// Currency scaled by 10000, rounded halves to even.
    qint64 ToCurrency() const;
    /// Boolean: numbers are True when not 0; "0", "-1", True/False words and numbers as text.
    bool ToBool() const
    {
        if (Q_LIKELY(FType == varBoolean))
            return FS.I32 != 0;
        return BoolFor(varBoolean);
    }
    /// Day serial.
    double ToDate() const;
    /// Text: numbers in shortest form, currency and dates in the current
    /// format settings, "True"/"False"; Empty is the empty text.
    QString ToString() const;
    /// The value converted to type code Code, as assignment to a typed
    /// variable or array element does; varVariant keeps it as it is.
    Variant AsType(quint16 code) const;

    /// Result of a two-operand operator.
    static Variant Calc(VarOp op, const Variant &a, const Variant &b);
    /// Result of a comparison operator (Null is less than everything else).
    static bool CompareOp(VarCmp op, const Variant &a, const Variant &b);
    /// Order of A and B after conversion to their common kind; unordered only
    /// for NaN.
    static std::partial_ordering Compare(const Variant &a, const Variant &b);
    /// Unary minus.
    static Variant Neg(const Variant &a);
    /// Logical or bitwise not.
    static Variant Not(const Variant &a);
    /// Same type code and same value, with no conversion ("1" is not 1).
    static bool Identical(const Variant &a, const Variant &b);

    /// a + b (concatenation for texts).
    static Variant Add(const Variant &a, const Variant &b)
    {
        if (Both(a, b, varInteger)) {
            qint32 r;
            if (!__builtin_add_overflow(a.FS.I32, b.FS.I32, &r))
                return Variant(r);
        } else if (Both(a, b, varDouble)) {
            const double r = a.FS.F64 + b.FS.F64;
            if (Q_LIKELY(std::isfinite(r)))
                return Variant(r);
        }
        return CalcOp<VarOp::Add>(a, b);
    }
    /// a - b.
    static Variant Sub(const Variant &a, const Variant &b)
    {
        if (Both(a, b, varInteger)) {
            qint32 r;
            if (!__builtin_sub_overflow(a.FS.I32, b.FS.I32, &r))
                return Variant(r);
        } else if (Both(a, b, varDouble)) {
            const double r = a.FS.F64 - b.FS.F64;
            if (Q_LIKELY(std::isfinite(r)))
                return Variant(r);
        }
        return CalcOp<VarOp::Sub>(a, b);
    }
    /// a * b.
    static Variant Mul(const Variant &a, const Variant &b)
    {
        if (Both(a, b, varInteger)) {
            qint32 r;
            if (!__builtin_mul_overflow(a.FS.I32, b.FS.I32, &r))
                return Variant(r);
        } else if (Both(a, b, varDouble)) {
            const double r = a.FS.F64 * b.FS.F64;
            if (Q_LIKELY(std::isfinite(r)))
                return Variant(r);
        }
        return CalcOp<VarOp::Mul>(a, b);
    }
    /// a / b, always a float division (currency / currency stays currency).
    static Variant Div(const Variant &a, const Variant &b) { return CalcOp<VarOp::Div>(a, b); }
    /// a div b, truncating.
    static Variant IntDiv(const Variant &a, const Variant &b) { return CalcOp<VarOp::IntDiv>(a, b); }
    /// a mod b, with the sign of a.
    static Variant Mod(const Variant &a, const Variant &b) { return CalcOp<VarOp::Mod>(a, b); }
    /// a shl b.
    static Variant Shl(const Variant &a, const Variant &b) { return CalcOp<VarOp::Shl>(a, b); }
    /// a shr b, filling with zeros.
    static Variant Shr(const Variant &a, const Variant &b) { return CalcOp<VarOp::Shr>(a, b); }
    /// a and b: logical for Booleans, bitwise for numbers, three-valued with Null.
    static Variant And(const Variant &a, const Variant &b) { return CalcOp<VarOp::And>(a, b); }
    /// a or b.
    static Variant Or(const Variant &a, const Variant &b) { return CalcOp<VarOp::Or>(a, b); }
    /// a xor b.
    static Variant Xor(const Variant &a, const Variant &b) { return CalcOp<VarOp::Xor>(a, b); }
    /// a = b.
    static bool Equal(const Variant &a, const Variant &b)
    {
        if (Both(a, b, varInteger))
            return a.FS.I32 == b.FS.I32;
        return CompareOp(VarCmp::Eq, a, b);
    }
    /// a < b.
    static bool Less(const Variant &a, const Variant &b)
    {
        if (Both(a, b, varInteger))
            return a.FS.I32 < b.FS.I32;
        if (Both(a, b, varDouble))
            return a.FS.F64 < b.FS.F64;
        return CompareOp(VarCmp::Lt, a, b);
    }

    /// a += b in place: a text grows without being copied when it is not
    /// shared; numbers of one type add without conversion.
    void AddInPlace(const Variant &b)
    {
        if (Both(*this, b, varInteger)) {
            qint32 r;
            if (!__builtin_add_overflow(FS.I32, b.FS.I32, &r)) {
                FS.I32 = r;
                return;
            }
        } else if (FType == varDouble && b.FType == varInteger) {
            const double r = FS.F64 + double(b.FS.I32);
            if (Q_LIKELY(std::isfinite(r))) {
                FS.F64 = r;
                return;
            }
        }
        AddInPlaceSlow(b);
    }

    /// The comparison C of a and b, inline for two integers or two doubles.
    template <VarCmp C>
    static bool Compared(const Variant &a, const Variant &b)
    {
        if (Both(a, b, varInteger))
            return Holds<C>(a.FS.I32, b.FS.I32);
        if (Both(a, b, varDouble))
            return Holds<C>(a.FS.F64, b.FS.F64);
        return CompareOp(C, a, b);
    }

    // Operators as hidden friends, so that they never turn two non-variants
    // (a QString and an int) into variants.
    /// a + b (concatenation for texts).
    friend Variant operator+(const Variant &a, const Variant &b) { return Add(a, b); }
    /// a - b.
    friend Variant operator-(const Variant &a, const Variant &b) { return Sub(a, b); }
    /// a * b.
    friend Variant operator*(const Variant &a, const Variant &b) { return Mul(a, b); }
    /// a / b (float division).
    friend Variant operator/(const Variant &a, const Variant &b) { return Div(a, b); }
    /// -a.
    friend Variant operator-(const Variant &a) { return Neg(a); }

    /// Number of dimensions; 0 when the value is not an array.
    int ArrayDimCount() const noexcept;
    /// Low bound of dimension Dim (counted from 1).
    int ArrayLowBound(int dim) const;
    /// High bound of dimension Dim (counted from 1).
    int ArrayHighBound(int dim) const;
    /// Element at Indices, one per dimension.
    Variant GetElement(std::span<const int> indices) const;
    /// Element of a one-dimensional array.
    Variant GetElement(int index) const { return GetElement(std::span<const int>(&index, 1)); }
    /// Stores Value at Indices, converted to the element type of a typed array.
    void PutElement(std::span<const int> indices, const Variant &value);
    /// Stores Value in a one-dimensional array.
    void PutElement(int index, const Variant &value) { PutElement(std::span<const int>(&index, 1), value); }
    /// Moves the high bound of the first dimension, keeping the elements that
    /// remain and adding fresh ones.
    void ArrayRedim(int highBound);

private:
    // Base kinds: the rows and columns of the operation-kind table.
    enum Kind : quint8 {
        kEmpty, kNull, kInteger, kFloat, kCurrency, kString, kBoolean, kDate, kInt64, kUInt64,
        kNone, // no base kind: arrays, dispatch, error and other codes
    };
    friend struct TzelVariantOps;

    // Every type of the integer kind and Boolean (-1 or 0) keep their value
    // in I32, so integer-kind operations read one field whatever the width.
    union Scalar {
        qint32 I32;
        quint32 U32;
        qint64 I64;
        quint64 U64;
        float F32;
        double F64;
        TzelVariantArray *Arr;
    };

    Variant(quint16 type, Kind kind) noexcept : FType(type), FKind(kind), FOwns(false) { FS.I64 = 0; }
    void SetScalar(quint16 type, Kind kind) noexcept { FType = type, FKind = kind, FS.I64 = 0; }
    static Variant Small(quint16 type, qint32 value) noexcept
    {
        Variant v(type, kInteger);
        v.FS.I32 = value;
        return v;
    }
    static Kind KindOf(quint16 type) noexcept;
    // Whether both operands have type Type, with one branch.
    static bool Both(const Variant &a, const Variant &b, quint16 type) noexcept
    {
        return ((a.FType ^ type) | (b.FType ^ type)) == 0;
    }
    template <VarCmp C, typename T>
    static bool Holds(T x, T y)
    {
        if constexpr (C == VarCmp::Eq)
            return x == y;
        else if constexpr (C == VarCmp::Ne)
            return x != y;
        else if constexpr (C == VarCmp::Lt)
            return x < y;
        else if constexpr (C == VarCmp::Le)
            return x <= y;
        else if constexpr (C == VarCmp::Gt)
            return x > y;
        else
            return x >= y;
    }
    // One operator without dispatch on it (instantiated in the .cpp).
    template <VarOp op>
    static Variant CalcOp(const Variant &a, const Variant &b);

    void AddInPlaceSlow(const Variant &b);
    void CopyOwned(const Variant &other) noexcept;
    void MoveOwned(Variant &&other) noexcept;
    Variant &AssignSlow(const Variant &other) noexcept;
    void Release() noexcept;
    TzelVariantArray &ArrayForWrite();

    // Conversions naming Target in their messages.
    qint64 IntegerFor(quint16 target) const;
    quint64 UnsignedFor(quint16 target) const;
    double DoubleFor(quint16 target) const;
    qint64 CurrencyFor(quint16 target) const;
    bool BoolFor(quint16 target) const;
    QString TextFor(quint16 target) const;

    quint16 FType;
    Kind FKind;
    bool FOwns;     // payload is a QString or an array reference
    union {
        Scalar FS;
        QString FStr;
    };
};

/// Variants move in memory like plain bytes, so Qt's containers relocate them without copying.
Q_DECLARE_TYPEINFO(Variant, Q_RELOCATABLE_TYPE);
static_assert(sizeof(Variant) == 32);
