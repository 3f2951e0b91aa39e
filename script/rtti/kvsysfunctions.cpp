#include "script/rtti/kvsysfunctions.h"

#include "base/core/zeldatetime.h"
#include "base/services/zeldialogservice.h"
#include "base/core/zelformat.h"
#include "base/variant/zelformatroutines.h"
#include "base/variant/zelformatsettings.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvscript.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>

#include <cmath>

namespace {

using Params = std::span<Variant>;

QString text(const Variant &v)
{
    return v.ToString();
}

// Every maths function takes its argument as a float.
double real(const Variant &v)
{
    return v.ToDouble();
}

Variant nameCase(const QString &s)
{
    QString result = s.toLower();
    for (qsizetype i = 0; i < result.size(); ++i)
        if (i == 0 || result.at(i - 1) == QLatin1Char(' '))
            result[i] = result.at(i).toUpper();
    return Variant(result);
}

// A date, a time or both read from Text; What names what was expected.
double dateTimeOf(const QString &text, const char *what)
{
    double serial = 0;
    if (!zelTryStrToDateTime(text, serial))
        throw TzelConvertError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
    return serial;
}

// A whole number in the 32-bit range ("1.5" is not one).
bool validInt(const QString &s)
{
    qint64 value = 0;
    return zelTryStrToInt64(s, value) && value == qint32(value);
}

} // namespace

TkvSysFunctions::TkvSysFunctions(TkvScript *script) : TkvRTTIModule(script)
{
    TkvScript &s = *script;
    for (const char *name : {"Byte", "Word", "Integer", "Longint", "Cardinal", "TColor", "TAlphaColor"})
        s.AddType(QString::fromLatin1(name), fvtInt);
    s.AddType(QStringLiteral("Int64"), fvtInt64);
    s.AddType(QStringLiteral("Boolean"), fvtBool);
    for (const char *name : {"Real", "Single", "Double", "Extended", "Currency", "TDate", "TTime", "TDateTime"})
        s.AddType(QString::fromLatin1(name), fvtFloat);
    s.AddType(QStringLiteral("Char"), fvtChar);
    s.AddType(QStringLiteral("String"), fvtString);
    s.AddType(QStringLiteral("Variant"), fvtVariant);
    s.AddType(QStringLiteral("Pointer"), fvtVariant);
    s.AddType(QStringLiteral("Array"), fvtArray);
    s.AddType(QStringLiteral("Constructor"), fvtConstructor);

    s.AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Variant(true));
    s.AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), Variant(false));
    s.AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), Variant(0));
    s.AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), Variant::Null());
    const std::pair<const char *, int> codes[] = {
        {"varEmpty", varEmpty},       {"varNull", varNull},         {"varSmallint", varSmallint},
        {"varInteger", varInteger},   {"varSingle", varSingle},     {"varDouble", varDouble},
        {"varCurrency", varCurrency}, {"varDate", varDate},         {"varOleStr", varOleStr},
        {"varDispatch", varDispatch}, {"varError", varError},       {"varBoolean", varBoolean},
        {"varVariant", varVariant},   {"varUnknown", varUnknown},   {"varShortInt", varShortInt},
        {"varByte", varByte},         {"varWord", varWord},         {"varLongWord", varLongWord},
        {"varInt64", varInt64},       {"varStrArg", varStrArg},     {"varString", varString},
        {"varAny", varAny},           {"varTypeMask", varTypeMask}, {"varArray", varArray},
        {"varByRef", varByRef},
    };
    for (const auto &[name, code] : codes)
        s.AddConst(QString::fromLatin1(name), QStringLiteral("Integer"), Variant(code));
    s.AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("String"), Variant(QString()));
    s.AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("String"), Variant(QString()));

    const auto add = [&s](const QString &category, const char *syntax, auto body) {
        s.AddMethod(QString::fromLatin1(syntax), [body](TkvMethodCall &call) { return body(call.Params); }, category);
    };

    const QString conv = QStringLiteral("ctConv");
    add(conv, "function IntToStr(i: Integer): String", [](Params p) { return Variant(QString::number(p[0].ToInt64())); });
    add(conv, "function FloatToStr(e: Extended): String", [](Params p) { return Variant(zelFloatToStr(p[0].ToDouble())); });
    add(conv, "function DateTimeToStr(e: Extended): String",
        [](Params p) { return Variant(zelDateTimeToStr(p[0].ToDouble())); });
    add(conv, "function BoolToStr(B: Boolean): string;",
        [](Params p) { return Variant(p[0].ToBool() ? QStringLiteral("-1") : QStringLiteral("0")); });
    add(conv, "function VarToStr(v: Variant): String",
        [](Params p) { return Variant(p[0].IsNull() ? QString() : p[0].ToString()); });
    add(conv, "function StrToInt(s: String): Integer", [](Params p) { return Variant(p[0].ToInt()); });
    add(conv, "function StrToInt64(s: String): Int64", [](Params p) { return Variant::FromInt64(p[0].ToInt64()); });
    add(conv, "function StrToFloat(s: String): Extended", [](Params p) { return Variant(p[0].ToDouble()); });
    add(conv, "function StrToDateTime(s: String): Extended", [](Params p) { return Variant(p[0].ToDate()); });
    add(conv, "function StrToBool(const S: string): Boolean;",
        [](Params p) { return Variant(p[0].ToBool() ? QStringLiteral("-1") : QStringLiteral("0")); });

    const QString fmt = QStringLiteral("ctFormat");
    add(fmt, "function Format(Fmt: String; Args: array): String", [](Params p) {
        std::vector<Variant> args;
        if (p[1].IsArray())
            for (int i = p[1].ArrayLowBound(1); i <= p[1].ArrayHighBound(1); ++i)
                args.push_back(p[1].GetElement(i));
        return Variant(zelFormatValues(text(p[0]), args));
    });
    add(fmt, "function FormatFloat(Fmt: String; Value: Extended): String",
        [](Params p) { return Variant(zelFormatFloat(text(p[0]), p[1].ToDouble())); });
    add(fmt, "function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
        [](Params p) { return Variant(zelFormatDateTime(text(p[0]), p[1].ToDate())); });
    add(fmt, "function FormatMaskText(EditMask: string; Value: string): string",
        [](Params p) { return Variant(zelFormatMaskText(text(p[0]), text(p[1]))); });

    add(conv, "function DateToStr(e: Extended): String", [](Params p) { return Variant(zelDateToStr(p[0].ToDate())); });
    add(conv, "function TimeToStr(e: Extended): String", [](Params p) { return Variant(zelTimeToStr(p[0].ToDate())); });
    add(conv, "function StrToDate(s: String): Extended",
        [](Params p) { return Variant(std::floor(dateTimeOf(text(p[0]), "date"))); });
    add(conv, "function StrToTime(s: String): Extended", [](Params p) {
        const double serial = dateTimeOf(text(p[0]), "time");
        return Variant(serial - std::floor(serial));
    });

    const QString date = QStringLiteral("ctDate");
    add(date, "function EncodeDate(Year, Month, Day: Word): TDateTime", [](Params p) {
        const QDate d(p[0].ToInt(), p[1].ToInt(), p[2].ToInt());
        if (!d.isValid())
            throw TzelException(QStringLiteral("Invalid argument to date encode"));
        return Variant::FromDate(zelDateTimeToSerial(QDateTime(d, QTime(0, 0))));
    });
    add(date, "procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)", [](Params p) {
        const QDate d = zelSerialToDateTime(p[0].ToDate()).date();
        p[1] = Variant(d.year());
        p[2] = Variant(d.month());
        p[3] = Variant(d.day());
        return Variant::Null();
    });
    add(date, "function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime", [](Params p) {
        const QTime t(p[0].ToInt(), p[1].ToInt(), p[2].ToInt(), p[3].ToInt());
        if (!t.isValid())
            throw TzelException(QStringLiteral("Invalid argument to time encode"));
        return Variant::FromDate(t.msecsSinceStartOfDay() / 86400000.0);
    });
    add(date, "procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)", [](Params p) {
        const QTime t = zelSerialToDateTime(p[0].ToDate()).time();
        p[1] = Variant(t.hour());
        p[2] = Variant(t.minute());
        p[3] = Variant(t.second());
        p[4] = Variant(t.msec());
        return Variant::Null();
    });
    add(date, "function Date: TDateTime", [](Params) { return Variant::FromDate(std::floor(zelNow())); });
    add(date, "function Time: TDateTime", [](Params) {
        const double now = zelNow();
        return Variant::FromDate(now - std::floor(now));
    });
    add(date, "function Now: TDateTime", [](Params) { return Variant::FromDate(zelNow()); });
    add(date, "function DayOfWeek(aDate: TDateTime): Integer", [](Params p) {
        return Variant(zelSerialToDateTime(p[0].ToDate()).date().dayOfWeek() % 7 + 1); // Sunday is 1
    });
    add(date, "function IsLeapYear(Year: Word): Boolean",
        [](Params p) { return Variant(QDate::isLeapYear(p[0].ToInt())); });
    add(date, "function DaysInMonth(nYear, nMonth: Integer): Integer", [](Params p) {
        const QDate first(p[0].ToInt(), p[1].ToInt(), 1);
        if (!first.isValid())
            throw TzelException(QStringLiteral("Invalid argument to date encode"));
        return Variant(first.daysInMonth());
    });

    const QString str = QStringLiteral("ctString");
    add(str, "function Length(s: Variant): Integer", [](Params p) {
        if (p[0].IsArray())
            return Variant(p[0].ArrayHighBound(1) - p[0].ArrayLowBound(1) + 1);
        return Variant(int(text(p[0]).size()));
    });
    add(str, "function Copy(s: String; from, count: Integer): String", [](Params p) {
        const QString source = text(p[0]);
        const qsizetype from = qMax(1, p[1].ToInt());
        const qsizetype count = qMax(0, p[2].ToInt());
        return Variant(from > source.size() ? QString() : source.mid(from - 1, count));
    });
    add(str, "function Pos(substr, s: String): Integer",
        [](Params p) { return Variant(int(text(p[1]).indexOf(text(p[0]))) + 1); });
    const auto remove = [](Params p) {
        QString source = text(p[0]);
        const qsizetype from = p[1].ToInt();
        const qsizetype count = p[2].ToInt();
        if (from >= 1 && from <= source.size() && count > 0)
            source.remove(from - 1, count);
        p[0] = Variant(source);
        return Variant::Null();
    };
    add(str, "procedure Delete(var s: String; from, count: Integer)", remove);
    add(str, "procedure DeleteStr(var s: String; from, count: Integer)", remove);
    add(str, "procedure Insert(s: String; var s2: String; pos: Integer)", [](Params p) {
        QString s2 = text(p[1]);
        const qsizetype at = qBound<qsizetype>(1, qsizetype(p[2].ToInt()), s2.size() + 1);
        s2.insert(at - 1, text(p[0]));
        p[1] = Variant(s2);
        return Variant::Null();
    });
    add(str, "function Uppercase(s: String): String", [](Params p) { return Variant(text(p[0]).toUpper()); });
    add(str, "function Lowercase(s: String): String", [](Params p) { return Variant(text(p[0]).toLower()); });
    add(str, "function Trim(s: String): String", [](Params p) { return Variant(text(p[0]).trimmed()); });
    add(str, "function NameCase(s: String): String", [](Params p) { return nameCase(text(p[0])); });
    add(str, "function CompareText(s, s1: String): Integer", [](Params p) {
        return Variant(QString::localeAwareCompare(text(p[0]).toLower(), text(p[1]).toLower()));
    });
    add(str, "function Chr(i: Integer): Char", [](Params p) { return Variant(QString(QChar(char16_t(p[0].ToInt())))); });
    add(str, "function Ord(ch: Char): Integer", [](Params p) {
        if (p[0].IsString()) {
            const QString ch = text(p[0]);
            return Variant(ch.isEmpty() ? 0 : int(ch.at(0).unicode()));
        }
        return Variant(p[0].ToInt());
    });
    add(str, "procedure SetLength(var S: Variant; L: Integer)", [](Params p) {
        const int length = qMax(0, p[1].ToInt());
        if (p[0].IsArray()) {
            p[0].ArrayRedim(p[0].ArrayLowBound(1) + length - 1);
        } else {
            QString resized = text(p[0]);
            resized.resize(length, QLatin1Char(' '));
            p[0] = Variant(resized);
        }
        return Variant::Null();
    });

    const QString math = QStringLiteral("ctMath");
    add(math, "function Round(e: Extended): Integer", [](Params p) { return Variant(Variant(real(p[0])).ToInt()); });
    add(math, "function Trunc(e: Extended): Integer",
        [](Params p) { return Variant(Variant(std::trunc(real(p[0]))).ToInt()); });
    add(math, "function Int(e: Extended): Integer", [](Params p) { return Variant(std::trunc(real(p[0]))); });
    add(math, "function Frac(X: Extended): Extended", [](Params p) {
        const double x = real(p[0]);
        return Variant(x - std::trunc(x));
    });
    add(math, "function Sqrt(e: Extended): Extended", [](Params p) { return Variant(std::sqrt(real(p[0]))); });
    add(math, "function Abs(e: Extended): Extended", [](Params p) { return Variant(std::fabs(real(p[0]))); });
    add(math, "function Sin(e: Extended): Extended", [](Params p) { return Variant(std::sin(real(p[0]))); });
    add(math, "function Cos(e: Extended): Extended", [](Params p) { return Variant(std::cos(real(p[0]))); });
    add(math, "function ArcTan(X: Extended): Extended", [](Params p) { return Variant(std::atan(real(p[0]))); });
    add(math, "function Tan(X: Extended): Extended", [](Params p) {
        const double x = real(p[0]);
        return Variant(std::sin(x) / std::cos(x));
    });
    add(math, "function Exp(X: Extended): Extended", [](Params p) { return Variant(std::exp(real(p[0]))); });
    add(math, "function Ln(X: Extended): Extended", [](Params p) { return Variant(std::log(real(p[0]))); });
    add(math, "function Pi: Extended", [](Params) { return Variant(3.1415926535897932385); });

    const QString other = QStringLiteral("ctOther");
    add(other, "procedure Inc(var i: Integer; incr: Integer = 1)", [](Params p) {
        p[0] = Variant::Add(p[0], p[1]);
        return Variant::Null();
    });
    add(other, "procedure Dec(var i: Integer; decr: Integer = 1)", [](Params p) {
        p[0] = Variant::Sub(p[0], p[1]);
        return Variant::Null();
    });
    add(other, "procedure RaiseException(Param: String)",
        [](Params p) -> Variant { throw TzelException(text(p[0])); });
    s.AddMethod(
        QStringLiteral("procedure ShowMessage(Msg: Variant)"),
        [](TkvMethodCall &call) {
            call.Script.CheckAllowed(QStringLiteral("ShowMessage"));
            const Variant &msg = call.Params[0];
            TzelDialogService::Instance().MessageBox(msg.IsNull() ? QString() : text(msg), QString(),
                                                     TzelDialogService::mbOK, TzelDialogService::miInformation);
            return Variant::Null();
        },
        other);
    // Automation servers are a facility this system does not have.
    add(other, "function CreateOleObject(ClassName: String): Variant", [](Params p) -> Variant {
        throw TzelException(zelFormat(kvMessage("SNoAutomation"), {text(p[0])}));
    });
    add(other, "procedure Randomize", [](Params) { return Variant::Null(); });
    add(other, "function Random: Extended", [](Params) { return Variant(QRandomGenerator::global()->generateDouble()); });
    add(other, "function ValidInt(cInt: String): Boolean", [](Params p) { return Variant(validInt(text(p[0]))); });
    add(other, "function ValidFloat(cFlt: String): Boolean", [](Params p) {
        double value = 0;
        return Variant(zelTryStrToFloat(text(p[0]), value));
    });
    add(other, "function ValidDate(cDate: String): Boolean", [](Params p) {
        double value = 0;
        return Variant(p[0].VarType() == varDate || zelTryStrToDateTime(text(p[0]), value));
    });
    add(other, "function ExtractFilePath(const FileName: string): string;", [](Params p) {
        const QString name = text(p[0]);
        return Variant(name.left(name.lastIndexOf(QLatin1Char('/')) + 1));
    });
    add(other, "function VarArrayCreate(Bounds: Array; Typ: Integer): Variant", [](Params p) {
        const Variant &bounds = p[0];
        std::vector<VarArrayBound> dims;
        if (bounds.IsArray()) {
            const int low = bounds.ArrayLowBound(1);
            for (int i = low; i + 1 <= bounds.ArrayHighBound(1); i += 2)
                dims.push_back({bounds.GetElement(i).ToInt(), bounds.GetElement(i + 1).ToInt()});
        }
        if (dims.empty())
            throw TzelException(QStringLiteral("Invalid variant array bounds"));
        return Variant::CreateArray(dims, quint16(p[1].ToInt()));
    });
    add(other, "function VarType(V: Variant): Integer", [](Params p) { return Variant(int(p[0].VarType())); });
}
