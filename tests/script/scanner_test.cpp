#include "script/scan/kvparser.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <vector>

// The scanner's lexical rules, one token reader at a time.

namespace {

struct Case
{
    const char *What;
    const char *Text;
    std::function<void(TkvParser &)> Setup;
    std::function<QString(TkvParser &)> Read; // what the readers gave, joined
    const char *Expected;
};

QString word(QStringView v)
{
    return v.isEmpty() ? QStringLiteral("<none>") : v.toString();
}

QString eol(TkvParser &p)
{
    return p.GetEOL() ? QStringLiteral("EOL") : QStringLiteral("-");
}

QString ident(TkvParser &p)
{
    return word(p.GetIdent());
}

QString position(TkvParser &p)
{
    return QString::number(p.Position());
}

// The readers in order, their results joined by blanks.
std::function<QString(TkvParser &)> reads(std::initializer_list<QString (*)(TkvParser &)> readers)
{
    const std::vector<QString (*)(TkvParser &)> list(readers);
    return [list](TkvParser &p) {
        QStringList results;
        for (auto *read : list)
            results << read(p);
        return results.join(QLatin1Char(' '));
    };
}

void basic(TkvParser &p)
{
    p.SkipEOL = false;
    p.CommentLine1 = QStringLiteral("'");
    p.CommentLine2 = QStringLiteral("rem");
    p.SkipChar = QStringLiteral("_");
    p.StringQuotes = QStringLiteral("\"");
}

void cLike(TkvParser &p)
{
    p.StringQuotes = QStringLiteral("\"");
    p.SpecStrChar = true;
    p.HexSequence = QStringLiteral("0x");
}

} // namespace

TEST(Scanner, ReadsEachTokenKindByTheLanguageRules)
{
    const Case cases[] = {
        {"a comment after code leaves its line end", "x // note\r\ny",
         [](TkvParser &p) { p.SkipEOL = false; },
         reads({ident, eol, ident}), "x EOL y"},
        {"a comment line of its own leaves none", "// note\r\ny",
         [](TkvParser &p) { p.SkipEOL = false; }, reads({eol, ident}),
         "- y"},
        {"lines ending in LF alone end lines too", "a\nb", [](TkvParser &p) { p.SkipEOL = false; },
         reads({ident, eol, ident}), "a EOL b"},
        {"line ends are blanks by default", "a\r\nb", {},
         reads({ident, eol, ident}), "a - b"},
        {"a continuation character joins lines", "a _\r\n  b", basic,
         reads({ident, eol, ident}), "a - b"},
        {"a leading continuation character is dropped", "_x", basic,
         [](TkvParser &p) { return word(p.GetIdent()); }, "x"},
        {"the second comment marker matches inside words", "remainder\r\nx", basic,
         reads({eol, ident}), "- x"},
        {"keywords ignore case", "BEGIN", [](TkvParser &p) { p.AddKeyword(QStringLiteral("begin")); },
         reads({ident, position}), "<none> 6"},
        {"case-sensitive keywords", "BEGIN",
         [](TkvParser &p) {
             p.CaseSensitive = true;
             p.AddKeyword(QStringLiteral("begin"));
         },
         [](TkvParser &p) { return word(p.GetIdent()); }, "BEGIN"},
        {"letters beyond ASCII are identifier characters", "größe1", {},
         [](TkvParser &p) { return word(p.GetIdent()); }, "größe1"},
        {"punctuation only", "+a", {},
         reads({[](TkvParser &p) { return word(p.GetChar()); }, [](TkvParser &p) { return word(p.GetChar()); }}),
         "+ <none>"},
        {"a doubled quote is one quote", "'it''s'", {}, [](TkvParser &p) { return p.GetString(); }, "'it's'"},
        {"character codes join quoted parts", "'ab'#13#10'cd'", {},
         [](TkvParser &p) { return p.GetString().replace('\r', 'R').replace('\n', 'N'); }, "'abRNcd'"},
        {"escapes and adjacent parts", "\"a\"\"b\\x41\\n\\t\"", cLike,
         [](TkvParser &p) { return p.GetString().replace('\n', 'N'); }, "'abANt'"},
        {"no string across a line end", "'abc\r\n'", {},
         reads({[](TkvParser &p) { return word(p.GetString()); }, position}), "<none> 1"},
        {"hexadecimal in canonical form", "0x1F", cLike, [](TkvParser &p) { return p.GetNumber(); }, "$1F"},
        {"the hexadecimal prefix is case-sensitive", "0X1F", cLike, [](TkvParser &p) { return p.GetNumber(); },
         "0"},
        {"a malformed exponent is not part of the number", "1e+", {},
         [](TkvParser &p) { return p.GetNumber(); }, "1"},
        {"real numbers", "2.5E-3", {}, [](TkvParser &p) { return p.GetNumber(); }, "2.5E-3"},
        {"a range is not a real number", "1..5", {},
         reads({[](TkvParser &p) { return p.GetNumber(); }, [](TkvParser &p) { return word(p.GetChar()); }}), "1 ."},
        {"an embedded expression up to its own closing bracket", "Items.\"a>b\" + [x]>rest", {},
         reads({[](TkvParser &p) { return p.GetQZString(); }, [](TkvParser &p) { return word(p.GetChar()); }}), "Items.\"a>b\" + [x] >"},
        {"an unterminated block comment runs to the end", "{ open\r\nx", {},
         [](TkvParser &p) {
             p.SkipSpaces();
             return QString::number(p.Position());
         },
         "10"},
    };
    for (const Case &c : cases) {
        TkvParser p;
        if (c.Setup)
            c.Setup(p);
        p.SetText(QString::fromUtf8(c.Text));
        EXPECT_EQ(c.Read(p).toStdString(), c.Expected) << c.What;
    }
}

TEST(Scanner, PositionsAreLinesAndColumns)
{
    TkvParser p;
    p.SetText(QStringLiteral("ab\r\ncd\nef"));
    const struct
    {
        int Position;
        const char *Expected;
    } cases[] = {{1, "1:1"}, {4, "1:4"}, {5, "2:1"}, {7, "2:3"}, {8, "3:1"}};
    for (const auto &c : cases)
        EXPECT_EQ(p.XYPosition(c.Position).toStdString(), c.Expected) << c.Position;
    EXPECT_EQ(p.GetPlainPosition(QPoint(2, 3)), 9);
    EXPECT_EQ(p.GetPlainPosition(QPoint(1, 4)), -1);
    EXPECT_EQ(kvPositionToPoint(QStringLiteral("3:14")), QPoint(14, 3));
    EXPECT_EQ(kvPositionToPoint(QString()), QPoint(0, 0));
}
