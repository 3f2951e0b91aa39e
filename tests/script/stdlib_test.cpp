#include "scriptrun.h"

#include <gtest/gtest.h>

// The standard library as scripts call it: each case is one PascalScript
// expression and the text ShowMessage prints for it.

namespace {

struct Shown
{
    const char *Expression;
    const char *Text; ///< the message, or the error line
};

void expectShown(const Shown *cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Shown &c = cases[i];
        const QString source = QStringLiteral("var y, m, d, h, n, s, z: Variant;\nbegin\n  ShowMessage(%1)\nend.\n")
                                   .arg(QString::fromUtf8(c.Expression));
        const ScriptOutcome r = runScript(QStringLiteral("PascalScript"), source);
        EXPECT_EQ((r.Error.isEmpty() ? r.Output.chopped(1) : r.Error).toStdString(), c.Text) << c.Expression;
    }
}

TEST(ScriptLibrary, Strings)
{
    const Shown cases[] = {
        {"Length(12345)", "5"},
        {"Length(VarArrayCreate([1, 5], varVariant))", "5"},
        {"Copy('abcdef', 2, 3) + Copy('abc', 9, 1) + '|'", "bcd|"},
        {"Pos('cd', 'abcdef')", "3"},
        {"NameCase('hELLO  wORLD')", "Hello  World"},
        {"Uppercase('ab') + Lowercase('CD') + Trim('  e  ')", "ABcde"},
        {"Chr(65) + IntToStr(Ord('a'))", "A97"},
        {"CompareText('abc', 'ABC')", "0"},
        {"Format('%d|%5.1f|%-3s|%x', [7, 2.25, 'a', 255])", "7|  2.3|a  |FF"},
        {"Format('%d', ['x'])", "ERROR at 3:3: Could not convert variant of type (UnicodeString) into type (Int64)"},
    };
    expectShown(cases, std::size(cases));
}

TEST(ScriptLibrary, NumbersAndConversions)
{
    const Shown cases[] = {
        {"Round(2.5) + Round(3.5) * 10", "42"},
        {"Int(-2.7)", "-2"},
        {"Trunc(-2.7)", "-2"},
        {"Frac(2.25)", "0.25"},
        {"Abs(-3) + Sqrt(16)", "7"},
        {"BoolToStr(True) + VarToStr(StrToBool('True'))", "-1-1"},
        {"StrToInt('12') + StrToFloat('0.5')", "12.5"},
        {"VarToStr(Null) + '|'", "|"},
        {"ValidInt('12') and not ValidInt('1.5') and ValidFloat('1.5')", "True"},
        {"VarType(1.5) = varDouble", "True"},
        {"ExtractFilePath('/tmp/a/b.txt')", "/tmp/a/"},
        {"StrToInt('x')", "ERROR at 3:3: Could not convert variant of type (UnicodeString) into type (Integer)"},
    };
    expectShown(cases, std::size(cases));
}

TEST(ScriptLibrary, Dates)
{
    // 1 January 2026 was a Thursday.
    const Shown cases[] = {
        {"EncodeDate(2026, 1, 1) - EncodeDate(2025, 12, 31)", "1"},
        {"DayOfWeek(EncodeDate(2026, 1, 1))", "5"},
        {"DaysInMonth(2024, 2) * 100 + DaysInMonth(2023, 2)", "2928"},
        {"IsLeapYear(2000) and not IsLeapYear(1900)", "True"},
        {"Round(EncodeTime(12, 0, 0, 0) * 24)", "12"},
        {"StrToDate(DateToStr(EncodeDate(2026, 3, 4))) = EncodeDate(2026, 3, 4)", "True"},
        {"StrToTime(TimeToStr(EncodeTime(13, 14, 15, 0))) = EncodeTime(13, 14, 15, 0)", "True"},
        {"EncodeDate(2026, 2, 30)", "ERROR at 3:3: Invalid argument to date encode"},
        {"StrToDate('no date')", "ERROR at 3:3: 'no date' is not a valid date"},
    };
    expectShown(cases, std::size(cases));
    // The parts come back through by-reference parameters.
    const ScriptOutcome r = runScript(QStringLiteral("PascalScript"),
                                      QStringLiteral("var y, m, d, h, n, s, z: Word;\nbegin\n"
                                                     "  DecodeDate(EncodeDate(2026, 12, 11), y, m, d);\n"
                                                     "  DecodeTime(EncodeTime(1, 2, 3, 4), h, n, s, z);\n"
                                                     "  ShowMessage(Format('%d-%d-%d %d:%d:%d.%d', [y, m, d, h, n, s, z]))\n"
                                                     "end.\n"));
    EXPECT_EQ(r.Error.toStdString(), "");
    EXPECT_EQ(r.Output.toStdString(), "2026-12-11 1:2:3.4\n");
}

} // namespace
