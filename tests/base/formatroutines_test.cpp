#include "base/variant/zelformatroutines.h"

#include "base/core/zeldatetime.h"
#include "base/core/zelexception.h"
#include "base/variant/zelformatsettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace {

// Pins US conventions with fixed patterns, so that no machine locale leaks
// into the expected texts; restores the settings afterwards.
class FormatRoutines : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FSaved = zelFormatSettings();
        TzelFormatSettings s = TzelFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        s.DecimalSeparator = QLatin1Char('.');
        s.ThousandSeparator = QLatin1Char(',');
        s.ShortDateFormat = QStringLiteral("MM/dd/yyyy");
        s.LongDateFormat = QStringLiteral("dddd, MMMM d, yyyy");
        s.ShortTimeFormat = QStringLiteral("HH:mm");
        s.LongTimeFormat = QStringLiteral("HH:mm:ss");
        zelSetFormatSettings(s);
    }
    void TearDown() override { zelSetFormatSettings(FSaved); }

    static void PinGerman()
    {
        TzelFormatSettings s = TzelFormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
        s.DecimalSeparator = QLatin1Char(',');
        s.ThousandSeparator = QLatin1Char('.');
        s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
        s.ShortTimeFormat = QStringLiteral("HH:mm");
        s.LongTimeFormat = QStringLiteral("HH:mm:ss");
        zelSetFormatSettings(s);
    }

private:
    TzelFormatSettings FSaved;
};

struct FloatCase
{
    const char *format;
    double value;
    const char *expected;
};

void CheckFloats(std::initializer_list<FloatCase> cases)
{
    for (const FloatCase &c : cases) {
        EXPECT_EQ(zelFormatFloat(QString::fromUtf8(c.format), c.value).toStdString(), c.expected)
            << "format \"" << c.format << "\", value " << c.value;
    }
}

double Serial(int year, int month, int day, int h = 0, int m = 0, int s = 0, int ms = 0)
{
    return zelDateTimeToSerial(QDateTime(QDate(year, month, day), QTime(h, m, s, ms)));
}

struct DateCase
{
    const char *format;
    double serial;
    const char *expected;
};

void CheckDates(std::initializer_list<DateCase> cases)
{
    for (const DateCase &c : cases) {
        EXPECT_EQ(zelFormatDateTime(QString::fromUtf8(c.format), c.serial).toStdString(), c.expected)
            << "format \"" << c.format << "\", serial " << c.serial;
    }
}

struct MaskCase
{
    const char *mask;
    const char *value;
    const char *expected;
};

void CheckMasks(std::initializer_list<MaskCase> cases)
{
    for (const MaskCase &c : cases) {
        EXPECT_EQ(zelFormatMaskText(QString::fromUtf8(c.mask), QString::fromUtf8(c.value)).toStdString(),
                  c.expected)
            << "mask \"" << c.mask << "\", value \"" << c.value << "\"";
    }
}

// Message of the exception F raises; empty when it raises none.
std::string ErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const TzelException &e) {
        return e.what();
    }
    return std::string();
}

// 2024-03-05 is a Tuesday. Computed on use: the day-serial epoch is itself a
// static of another file.
double Afternoon()
{
    return Serial(2024, 3, 5, 14, 7, 9, 45);
}

double Morning()
{
    return Serial(2024, 3, 5, 9, 5, 3);
}

} // namespace

TEST_F(FormatRoutines, FloatRoundsDecimalHalvesAwayFromZero)
{
    CheckFloats({
        {"0.00", 2.675, "2.68"},   // binary value lies just below the half
        {"0.00", 1.005, "1.01"},
        {"0.00", 0.125, "0.13"},   // exact binary half
        {"0.00", -0.125, "-0.13"},
        {"0", 0.5, "1"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 9.5, "10"},
        {"0.00", 0.995, "1.00"},
        {"0.00", 0.994, "0.99"},
        {"0.00", 0.004, "0.00"},
        {"0.00", 1e-10, "0.00"},
        {"0.00", -0.001, "0.00"},  // no "-0.00"
        {"0.000", 1.0005, "1.001"},
        {"#,##0.00", 999999.995, "1,000,000.00"},
        {"0.00", 123456789012.345, "123456789012.35"},
    });
}

TEST_F(FormatRoutines, FloatPlaceholders)
{
    CheckFloats({
        {"0", 1234.5, "1235"},     // more digits than placeholders
        {"00000", 42, "00042"},
        {"#", 0, ""},
        {"#0", 0, "0"},
        {"#.##", 0.5, ".5"},
        {".00", 12.5, "12.50"},
        {"0.##", 1, "1"},
        {"0.##", 1.25, "1.25"},
        {"0.0#", 1, "1.0"},
        {"0.0#", 1.234, "1.23"},
        {"##.##", 123.456, "123.46"},
        {"0", 1e20, "100000000000000000000"},
        {"0.0", 5e-324, "0.0"},
    });
}

TEST_F(FormatRoutines, FloatGrouping)
{
    CheckFloats({
        {"#,##0", 1234567, "1,234,567"},
        {"#,##0", 123, "123"},
        {"#,##0", 1000, "1,000"},
        {"#,0", 1234567, "1,234,567"},
        {"0,000", 5, "0,005"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0", 1e15, "1,000,000,000,000,000"},
        {"0.0,0", 1234.5, "1234.50"},  // a comma after the point groups nothing
    });
}

TEST_F(FormatRoutines, FloatSections)
{
    CheckFloats({
        {"0.00;(0.00)", 5, "5.00"},
        {"0.00;(0.00)", -5, "(5.00)"},
        {"0.00;(0.00)", -0.001, "0.00"},  // rounds to zero: first section, no sign
        {"0.00;(0.00);'zero'", 0, "zero"},
        {"0.00;(0.00);'zero'", 0.004, "zero"},
        {"0.00;(0.00);'zero'", -0.004, "zero"},
        {"0.00;(0.00);'zero'", 0.005, "0.01"},
        {"0.00;;'zero'", -3, "-3.00"},   // empty negative section
        {"0.00;(0.00);", 0, "0.00"},     // empty zero section
        {"0;0.000", -0.4, "0"},           // zero by the first section's decimals
        {"0;0.000", -0.6, "0.600"},
        {"'+'0;'-'0;'='", 7, "+7"},
        {"'+'0;'-'0;'='", -7, "-7"},
        {"'+'0;'-'0;'='", 0, "="},
        {"$0.00", -1.5, "-$1.50"},         // the sign leads the whole text
        {";(0)", 2.5, "2.5"},             // empty first section: general text
    });
}

TEST_F(FormatRoutines, FloatScientific)
{
    CheckFloats({
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.00E+00", 0.000123, "1.23E-04"},
        {"0.00E-00", 1234.5, "1.23E03"},
        {"0.00e-0", 0.000123, "1.23e-4"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00E+00", -1234.5, "-1.23E+03"},
        {"0.00E+00", 1.235, "1.24E+00"},  // decimal half
        {"0.00E+00", 9.999, "1.00E+01"},  // carry into the exponent
        {"00.0E+0", 1234.5, "12.3E+2"},
        {"0.###E+000", 1.5e100, "1.5E+100"},
        {"0E+0", 1e300, "1E+300"},
        {"0.0E+0 'm'", 1500, "1.5E+3 m"},
        {"0E", 5, "5E"},                  // no sign and digits: literal
    });
}

TEST_F(FormatRoutines, FloatLiteralsAndNonFiniteValues)
{
    CheckFloats({
        {"$#,##0.00", 1234.5, "$1,234.50"},
        {"0.00 kg", 3.14159, "3.14 kg"},
        {"'#'0", 5, "#5"},
        {"\"0.00\" 0", 7, "0.00 7"},
        {"0.00 'a;b'", 1, "1.00 a;b"},
        {"'it''s' 0", 1, "its 1"},
        {"\"it's\" 0", 1, "it's 1"},
        {"0-00", 12345, "123-45"},
        {"0%", 5, "5%"},
        {"'n/a'", 5, "n/a"},              // no placeholders: all literal
        {"", 1234.5, "1234.5"},
        {"", 1e20, "1E20"},
        {"0.00", std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {"0.00", std::numeric_limits<double>::infinity(), "INF"},
        {"0.00", -std::numeric_limits<double>::infinity(), "-INF"},
    });
}

TEST_F(FormatRoutines, FloatFollowsTheSeparators)
{
    PinGerman();
    CheckFloats({
        {"#,##0.00", 1234567.5, "1.234.567,50"},
        {"0.00E+00", 1234.5, "1,23E+03"},
        {"0.00 '.,'", 1.5, "1,50 .,"},
        {"", 2.5, "2,5"},
    });
}

TEST_F(FormatRoutines, FloatRejectsMalformedPictures)
{
    EXPECT_EQ(ErrorOf([] { zelFormatFloat(QStringLiteral("0.00 'kg"), 1); }),
              "Invalid float format \"0.00 'kg\": unterminated quote");
    EXPECT_EQ(ErrorOf([] { zelFormatFloat(QStringLiteral("0;0;0;0"), 1); }),
              "Invalid float format \"0;0;0;0\": more than three sections");
}

TEST_F(FormatRoutines, DateFields)
{
    CheckDates({
        {"yyyy-mm-dd", Afternoon(), "2024-03-05"},
        {"YYYY-MM-DD", Afternoon(), "2024-03-05"},
        {"d/m/yy", Afternoon(), "5/3/24"},
        {"dd.mm.yyyy", Afternoon(), "05.03.2024"},
        {"y", Serial(2007, 1, 2), "07"},
        {"yyyy", Serial(987, 6, 1), "0987"},
        {"ddd dddd", Afternoon(), "Tue Tuesday"},
        {"mmm mmmm", Afternoon(), "Mar March"},
        {"ddddd", Afternoon(), "03/05/2024"},
        {"dddddd", Afternoon(), "Tuesday, March 5, 2024"},
        {"hh:nn:ss.zzz", Afternoon(), "14:07:09.045"},
        {"h:n:s.z", Morning(), "9:5:3.0"},
        {"t", Afternoon(), "14:07"},
        {"tt", Afternoon(), "14:07:09"},
        {"c", Afternoon(), "03/05/2024 14:07:09"},
        {"c", Serial(2024, 3, 5), "03/05/2024"},
        {"", Afternoon(), "03/05/2024 14:07:09"},
    });
}

TEST_F(FormatRoutines, DateMinutesAfterHours)
{
    CheckDates({
        {"hh:mm", Afternoon(), "14:07"},
        {"h.m", Morning(), "9.5"},
        {"hh 'h' mm", Afternoon(), "14 h 07"},
        {"mm/dd hh:mm", Afternoon(), "03/05 14:07"},
        {"hh dd mm", Afternoon(), "14 05 03"},  // a field between: month again
        {"hh:mmm", Afternoon(), "14:Mar"},
    });
}

TEST_F(FormatRoutines, DateTwelveHourClock)
{
    CheckDates({
        {"h:mm am/pm", Afternoon(), "2:07 pm"},
        {"h:mm AM/PM", Afternoon(), "2:07 PM"},
        {"h:mm am/pm", Morning(), "9:05 am"},
        {"hh AM/PM", Morning(), "09 AM"},
        {"h a/p", Afternoon(), "2 p"},
        {"h A/P", Morning(), "9 A"},
        {"hh ampm", Afternoon(), "02 PM"},
        {"h:nn am/pm", Serial(2024, 3, 5, 0, 30), "12:30 am"},
        {"h:nn am/pm", Serial(2024, 3, 5, 12, 0), "12:00 pm"},
        {"hh 'am/pm'", Afternoon(), "14 am/pm"},  // quoted marker: 24 hours
    });
}

TEST_F(FormatRoutines, DateLiteralsAndSeparators)
{
    CheckDates({
        {"'dd' d \"mm\" m", Afternoon(), "dd 5 mm 3"},
        {"yyyy/mm/dd", Afternoon(), "2024/03/05"},
        {"hh:nn", Afternoon(), "14:07"},
        {"[d] x", Afternoon(), "[5] x"},
    });
    PinGerman();
    CheckDates({
        {"dd/mm/yyyy hh:nn", Afternoon(), "05.03.2024 14:07"},
        {"dddd, d. mmmm", Afternoon(), "Dienstag, 5. März"},
        {"ddddd t", Afternoon(), "05.03.2024 14:07"},
    });
}

TEST_F(FormatRoutines, DateRejectsBadInput)
{
    EXPECT_EQ(ErrorOf([] { zelFormatDateTime(QStringLiteral("dd 'x"), Afternoon()); }),
              "Invalid date-time format \"dd 'x\": unterminated quote");
    EXPECT_FALSE(ErrorOf([] { zelFormatDateTime(QStringLiteral("dd"), std::numeric_limits<double>::quiet_NaN()); })
                     .empty());
}

TEST_F(FormatRoutines, MaskFilling)
{
    CheckMasks({
        {"!(999)000-0000;0;_", "5551234567", "(555)123-4567"},
        {">LL-0000;1;_", "ab-1234", "AB-1234"},
        {">LL-0000;1;_", "ab1234", "AB-1234"},  // a missing literal is no placeholder
        {"000-00;0;*", "12", "12*-**"},
        {"000;0", "1", "1__"},
        {"000;0;", "1", "1__"},
        {"00;0;_", "12345", "12"},
        {"(000) 000;1;#", "(12) 345", "(12#) 345"},
        {"000;0;_", "1a3", "1_3"},
        {"999;0;_", "1a3", "1 3"},
        {"LLL;0;*", "a1", "a**"},
        {"#00;0;_", "-12", "-12"},
        {"AaCc;0;_", "?-x!", "_ x!"},
        {"00_00;0;_", "1234", "12 34"},
        {"00_00;1;_", "12 34", "12 34"},
        {"", "abc", "abc"},
    });
}

TEST_F(FormatRoutines, MaskCaseAndEscapes)
{
    CheckMasks({
        {"<LLL;0;_", "ABC", "abc"},
        {">L<L<>L;0;_", "abC", "AbC"},
        {">ccc;0;_", "a1-", "A1-"},
        {"\\L00;0;_", "12", "L12"},
        {"\\\\0;0;_", "5", "\\5"},
        {"0\\;0;0;_", "12", "1;2"},
        {"\\>L;1;_", ">a", ">a"},
    });
}

TEST_F(FormatRoutines, MaskSeparatorsFollowTheSettings)
{
    CheckMasks({{"00:00;0;_", "1230", "12:30"}, {"00/00;0;_", "0305", "03/05"}});
    PinGerman();
    CheckMasks({{"00/00/0000;0;_", "05032024", "05.03.2024"}, {"00/00/0000;1;_", "05.03.2024", "05.03.2024"}});
}

TEST_F(FormatRoutines, MaskRejectsMalformedMasks)
{
    EXPECT_EQ(ErrorOf([] { zelFormatMaskText(QStringLiteral("00\\"), QStringLiteral("1")); }),
              "Invalid edit mask \"00\\\": '\\' at the end");
    EXPECT_EQ(ErrorOf([] { zelFormatMaskText(QStringLiteral("0;0;_;x"), QStringLiteral("1")); }),
              "Invalid edit mask \"0;0;_;x\": more than three fields");
}
