#include "scriptrun.h"

#include "base/variant/zelformatsettings.h"
#include "script/engine/kvscript.h"
#include "script/rtti/kvinirtti.h"
#include "support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// INI files from scripts: typed values, sections into string lists, when
// each class writes its file, and restricted mode.

namespace {

// A scope under the global unit, which holds the INI classes once they are
// registered; dates and numbers in fixed settings.
class IniScope : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        FSaved = zelFormatSettings();
        TzelFormatSettings s = TzelFormatSettings::FromLocale(QLocale::c());
        s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
        s.LongTimeFormat = QStringLiteral("HH:mm:ss");
        s.DecimalSeparator = QLatin1Char('.');
        zelSetFormatSettings(s);
    }
    void TearDown() override { zelSetFormatSettings(FSaved); }

    // Runs a program in which %1 stands for the temporary folder.
    ScriptOutcome Run(const char *language, const char *source)
    {
        return runScript(QString::fromLatin1(language), Folder(QString::fromUtf8(source)), &Scope);
    }
    QString Path(const char *name) const { return Dir.filePath(QString::fromLatin1(name)); }
    QString Folder(QString source) const { return source.replace(QLatin1String("%1"), Dir.path()); }

    static TkvScript *Registered()
    {
        kvRegisterIniRTTI();
        return TkvScript::GlobalUnit();
    }

    TkvScript Scope{Registered()};
    QTemporaryDir Dir;

private:
    TzelFormatSettings FSaved;
};

} // namespace

TEST_F(IniScope, TypedValuesAndSectionsInEveryLanguage)
{
    const std::pair<const char *, const char *> programs[] = {
        {"PascalScript",
         "var ini: TMemIniFile; l: TStringList;\n"
         "begin\n"
         "  ini := TMemIniFile.Create('%1/typed.ini');\n"
         "  ini.WriteString('Report', 'Title', 'Sales = 2024');\n"
         "  ini.WriteInteger('Report', 'Copies', -3);\n"
         "  ini.WriteBool('Report', 'Duplex', True);\n"
         "  ini.WriteFloat('Page', 'Margin', 12.5);\n"
         "  ini.WriteDate('Page', 'Printed', EncodeDate(2024, 2, 29));\n"
         "  ini.WriteTime('Page', 'At', EncodeTime(13, 5, 9, 0));\n"
         "  ini.WriteDateTime('Page', 'Stamp', EncodeDate(2024, 3, 1) + EncodeTime(8, 30, 0, 0));\n"
         "  ShowMessage(ini.ReadString('report', 'TITLE', '?') + ' ' + IntToStr(ini.ReadInteger('Report', 'Copies', 0)));\n"
         "  ShowMessage(IntToStr(ini.ReadInteger('Report', 'Title', 7)) + ' ' + VarToStr(ini.ReadBool('Report', 'Duplex', False)));\n"
         "  ShowMessage(FloatToStr(ini.ReadFloat('Page', 'Margin', 0)) + ' ' + DateToStr(ini.ReadDate('Page', 'Printed', 0)));\n"
         "  ShowMessage(TimeToStr(ini.ReadTime('Page', 'At', 0)) + ' ' + DateTimeToStr(ini.ReadDateTime('Page', 'Stamp', 0)));\n"
         "  ShowMessage(VarToStr(ini.SectionExists('PAGE')) + ' ' + VarToStr(ini.ValueExists('Page', 'Title')));\n"
         "  l := TStringList.Create;\n"
         "  ini.ReadSections(l);\n"
         "  ShowMessage(l.CommaText);\n"
         "  ini.ReadSection('Report', l);\n"
         "  ShowMessage(l.CommaText);\n"
         "  ini.ReadSectionValues('Report', l);\n"
         "  ShowMessage(l.Values['Title']);\n"
         "  ini.ReadSectionValuesEx('Report', l);\n"
         "  ShowMessage(l.CommaText);\n"
         "  ini.DeleteKey('Report', 'Copies');\n"
         "  ini.EraseSection('Page');\n"
         "  ini.UpdateFile;\n"
         "  ShowMessage(ini.FileName = '%1/typed.ini');\n"
         "end.\n"},
        {"JScript",
         "var ini = new TMemIniFile(\"%1/typed.ini\");\n"
         "ini.WriteString(\"Report\", \"Title\", \"Sales = 2024\");\n"
         "ini.WriteInteger(\"Report\", \"Copies\", -3);\n"
         "ini.WriteBool(\"Report\", \"Duplex\", true);\n"
         "ini.WriteFloat(\"Page\", \"Margin\", 12.5);\n"
         "ini.WriteDate(\"Page\", \"Printed\", EncodeDate(2024, 2, 29));\n"
         "ini.WriteTime(\"Page\", \"At\", EncodeTime(13, 5, 9, 0));\n"
         "ini.WriteDateTime(\"Page\", \"Stamp\", EncodeDate(2024, 3, 1) + EncodeTime(8, 30, 0, 0));\n"
         "ShowMessage(ini.ReadString(\"report\", \"TITLE\", \"?\") + \" \" + IntToStr(ini.ReadInteger(\"Report\", \"Copies\", 0)));\n"
         "ShowMessage(IntToStr(ini.ReadInteger(\"Report\", \"Title\", 7)) + \" \" + VarToStr(ini.ReadBool(\"Report\", \"Duplex\", false)));\n"
         "ShowMessage(FloatToStr(ini.ReadFloat(\"Page\", \"Margin\", 0)) + \" \" + DateToStr(ini.ReadDate(\"Page\", \"Printed\", 0)));\n"
         "ShowMessage(TimeToStr(ini.ReadTime(\"Page\", \"At\", 0)) + \" \" + DateTimeToStr(ini.ReadDateTime(\"Page\", \"Stamp\", 0)));\n"
         "ShowMessage(VarToStr(ini.SectionExists(\"PAGE\")) + \" \" + VarToStr(ini.ValueExists(\"Page\", \"Title\")));\n"
         "var l = new TStringList;\n"
         "ini.ReadSections(l);\n"
         "ShowMessage(l.CommaText);\n"
         "ini.ReadSection(\"Report\", l);\n"
         "ShowMessage(l.CommaText);\n"
         "ini.ReadSectionValues(\"Report\", l);\n"
         "ShowMessage(l.Values[\"Title\"]);\n"
         "ini.ReadSectionValuesEx(\"Report\", l);\n"
         "ShowMessage(l.CommaText);\n"
         "ini.DeleteKey(\"Report\", \"Copies\");\n"
         "ini.EraseSection(\"Page\");\n"
         "ini.UpdateFile;\n"
         "ShowMessage(ini.FileName == \"%1/typed.ini\");\n"},
    };
    for (const auto &[language, source] : programs) {
        QFile::remove(Path("typed.ini"));
        const ScriptOutcome r = Run(language, source);
        EXPECT_EQ(r.Error, QString()) << language;
        EXPECT_EQ(r.Output, QStringLiteral("Sales = 2024 -3\n"
                                           "7 True\n"
                                           "12.5 29.02.2024\n"
                                           "13:05:09 01.03.2024 08:30:00\n"
                                           "True False\n"
                                           "Report,Page\n"
                                           "Title,Copies,Duplex\n"
                                           "Sales = 2024\n"
                                           "\"Sales = 2024\",-3,1\n"
                                           "True\n"))
            << language;
        EXPECT_EQ(zelReadFile(Path("typed.ini")), QByteArray("[Report]\nTitle=Sales = 2024\nDuplex=1\n")) << language;
    }
}

TEST_F(IniScope, ValuesThatDoNotParseGiveTheDefault)
{
    zelWriteFile(Path("odd.ini"), "[S]\nFlag=yes\nZero=0\nBig=99999999999\nWhen=someday\nHex=$1F\nBytes=4G\n");
    const ScriptOutcome r = Run("PascalScript",
                                "var ini: TMemIniFile; m: TMemoryStream;\n"
                                "begin\n"
                                "  ini := TMemIniFile.Create('%1/odd.ini');\n"
                                "  ShowMessage(VarToStr(ini.ReadBool('S', 'Flag', True)) + ' ' + VarToStr(ini.ReadBool('S', 'Zero', True)));\n"
                                "  ShowMessage(IntToStr(ini.ReadInteger('S', 'Big', 1)) + ' ' + IntToStr(ini.ReadInteger('S', 'Hex', 1)));\n"
                                "  ShowMessage(FloatToStr(ini.ReadDate('S', 'When', 2)) + ' ' + FloatToStr(ini.ReadFloat('S', 'None', 1.5)));\n"
                                "  m := TMemoryStream.Create;\n"
                                "  ShowMessage(IntToStr(ini.ReadBinaryStream('S', 'Bytes', m)) + ' ' + IntToStr(m.Size));\n"
                                "end.\n");
    EXPECT_EQ(r.Error, QString());
    EXPECT_EQ(r.Output, QStringLiteral("True False\n1 31\n2 1.5\n0 0\n"));
}

TEST_F(IniScope, StreamsAndStringListsRoundTrip)
{
    const ScriptOutcome r = Run("PascalScript",
                                "var ini: TMemIniFile; m, back: TMemoryStream; l, lines: TStringList; s: String;\n"
                                "begin\n"
                                "  ini := TMemIniFile.Create('');\n"
                                "  m := TMemoryStream.Create;\n"
                                "  m.Write('AB' + Chr(0) + Chr(255), 4);\n"
                                "  m.Position := 1;\n"
                                "  ini.WriteBinaryStream('Data', 'Blob', m);\n"
                                "  back := TMemoryStream.Create;\n"
                                "  back.Write('x', 1);\n"
                                "  ShowMessage(IntToStr(ini.ReadBinaryStream('Data', 'Blob', back)) + ' ' + IntToStr(back.Position));\n"
                                "  back.Read(s, 3);\n"
                                "  ShowMessage(IntToStr(Ord(s[1])) + ' ' + IntToStr(Ord(s[2])) + ' ' + IntToStr(Ord(s[3])));\n"
                                "  l := TStringList.Create;\n"
                                "  l.Text := 'a=1' + #13#10 + #13#10 + '[not a section]';\n"
                                "  ini.WriteTStrings('List', l);\n"
                                "  l.Clear;\n"
                                "  ini.ReadTStrings('List', l);\n"
                                "  ShowMessage(IntToStr(l.Count) + ' ' + l.CommaText);\n"
                                "  lines := TStringList.Create;\n"
                                "  ini.GetStrings(lines);\n"
                                "  ShowMessage(lines.CommaText);\n"
                                "  lines.Text := '[Fresh]' + #10 + 'Key=Value';\n"
                                "  ini.SetStrings(lines);\n"
                                "  ShowMessage(ini.ReadString('Fresh', 'Key', '') + ' ' + VarToStr(ini.SectionExists('Data')));\n"
                                "  m.Clear;\n"
                                "  ini.SaveIniFileToStream(m);\n"
                                "  ini.Clear;\n"
                                "  m.Position := 0;\n"
                                "  ini.LoadIniFileFromStream(m);\n"
                                "  ShowMessage(ini.ReadString('Fresh', 'Key', ''));\n"
                                "end.\n");
    EXPECT_EQ(r.Error, QString());
    EXPECT_EQ(r.Output, QStringLiteral("3 1\n66 0 255\n3 a=1,\"\",\"[not a section]\"\n"
                                       "[Data],Blob=4200FF,[List],Count=3,Item0=a=1,Item1=,\"Item2=[not a section]\"\n"
                                       "Value False\nValue\n"));
}

TEST_F(IniScope, AnIniFileWritesEveryChangeAtOnceAndKeepsComments)
{
    zelWriteFile(Path("live.ini"), "; written by hand\n[Main]\nOld = 1\n");
    const ScriptOutcome r = Run("BasicScript",
                                "Dim ini = New TIniFile(\"%1/live.ini\")\n"
                                "ini.WriteString(\"Main\", \"New\", \"2\")\n"
                                "Dim other = New TMemIniFile(\"%1/live.ini\")\n"
                                "ShowMessage(other.ReadString(\"Main\", \"New\", \"missing\"))\n"
                                "Dim mem = New TMemIniFile(\"%1/mem.ini\")\n"
                                "mem.WriteString(\"S\", \"K\", \"V\")\n"
                                "ShowMessage(other.ReadString(\"Main\", \"Old\", \"\"))\n");
    EXPECT_EQ(r.Error, QString());
    EXPECT_EQ(r.Output, QStringLiteral("2\n1\n"));
    EXPECT_EQ(zelReadFile(Path("live.ini")), QByteArray("; written by hand\n[Main]\nOld = 1\nNew=2\n"));
    EXPECT_FALSE(QFile::exists(Path("mem.ini"))) << "a TMemIniFile writes only on UpdateFile";
}

TEST_F(IniScope, RestrictedScriptsKeepIniFilesInMemory)
{
    zelWriteFile(Path("kept.ini"), "[S]\nK=old\n");
    Scope.Restricted = true;
    struct Case
    {
        const char *Statements;
        const char *Error;
    };
    const Case cases[] = {
        {"ini := TMemIniFile.Create('%1/kept.ini')", "TMemIniFile.Create"},
        {"ini := TIniFile.Create('%1/kept.ini')", "TIniFile.Create"},
        {"ini := TCustomIniFile.Create('%1/kept.ini')", "TCustomIniFile.Create"},
        {"ini := TMemIniFile.Create(''); ini.WriteString('S', 'K', 'V'); ini.UpdateFile", "TCustomIniFile.UpdateFile"},
        {"ini := TIniFile.Create(''); ini.WriteString('S', 'K', 'V')", "TCustomIniFile.WriteString"},
        {"ini := TIniFile.Create(''); ini.EraseSection('S')", "TCustomIniFile.EraseSection"},
    };
    for (const Case &c : cases) {
        const QString source = QStringLiteral("var ini: TCustomIniFile;\nbegin\n  %1\nend.\n").arg(QString::fromUtf8(c.Statements));
        const ScriptOutcome r = runScript(QStringLiteral("PascalScript"), Folder(source), &Scope);
        EXPECT_TRUE(r.Error.endsWith(QStringLiteral(": %1 is not allowed in restricted mode").arg(QLatin1String(c.Error))))
            << c.Statements << ": " << r.Error.toStdString();
        EXPECT_EQ(zelReadFile(Path("kept.ini")), "[S]\nK=old\n") << c.Statements;
    }
    // Without a file name an INI object is a scratch pad, allowed anywhere
    // (the value comes out as an error: messages are not allowed either).
    const ScriptOutcome scratch = Run("PascalScript",
                                      "var ini: TMemIniFile;\nbegin\n  ini := TMemIniFile.Create('');\n"
                                      "  ini.WriteString('S', 'K', 'V');\n  RaiseException(ini.ReadString('S', 'K', ''))\nend.\n");
    EXPECT_EQ(scratch.Error, QStringLiteral("ERROR at 5:3: V"));
}
