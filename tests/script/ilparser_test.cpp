#include "base/core/zelexception.h"
#include "script/grammar/kvilparser.h"
#include "script/grammar/kvlanguages.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <functional>

// From source to program tree: the four grammars, their errors and units.

namespace {

struct Parsed
{
    bool Ok = false;
    QString Tree;  // the program tree as XML, indented
    QString Error; // "line:column: message"
};

Parsed parse(const QString &language, const QString &text, TkvILParser *use = nullptr)
{
    TkvILParser own;
    TkvILParser &parser = use ? *use : own;
    parser.SelectLanguage(language);
    Parsed result;
    result.Ok = parser.MakeILScript(text);
    parser.ILScript.AutoIndent = true;
    result.Tree = QString::fromUtf8(parser.ILScript.ToText());
    result.Error = parser.ErrorPos + QStringLiteral(": ") + parser.ErrorMsg;
    return result;
}

// The tree without positions and without the language's type aliases.
QString shape(QString tree)
{
    tree.remove(QRegularExpression(QStringLiteral(" pos1?=\"[0-9:]*\"")));
    const qsizetype types = tree.indexOf(QStringLiteral("<types"));
    const qsizetype end = tree.indexOf(QStringLiteral("</program>"));
    return types >= 0 && end > types ? tree.left(types) + tree.mid(end) : tree;
}

// The rules Grammar refers to from its rules, and its start rule.
QStringList rulesReferredTo(const QString &grammar)
{
    TkvXMLDocument doc;
    doc.FromText(grammar.toUtf8());
    QSet<QString> rules;
    for (int r = 0; r < doc.Root()->Count(); ++r)
        rules.insert(doc.Root()->Items(r)->Name());
    QSet<QString> referred{QStringLiteral("program")};
    std::function<void(const TkvXMLItem *)> walk = [&](const TkvXMLItem *item) {
        for (int i = 0; i < item->Count(); ++i) {
            if (rules.contains(item->Items(i)->Name()))
                referred.insert(item->Items(i)->Name());
            walk(item->Items(i));
        }
    };
    for (int r = 0; r < doc.Root()->Count(); ++r)
        if (doc.Root()->Items(r)->Name() != QLatin1String("parser"))
            walk(doc.Root()->Items(r));
    QStringList list(referred.begin(), referred.end());
    list.sort();
    return list;
}

const char *const kLanguages[] = {"PascalScript", "C++Script", "BasicScript", "JScript"};
const char *const kSamples[] = {"sample.pas", "sample.cps", "sample.bas", "sample.js"};

} // namespace

TEST(ILParser, OneProgramInEveryLanguageGivesOneTree)
{
    const char *const sources[] = {
        "begin\r\n"
        "  x := 1 + 2 * (y - 3);\r\n"
        "  if x >= 3 then begin ShowMessage('a') end else begin ShowMessage(Items[x, 2].Name) end;\r\n"
        "  while not (x = 10) and (x <> 11) do begin x := x + 1 end;\r\n"
        "end.",
        "{\r\n"
        "  x = 1 + 2 * (y - 3);\r\n"
        "  if (x >= 3) { ShowMessage(\"a\"); } else { ShowMessage(Items[x, 2].Name); }\r\n"
        "  while (!(x == 10) && (x != 11)) { x = x + 1; }\r\n"
        "}",
        "x = 1 + 2 * (y - 3)\r\n"
        "If x >= 3 Then\r\n  ShowMessage(\"a\")\r\nElse\r\n  ShowMessage(Items[x, 2].Name)\r\nEnd If\r\n"
        "While Not (x = 10) And (x <> 11)\r\n  x = x + 1\r\nWend\r\n",
        "x = 1 + 2 * (y - 3);\r\n"
        "if (x >= 3) { ShowMessage(\"a\"); } else { ShowMessage(Items[x, 2].Name); }\r\n"
        "while (!(x == 10) && (x != 11)) { x = x + 1; }\r\n",
    };
    QString first;
    for (int i = 0; i < 4; ++i) {
        const Parsed p = parse(QString::fromLatin1(kLanguages[i]), QString::fromUtf8(sources[i]));
        ASSERT_TRUE(p.Ok) << kLanguages[i] << ": " << p.Error.toStdString();
        if (i == 0)
            first = shape(p.Tree);
        else
            EXPECT_EQ(shape(p.Tree).toStdString(), first.toStdString()) << kLanguages[i];
    }
    EXPECT_TRUE(first.contains(QStringLiteral("<op text=\"not\"/>")));
    EXPECT_TRUE(first.contains(QStringLiteral("<node text=\"[\"/>")));
}

TEST(ILParser, TheSamplesReachEveryRuleOfTheirGrammar)
{
    for (int i = 0; i < 4; ++i) {
        const QString language = QString::fromLatin1(kLanguages[i]);
        const QString file = zelSourcePath(QStringLiteral("tests/script/samples/%1").arg(QLatin1String(kSamples[i])));
        QFile source(file);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << file.toStdString();
        TkvILParser parser;
        QSet<QString> reached;
        parser.RulesReached = &reached;
        parser.IncludePath = {QFileInfo(file).absolutePath()};
        const QString text = QString::fromUtf8(source.readAll());
        const Parsed p = parse(language, text, &parser);
        ASSERT_TRUE(p.Ok) << kLanguages[i] << ": " << p.Error.toStdString();
        TkvILParser plain;
        plain.Shortcuts = false;
        plain.IncludePath = parser.IncludePath;
        EXPECT_EQ(parse(language, text, &plain).Tree, p.Tree) << kLanguages[i] << ": the shortcuts changed the tree";

        // Every rule the grammar refers to (a shared rule a language never
        // uses cannot be reached).
        const QString grammar = TkvLanguages::GetLanguageGrammar(language);
        QStringList missing;
        for (const QString &rule : rulesReferredTo(grammar))
            if (!reached.contains(rule))
                missing << rule;
        EXPECT_TRUE(missing.isEmpty()) << kLanguages[i] << " never reaches " << missing.join(", ").toStdString();
    }
}

TEST(ILParser, ErrorsNameTheFirstFaultAndWhereItIs)
{
    struct Case
    {
        const char *What;
        const char *Language;
        const char *Text;
        const char *Error; // empty: it parses
    };
    const Case cases[] = {
        {"begin block without end", "PascalScript", "begin\r\n  x := 1\r\n", "3:1: ';' expected"},
        {"case without end", "PascalScript", "begin case x of 1: y := 2; . end.", "1:28: 'END' expected"},
        {"missing then", "PascalScript", "begin if x y := 1 end.", "1:12: 'THEN' expected"},
        {"comma before the colon of a variable list", "PascalScript", "var a, : Integer; begin end.", ""},
        {"a failed last repetition is taken back", "PascalScript", "begin x := 1 + 2 - end.",
         "1:18: ';' expected"},
        {"an error of a repetition that matched stays", "PascalScript", "begin case x of a..b: y := 1; end end.",
         ""},
        {"ranges between names", "PascalScript", "var a: array[lo..hi] of Integer; begin x := [lo..5] end.", ""},
        {"keywords folded beyond ASCII", "PascalScript", "begin x := 1 \u017fhl 2 end.", ""},
        {"semicolon before the end of a case", "PascalScript", "begin case x of 1: y := 2; end end.", ""},
        {"an optional group that starts and then fails", "PascalScript", "program; begin end.",
         "1:8: Identifier expected"},
        {"text after the final end is ignored", "PascalScript", "begin end. notes", ""},
        {"unterminated string", "PascalScript", "begin x := 'abc\r\nend.", "1:12: Expression expected"},
        {"unterminated comment", "PascalScript", "begin { x := 1; end.", "1:21: ';' expected"},
        {"file ends inside a block", "PascalScript", "begin if x then begin", "1:22: ';' expected"},
        {"empty file", "PascalScript", "", "1:1: 'BEGIN' expected"},
        {"a stray character", "JScript", "x = 1;\n@ y = 2;", "2:1: Statement expected"},
        {"an empty statement list", "JScript", "", ""},
        {"keywords are lower case only", "C++Script", "{ WHILE(1); }", ""},
        {"keywords in any case", "JScript", "While (x) y = 1;", ""},
        {"capital REM is no comment", "BasicScript", "REM note\r\n", "1:1: End of line expected"},
        {"lower-case rem is one", "BasicScript", "rem note\r\nx = 1\r\n", ""},
        {"lines ending in LF alone", "BasicScript", "x = 1\ny = 2\n", ""},
        {"identifiers beyond ASCII", "JScript", "größe = 1; \x7f" "del = größe;", ""},
        {"the language line picks the grammar", "PascalScript", "#language BasicScript\r\nx = 1\r\n", ""},
        {"the language line names no language", "PascalScript", "#language Cobol\r\nx = 1\r\n",
         "1:11: Language 'Cobol' not found"},
        {"the language line alone", "PascalScript", "#language PascalScript", "1:23: 'BEGIN' expected"},
        {"missing closing parenthesis", "C++Script", "{ f(1; }", "1:6: ')' expected"},
        {"deep nesting", "PascalScript", nullptr, "The script is nested too deeply"},
    };
    for (const Case &c : cases) {
        const QString text = c.Text ? QString::fromUtf8(c.Text)
                                    : QStringLiteral("begin x := ") + QString(5000, u'(') + QStringLiteral("1 end.");
        const Parsed p = parse(QString::fromLatin1(c.Language), text);
        TkvILParser plain;
        plain.Shortcuts = false;
        const Parsed slow = parse(QString::fromLatin1(c.Language), text, &plain);
        EXPECT_EQ(slow.Error + slow.Tree, p.Error + p.Tree) << c.What << ": the shortcuts changed the outcome";
        const std::string expected = c.Error;
        if (expected.empty())
            EXPECT_TRUE(p.Ok) << c.What << ": " << p.Error.toStdString();
        else if (!c.Text)
            EXPECT_TRUE(!p.Ok && p.Error.endsWith(QLatin1String(c.Error))) << c.What << ": " << p.Error.toStdString();
        else
            EXPECT_EQ(p.Ok ? std::string("parsed") : p.Error.toStdString(), expected) << c.What;
    }
}

TEST(ILParser, BadLanguagesAreRefused)
{
    TkvILParser parser;
    try {
        parser.SelectLanguage(QStringLiteral("Cobol"));
        FAIL() << "Cobol was found";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Language 'Cobol' not found"));
    }
    TkvLanguages::AddLanguageGrammar(
        QStringLiteral("@Broken"),
        QStringLiteral("<?xml version=\"1.0\"?><language><program><switch><keyword text=\"a\"/><nowhere/></switch>"
                       "</program></language>"));
    QStringList languages;
    TkvLanguages::ListLanguages(languages);
    EXPECT_EQ(languages, (QStringList{"PascalScript", "C++Script", "BasicScript", "JScript"}));
    parser.SelectLanguage(QStringLiteral("@broken"));
    EXPECT_TRUE(parser.MakeILScript(QStringLiteral("a")));
    EXPECT_THROW(parser.MakeILScript(QStringLiteral("b")), TzelException);
    // A grammar without a start rule parses nothing, without a fault.
    TkvLanguages::AddLanguageGrammar(QStringLiteral("@Empty"),
                                     QStringLiteral("<?xml version=\"1.0\"?><language><foo/></language>"));
    parser.SelectLanguage(QStringLiteral("@Empty"));
    EXPECT_TRUE(parser.MakeILScript(QString()));
}

TEST(ILParser, AParserCanBeUsedAgain)
{
    TkvILParser parser;
    parser.OnGetUnit = [](const QString &, QString &text) {
        text = QStringLiteral("const A = 1; begin end.");
        return true;
    };
    // Nothing of the language before carries over: C++Script's case, BasicScript's "rem".
    for (const char *before : {"C++Script", "BasicScript"}) {
        parse(QString::fromLatin1(before), QStringLiteral("x"), &parser);
        const Parsed p = parse(QStringLiteral("PascalScript"), QStringLiteral("BEGIN remove(1) END."), &parser);
        EXPECT_TRUE(p.Ok) << "after " << before << ": " << p.Error.toStdString();
    }
    // Units are included again by the next compilation.
    for (int run = 0; run < 2; ++run)
        EXPECT_TRUE(parse(QStringLiteral("PascalScript"), QStringLiteral("uses 'a.pas'; begin end."), &parser)
                        .Tree.contains(QStringLiteral("unit=\"a.pas\"")))
            << "run " << run;
}

TEST(ILParser, UnitsAreIncludedOnceLastNamedFirst)
{
    const QHash<QString, QString> units{
        {QStringLiteral("a.pas"), QStringLiteral("uses 'c.pas'; const A = 1; begin end.")},
        {QStringLiteral("b.pas"), QStringLiteral("const B = 2; begin end.")},
        {QStringLiteral("c.pas"), QStringLiteral("const C = 3; begin end.")},
        {QStringLiteral("bad.pas"), QStringLiteral("begin x := end.")},
    };
    TkvILParser parser;
    parser.OnGetUnit = [&](const QString &name, QString &text) {
        text = units.value(name);
        return units.contains(name);
    };
    Parsed p = parse(QStringLiteral("PascalScript"), QStringLiteral("uses 'a.pas', 'b.pas', 'c.pas'; begin end."),
                     &parser);
    ASSERT_TRUE(p.Ok) << p.Error.toStdString();
    const QRegularExpression unit(QStringLiteral("unit=\"([a-z]+)\\.pas\""));
    QStringList order;
    for (auto it = unit.globalMatch(p.Tree); it.hasNext();)
        order << it.next().captured(1);
    EXPECT_EQ(order, (QStringList{"c", "b", "a"}));

    TkvILParser failing;
    failing.OnGetUnit = parser.OnGetUnit;
    p = parse(QStringLiteral("PascalScript"), QStringLiteral("uses 'bad.pas'; begin end."), &failing);
    EXPECT_FALSE(p.Ok);
    EXPECT_EQ(p.Error, QStringLiteral("1:12: Expression expected"));
    EXPECT_EQ(failing.ErrorUnit, QStringLiteral("bad.pas"));
}
