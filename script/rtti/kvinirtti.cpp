#include "script/rtti/kvinirtti.h"

#include "base/core/zeldatetime.h"
#include "base/core/zelinifile.h"
#include "base/variant/zelformatsettings.h"
#include "script/engine/kvclassvariable.h"
#include "script/engine/kvscript.h"
#include "script/rtti/kvclassesrtti.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <mutex>

namespace {

class IniObject : public TkvBasicObject
{
public:
    IniObject(QString className, const QString &fileName, bool writeThrough)
        : TkvBasicObject(std::move(className)), Ini(fileName), WriteThrough(writeThrough)
    {
    }

    TzelIniFile Ini;
    const bool WriteThrough; // TIniFile: every change goes to the file at once
};

using Params = std::span<Variant>;

QString text(const Variant &v)
{
    return v.IsNull() ? QString() : v.ToString();
}

IniObject &iniOf(const TkvMethodCall &call)
{
    return TkvBasicObject::Of<IniObject>(call.Instance);
}

// A change of the contents; one of a TIniFile also writes its file, so it
// is checked before anything changes.
template <class Change>
Variant change(TkvMethodCall &call, const char *member, Change apply)
{
    IniObject &ini = iniOf(call);
    if (ini.WriteThrough)
        call.Script.CheckAllowed(QStringLiteral("TCustomIniFile.") + QLatin1String(member));
    apply(ini.Ini, call.Params);
    if (ini.WriteThrough)
        ini.Ini.UpdateFile();
    return Variant::Null();
}

// Reads the value of Section/Ident (the first two parameters) with Parse;
// the default (the third) when it is missing or Parse refuses it.
template <class Parse>
Variant read(TkvMethodCall &call, Parse parse)
{
    const TzelIniFile &ini = iniOf(call).Ini;
    const QString key = text(call.Params[1]);
    const QString section = text(call.Params[0]);
    if (ini.ValueExists(section, key))
        if (const Variant value = parse(ini.ReadString(section, key)); !value.IsNull())
            return value;
    return call.Params[2];
}

// A date, a time or both read in the current settings; Null when it is none.
template <class Portion>
Variant parseDate(const QString &value, Portion portion)
{
    double serial = 0;
    return zelTryStrToDateTime(value, serial) ? Variant::FromDate(portion(serial)) : Variant::Null();
}

void fill(const Variant &list, const QStringList &lines)
{
    TkvStringList &strings = TkvBasicObject::Of<TkvStringList>(list);
    strings.Clear();
    for (const QString &line : lines)
        strings.Add(line);
}

// Create(FileName) of ClassName; a file that exists is read at once.
TkvCallMethodEvent constructorOf(const QString &className, bool writeThrough)
{
    return [className, writeThrough](TkvMethodCall &call) {
        const QString fileName = text(call.Params[0]);
        if (!fileName.isEmpty())
            call.Script.CheckAllowed(className + QStringLiteral(".Create"));
        return TkvBasicObject::Adopt(std::make_shared<IniObject>(className, fileName, writeThrough));
    };
}

void addCustomIniFile(TkvScript &s)
{
    TkvClassVariable *c = s.AddClass(QStringLiteral("TCustomIniFile"), QStringLiteral("TObject"));
    if (!c)
        return;
    // Keeps its changes in memory, like TMemIniFile.
    c->AddConstructor(QStringLiteral("constructor Create(const FileName: String)"),
                      constructorOf(QStringLiteral("TCustomIniFile"), false));
    const auto addMethod = [c](const char *syntax, TkvCallMethodEvent call) {
        c->AddMethod(QString::fromLatin1(syntax), std::move(call));
    };
    addMethod("function ReadString(const Section, Ident, Default: String): String", [](TkvMethodCall &call) {
        return read(call, [](const QString &value) { return Variant(value); });
    });
    addMethod("procedure WriteString(const Section, Ident, Value: String)", [](TkvMethodCall &call) {
        return change(call, "WriteString",
                      [](TzelIniFile &ini, Params p) { ini.WriteString(text(p[0]), text(p[1]), text(p[2])); });
    });
    addMethod("function ReadInteger(const Section, Ident: String; Default: Integer): Integer", [](TkvMethodCall &call) {
        return read(call, [](const QString &value) {
            qint64 number = 0;
            return zelTryStrToInt64(value, number) && number == qint32(number) ? Variant(qint32(number))
                                                                               : Variant::Null();
        });
    });
    addMethod("procedure WriteInteger(const Section, Ident: String; Value: Integer)", [](TkvMethodCall &call) {
        return change(call, "WriteInteger", [](TzelIniFile &ini, Params p) {
            ini.WriteString(text(p[0]), text(p[1]), QString::number(p[2].ToInt64()));
        });
    });
    addMethod("function ReadBool(const Section, Ident: String; Default: Boolean): Boolean", [](TkvMethodCall &call) {
        return read(call, [](const QString &value) {
            qint64 number = 0;
            return zelTryStrToInt64(value, number) ? Variant(number != 0) : Variant::Null();
        });
    });
    addMethod("procedure WriteBool(const Section, Ident: String; Value: Boolean)", [](TkvMethodCall &call) {
        return change(call, "WriteBool", [](TzelIniFile &ini, Params p) {
            ini.WriteString(text(p[0]), text(p[1]), p[2].ToBool() ? QStringLiteral("1") : QStringLiteral("0"));
        });
    });
    addMethod("function ReadFloat(const Section, Name: String; Default: Double): Double", [](TkvMethodCall &call) {
        return read(call, [](const QString &value) {
            double number = 0;
            return zelTryStrToFloat(value, number) ? Variant(number) : Variant::Null();
        });
    });
    addMethod("procedure WriteFloat(const Section, Name: String; Value: Double)", [](TkvMethodCall &call) {
        return change(call, "WriteFloat", [](TzelIniFile &ini, Params p) {
            ini.WriteString(text(p[0]), text(p[1]), zelFloatToStr(p[2].ToDouble()));
        });
    });
    addMethod("function ReadDate(const Section, Name: String; Default: TDateTime): TDateTime", [](TkvMethodCall &call) {
        return read(call, [](const QString &value) { return parseDate(value, [](double d) { return std::floor(d); }); });
    });
    addMethod("procedure WriteDate(const Section, Name: String; Value: TDateTime)", [](TkvMethodCall &call) {
        return change(call, "WriteDate", [](TzelIniFile &ini, Params p) {
            ini.WriteString(text(p[0]), text(p[1]), zelDateToStr(p[2].ToDouble()));
        });
    });
    addMethod("function ReadDateTime(const Section, Name: String; Default: TDateTime): TDateTime",
              [](TkvMethodCall &call) {
                  return read(call, [](const QString &value) { return parseDate(value, [](double d) { return d; }); });
              });
    addMethod("procedure WriteDateTime(const Section, Name: String; Value: TDateTime)", [](TkvMethodCall &call) {
        return change(call, "WriteDateTime", [](TzelIniFile &ini, Params p) {
            ini.WriteString(text(p[0]), text(p[1]), zelDateTimeToStr(p[2].ToDouble()));
        });
    });
    addMethod("function ReadTime(const Section, Name: String; Default: TDateTime): TDateTime", [](TkvMethodCall &call) {
        return read(call, [](const QString &value) {
            return parseDate(value, [](double d) { return std::fabs(d - std::trunc(d)); });
        });
    });
    addMethod("procedure WriteTime(const Section, Name: String; Value: TDateTime)", [](TkvMethodCall &call) {
        return change(call, "WriteTime", [](TzelIniFile &ini, Params p) {
            ini.WriteString(text(p[0]), text(p[1]), zelTimeToStr(p[2].ToDouble()));
        });
    });
    // Binary values are hex digits. Reading writes the bytes at the stream's
    // position and leaves it in front of them, ready to read them back.
    addMethod("function ReadBinaryStream(const Section, Name: String; Value: TStream): Integer",
              [](TkvMethodCall &call) {
                  const QString hex = iniOf(call).Ini.ReadString(text(call.Params[0]), text(call.Params[1]));
                  TkvStream &stream = TkvBasicObject::Of<TkvStream>(call.Params[2]);
                  const QByteArray digits = hex.toLatin1();
                  const bool valid = digits.size() % 2 == 0
                                  && std::all_of(digits.begin(), digits.end(), [](char ch) { return std::isxdigit(uchar(ch)); });
                  if (!valid)
                      return Variant(0);
                  const QByteArray bytes = QByteArray::fromHex(digits);
                  const qint64 start = stream.Position();
                  stream.Write(bytes);
                  stream.SetPosition(start);
                  return Variant(int(bytes.size()));
              });
    addMethod("procedure WriteBinaryStream(const Section, Name: String; Value: TStream)", [](TkvMethodCall &call) {
        const QByteArray bytes = TkvBasicObject::Of<TkvStream>(call.Params[2]).ReadRest();
        return change(call, "WriteBinaryStream", [&bytes](TzelIniFile &ini, Params p) {
            ini.WriteString(text(p[0]), text(p[1]), QString::fromLatin1(bytes.toHex().toUpper()));
        });
    });
    addMethod("function SectionExists(const Section: String): Boolean", [](TkvMethodCall &call) {
        return Variant(iniOf(call).Ini.SectionExists(text(call.Params[0])));
    });
    addMethod("function ValueExists(const Section, Ident: String): Boolean", [](TkvMethodCall &call) {
        return Variant(iniOf(call).Ini.ValueExists(text(call.Params[0]), text(call.Params[1])));
    });
    // A list is kept as a section of its own: Count, then Item0, Item1...,
    // so lines holding "=" or nothing come back as they were.
    addMethod("procedure WriteTStrings(const Section: String; Values: TStrings)", [](TkvMethodCall &call) {
        const QStringList lines = TkvBasicObject::Of<TkvStringList>(call.Params[1]).Lines();
        return change(call, "WriteTStrings", [&lines](TzelIniFile &ini, Params p) {
            const QString section = text(p[0]);
            ini.EraseSection(section);
            ini.WriteString(section, QStringLiteral("Count"), QString::number(lines.size()));
            for (qsizetype i = 0; i < lines.size(); ++i)
                ini.WriteString(section, QStringLiteral("Item%1").arg(i), lines[i]);
        });
    });
    addMethod("procedure ReadTStrings(const Section: String; Strings: TStrings)", [](TkvMethodCall &call) {
        const TzelIniFile &ini = iniOf(call).Ini;
        const QString section = text(call.Params[0]);
        TkvBasicObject::Of<TkvStringList>(call.Params[1]); // a wrong list is refused before anything is read
        qint64 count = 0;
        zelTryStrToInt64(ini.ReadString(section, QStringLiteral("Count")), count);
        // Never more lines than the section has keys, whatever Count says.
        count = qBound<qint64>(0, count, ini.ReadSection(section).size());
        QStringList lines;
        for (qint64 i = 0; i < count; ++i)
            lines << ini.ReadString(section, QStringLiteral("Item%1").arg(i));
        fill(call.Params[1], lines);
        return Variant::Null();
    });
    c->AddProperty(QStringLiteral("FileName"), QStringLiteral("String"), [](const Variant &instance, const QString &) {
        return Variant(TkvBasicObject::Of<IniObject>(instance).Ini.FileName());
    });
    addMethod("procedure DeleteKey(const Section, Ident: String)", [](TkvMethodCall &call) {
        return change(call, "DeleteKey", [](TzelIniFile &ini, Params p) { ini.DeleteKey(text(p[0]), text(p[1])); });
    });
    addMethod("procedure ReadSection(const Section: String; Strings: TStrings)", [](TkvMethodCall &call) {
        fill(call.Params[1], iniOf(call).Ini.ReadSection(text(call.Params[0])));
        return Variant::Null();
    });
    addMethod("procedure ReadSections(Strings: TStrings)", [](TkvMethodCall &call) {
        fill(call.Params[0], iniOf(call).Ini.ReadSections());
        return Variant::Null();
    });
    addMethod("procedure ReadSectionValues(const Section: String; Strings: TStrings)", [](TkvMethodCall &call) {
        fill(call.Params[1], iniOf(call).Ini.ReadSectionValues(text(call.Params[0])));
        return Variant::Null();
    });
    // The values alone, one line per key.
    addMethod("procedure ReadSectionValuesEx(const Section: String; Strings: TStrings)", [](TkvMethodCall &call) {
        const TzelIniFile &ini = iniOf(call).Ini;
        const QString section = text(call.Params[0]);
        QStringList values;
        for (const QString &key : ini.ReadSection(section))
            values << ini.ReadString(section, key);
        fill(call.Params[1], values);
        return Variant::Null();
    });
    addMethod("procedure EraseSection(const Section: String)", [](TkvMethodCall &call) {
        return change(call, "EraseSection", [](TzelIniFile &ini, Params p) { ini.EraseSection(text(p[0])); });
    });
    addMethod("procedure UpdateFile", [](TkvMethodCall &call) {
        call.Script.CheckAllowed(QStringLiteral("TCustomIniFile.UpdateFile"));
        iniOf(call).Ini.UpdateFile();
        return Variant::Null();
    });
}

// The constructor and the stream members of TMemIniFile and TIniFile.
TkvClassVariable *addIniFile(TkvScript &s, const QString &className, bool writeThrough)
{
    TkvClassVariable *c = s.AddClass(className, QStringLiteral("TCustomIniFile"));
    if (!c)
        return nullptr;
    c->AddConstructor(QStringLiteral("constructor Create(const FileName: String)"),
                      constructorOf(className, writeThrough));
    c->AddMethod(QStringLiteral("procedure SaveIniFileToStream(Stream: TStream)"), [](TkvMethodCall &call) {
        const QByteArray bytes = iniOf(call).Ini.Text().toUtf8();
        TkvBasicObject::Of<TkvStream>(call.Params[0]).Write(bytes);
        return Variant::Null();
    });
    c->AddMethod(QStringLiteral("procedure LoadIniFileFromStream(Stream: TStream)"), [](TkvMethodCall &call) {
        const QByteArray bytes = TkvBasicObject::Of<TkvStream>(call.Params[0]).ReadRest();
        return change(call, "LoadIniFileFromStream", [&bytes](TzelIniFile &ini, Params) {
            ini.SetText(QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes));
        });
    });
    return c;
}

} // namespace

TkvIniRTTI::TkvIniRTTI(TkvScript *script) : TkvRTTIModule(script)
{
    TkvScript &s = *script;
    addCustomIniFile(s);
    addIniFile(s, QStringLiteral("TIniFile"), true);
    TkvClassVariable *mem = addIniFile(s, QStringLiteral("TMemIniFile"), false);
    if (!mem)
        return;
    mem->AddMethod(QStringLiteral("procedure Clear"), [](TkvMethodCall &call) {
        iniOf(call).Ini.Clear();
        return Variant::Null();
    });
    mem->AddMethod(QStringLiteral("procedure GetStrings(List: TStrings)"), [](TkvMethodCall &call) {
        TkvBasicObject::Of<TkvStringList>(call.Params[0]).SetText(iniOf(call).Ini.Text());
        return Variant::Null();
    });
    mem->AddMethod(QStringLiteral("procedure SetStrings(List: TStrings)"), [](TkvMethodCall &call) {
        iniOf(call).Ini.SetText(TkvBasicObject::Of<TkvStringList>(call.Params[0]).Text());
        return Variant::Null();
    });
}

void kvRegisterIniRTTI()
{
    static std::once_flag once;
    std::call_once(once, [] {
        kvRegisterClassesRTTI();
        kvRegisterRTTIModule([](TkvScript *script) { return std::make_unique<TkvIniRTTI>(script); });
    });
}
