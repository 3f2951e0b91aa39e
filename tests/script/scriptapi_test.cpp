#include "base/core/zelexception.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvscript.h"
#include "script/engine/kvvariables.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <thread>

// The script engine as a host drives it: evaluating expressions, calling
// script procedures, reading and writing variables, registering names and
// methods, keeping the program tree, following and stopping a run, and the
// errors it reports back.

namespace {

// An uncompiled script of Language under the global unit.
std::unique_ptr<TkvScript> scriptOf(const char *language, const char *source)
{
    auto script = std::make_unique<TkvScript>(TkvScript::GlobalUnit());
    script->SyntaxType = QString::fromLatin1(language);
    script->Lines = {QString::fromUtf8(source)};
    return script;
}

// A one-dimensional variant array starting at Low.
Variant arrayOf(std::initializer_list<Variant> values, int low = 0)
{
    Variant array = Variant::CreateArray({{low, low + int(values.size()) - 1}});
    int i = low;
    for (const Variant &v : values)
        array.PutElement(i++, v);
    return array;
}

// The message texts shown so far, one line each.
QString shown(const FakeDialogService &dialogs)
{
    QStringList texts;
    for (const QString &m : dialogs.Messages)
        texts << m.mid(m.indexOf(QLatin1String(": ")) + 2);
    return texts.join(QLatin1Char('\n'));
}

} // namespace

TEST(ScriptApiEvaluate, ExpressionsInEveryLanguage)
{
    struct Case
    {
        const char *Language;
        const char *Program; // sets x to 6
        const char *Text;    // a text expression using x
        const char *Wrong;   // not an expression
    };
    const Case cases[] = {
        {"PascalScript", "var x: Integer;\nbegin\n  x := 6\nend.\n", "'a' + IntToStr(x)", "x *"},
        {"C++Script", "int x;\n{\n  x = 6;\n}\n", "\"a\" + IntToStr(x)", "(x"},
        {"BasicScript", "Dim x\nx = 6\n", "\"a\" & x", "x *"},
        {"JScript", "var x = 6;\n", "\"a\" + IntToStr(x)", "x )"},
    };
    for (const Case &c : cases) {
        auto script = scriptOf(c.Language, c.Program);
        ASSERT_TRUE(script->Compile()) << c.Language << ": " << qPrintable(script->ErrorText());
        script->Execute();

        EXPECT_EQ(script->Evaluate(QStringLiteral("2 + 3 * 4")).ToInt(), 14) << c.Language;
        EXPECT_FALSE(script->EvaluteRiseError()) << c.Language;
        EXPECT_EQ(script->Evaluate(QStringLiteral("x * 7 - 2")).ToInt(), 40) << c.Language;
        EXPECT_EQ(script->Evaluate(QString::fromUtf8(c.Text)).ToString(), QStringLiteral("a6")) << c.Language;

        const Variant wrong = script->Evaluate(QString::fromUtf8(c.Wrong));
        EXPECT_TRUE(script->EvaluteRiseError()) << c.Language;
        EXPECT_TRUE(wrong.IsString()) << c.Language;
        EXPECT_FALSE(wrong.ToString().isEmpty()) << c.Language;
        // The next good expression clears the failure again.
        EXPECT_EQ(script->Evaluate(QStringLiteral("x")).ToInt(), 6) << c.Language;
        EXPECT_FALSE(script->EvaluteRiseError()) << c.Language;
        // The wrapper function lives in a scratch scope, not in the program.
        EXPECT_EQ(script->Find(QStringLiteral("kvEvaluateFUNC")), nullptr) << c.Language;
    }
}

TEST(ScriptApiEvaluate, CompileErrorsComeBackAsTextAndTheRunLineHookStaysQuiet)
{
    auto script = scriptOf("PascalScript", "var x: Integer;\nbegin\n  x := 1\nend.\n");
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    int lines = 0;
    script->SetOnRunLine([&](TkvScript *, const QString &, const QString &) { ++lines; });
    EXPECT_EQ(script->Evaluate(QStringLiteral("Nowhere + 1")).ToString(),
              QStringLiteral("Undeclared identifier: 'Nowhere'"));
    EXPECT_TRUE(script->EvaluteRiseError());
    EXPECT_EQ(script->Evaluate(QStringLiteral("x + 1")).ToInt(), 1);
    EXPECT_EQ(lines, 0); // the evaluation's own statement is not the program's
    script->Execute();
    EXPECT_EQ(lines, 1); // and the hook is back afterwards

    // A script outside the global unit still has the function library.
    TkvScript bare;
    EXPECT_EQ(bare.Evaluate(QStringLiteral("IntToStr(2 + 3) + 'x'")).ToString(), QStringLiteral("5x"));
    EXPECT_FALSE(bare.EvaluteRiseError());
}

TEST(ScriptApiEvaluate, ARunningProcedureIsTheScope)
{
    // A host method evaluating while a procedure runs sees that procedure's
    // parameters and locals.
    auto script = scriptOf("PascalScript",
                           "var Seen: Variant;\n"
                           "procedure P(k: Integer);\n"
                           "var local: Integer;\n"
                           "begin\n"
                           "  local := k * 2;\n"
                           "  Seen := Peek('local + k')\n"
                           "end;\n"
                           "begin\n"
                           "  P(5)\n"
                           "end.\n");
    TkvScript *main = script.get();
    script->AddMethod(QStringLiteral("function Peek(expr: String): Variant"),
                      [main](TkvMethodCall &call) { return main->Evaluate(call.Params[0].ToString()); });
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    script->Execute();
    EXPECT_FALSE(script->EvaluteRiseError()) << qPrintable(script->Variables(QStringLiteral("Seen")).ToString());
    EXPECT_EQ(script->Variables(QStringLiteral("Seen")).ToInt(), 15);
}

TEST(ScriptApiCalls, ProceduresByNameWithArrayArguments)
{
    FakeDialogService dialogs;
    auto script = scriptOf("PascalScript",
                           "var Total: Integer;\n"
                           "function Add(a, b: Integer): Integer;\n"
                           "begin\n"
                           "  Result := a + b\n"
                           "end;\n"
                           "function Scaled(x: Integer; f: Integer = 10): Integer;\n"
                           "begin\n"
                           "  Result := x * f\n"
                           "end;\n"
                           "procedure Accumulate(n: Integer);\n"
                           "begin\n"
                           "  Total := Total + n\n"
                           "end;\n"
                           "procedure Swap(var a, b: Variant);\n"
                           "var t: Variant;\n"
                           "begin\n"
                           "  t := a; a := b; b := t\n"
                           "end;\n"
                           "procedure Twice(var n: Integer);\n"
                           "begin\n"
                           "  n := n * 2\n"
                           "end;\n"
                           "begin\n"
                           "end.\n");
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    script->Execute();

    EXPECT_EQ(script->CallFunction(QStringLiteral("Add"), arrayOf({2, 3})).ToInt(), 5);
    EXPECT_EQ(script->CallFunction(QStringLiteral("ADD"), arrayOf({2, 3}, 1)).ToInt(), 5); // any low bound
    // Arguments are converted to the parameters' types: "2" + "3" is not 23.
    EXPECT_EQ(script->CallFunction(QStringLiteral("Add"), arrayOf({"2", "3"})).ToInt(), 5);
    EXPECT_EQ(script->CallFunction(QStringLiteral("Scaled"), arrayOf({3})).ToInt(), 30);
    EXPECT_EQ(script->CallFunction(QStringLiteral("Scaled"), arrayOf({3, 2})).ToInt(), 6);

    // A single value is the only argument; a procedure gives Null.
    EXPECT_TRUE(script->CallFunction(QStringLiteral("Accumulate"), Variant(4)).IsNull());
    script->CallFunction(QStringLiteral("Accumulate"), arrayOf({5}));
    EXPECT_EQ(script->Variables(QStringLiteral("Total")).ToInt(), 9);

    // Names that are not script procedures: Null, no error, nothing runs.
    EXPECT_TRUE(script->CallFunction(QStringLiteral("Total"), Variant(1)).IsNull());
    EXPECT_TRUE(script->CallFunction(QStringLiteral("Missing")).IsNull());
    EXPECT_TRUE(script->CallFunction(QStringLiteral("ShowMessage"), Variant("x"), true).IsNull());
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // By-reference parameters come back into the array, or into the value.
    Variant pair = arrayOf({"left", 7});
    script->CallFunction1(QStringLiteral("Swap"), pair);
    EXPECT_EQ(pair.GetElement(0).ToInt(), 7);
    EXPECT_EQ(pair.GetElement(1).ToString(), QStringLiteral("left"));
    Variant single(21);
    script->CallFunction1(QStringLiteral("Twice"), single);
    EXPECT_EQ(single.ToInt(), 42);
    // CallFunction leaves the caller's array alone.
    const Variant kept = arrayOf({1, 2});
    script->CallFunction(QStringLiteral("Swap"), kept);
    EXPECT_EQ(kept.GetElement(0).ToInt(), 1);

    // From an inner scope only a global lookup reaches the program's procedures.
    TkvScript inner(script.get());
    EXPECT_TRUE(inner.CallFunction(QStringLiteral("Add"), arrayOf({2, 3})).IsNull());
    EXPECT_EQ(inner.CallFunction(QStringLiteral("Add"), arrayOf({2, 3}), true).ToInt(), 5);
}

TEST(ScriptApiCalls, RecursionRestoresEachCallsLocals)
{
    // Fib's a is set before the second recursive call and read after it;
    // Nest re-enters itself through the host while it is running.
    auto script = scriptOf("PascalScript",
                           "var Trace: String;\n"
                           "function Fib(n: Integer): Integer;\n"
                           "var a, b: Integer;\n"
                           "begin\n"
                           "  if n < 2 then\n"
                           "    Result := n\n"
                           "  else begin\n"
                           "    a := Fib(n - 1);\n"
                           "    b := Fib(n - 2);\n"
                           "    Result := a + b\n"
                           "  end\n"
                           "end;\n"
                           "procedure Nest(n: Integer);\n"
                           "var mine: String;\n"
                           "begin\n"
                           "  mine := IntToStr(n * 11);\n"
                           "  if n > 0 then Reenter(n - 1);\n"
                           "  Trace := Trace + mine + '/' + IntToStr(n) + ' '\n"
                           "end;\n"
                           "begin\n"
                           "  Trace := '';\n"
                           "  Nest(3)\n"
                           "end.\n");
    TkvScript *main = script.get();
    script->AddMethod(QStringLiteral("procedure Reenter(n: Integer)"), [main](TkvMethodCall &call) {
        return main->CallFunction(QStringLiteral("Nest"), call.Params[0]);
    });
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    script->Execute();
    EXPECT_EQ(script->Variables(QStringLiteral("Trace")).ToString(), QStringLiteral("0/0 11/1 22/2 33/3 "));
    EXPECT_EQ(script->CallFunction(QStringLiteral("Fib"), Variant(15)).ToInt(), 610);
}

TEST(ScriptApiCalls, ClearLocalVarsResetsLocalsAfterEachCall)
{
    const char *program = "var Counted: Integer; Text: String;\n"
                          "procedure Count;\n"
                          "var n: Integer; s: String;\n"
                          "begin\n"
                          "  n := n + 1;\n"
                          "  s := s + 'x';\n"
                          "  Counted := n;\n"
                          "  Text := s\n"
                          "end;\n"
                          "begin\n"
                          "  Count; Count; Count\n"
                          "end.\n";
    const struct
    {
        bool Clear;
        int Counted;
        const char *Text;
    } cases[] = {{false, 3, "xxx"}, {true, 1, "x"}};
    for (const auto &c : cases) {
        auto script = scriptOf("PascalScript", program);
        script->ClearLocalVars = c.Clear;
        ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
        script->Execute();
        EXPECT_EQ(script->Variables(QStringLiteral("Counted")).ToInt(), c.Counted) << c.Clear;
        EXPECT_EQ(script->Variables(QStringLiteral("Text")).ToString(), QString::fromLatin1(c.Text)) << c.Clear;
    }
}

TEST(ScriptApiVariables, WritesConvertToTheDeclaredType)
{
    FakeDialogService dialogs;
    auto script = scriptOf("PascalScript",
                           "var n: Integer; s: String; f: Extended; b: Boolean; v: Variant;\n"
                           "const Limit = 10;\n"
                           "begin\n"
                           "  ShowMessage(n + 1)\n"
                           "end.\n");
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());

    const struct
    {
        const char *Name;
        Variant Written;
        quint16 Type;
        const char *Read;
    } cases[] = {
        {"n", Variant("12"), varInteger, "12"},
        {"N", Variant(2.6), varInteger, "3"},
        {"s", Variant(5), varUString, "5"},
        {"f", Variant(3), varDouble, "3"},
        {"b", Variant(1), varBoolean, "True"},
        {"v", Variant("12"), varUString, "12"},
        {"Limit", Variant(99), varInteger, "10"}, // constants ignore writes
    };
    for (const auto &c : cases) {
        const QString name = QString::fromLatin1(c.Name);
        script->SetVariables(name, c.Written);
        const Variant read = script->Variables(name);
        EXPECT_EQ(read.VarType(), c.Type) << c.Name;
        EXPECT_EQ(read.ToString(), QString::fromLatin1(c.Read)) << c.Name;
    }
    EXPECT_THROW(script->SetVariables(QStringLiteral("n"), Variant::Null()), TzelException);

    // The program sees what the host wrote.
    script->SetVariables(QStringLiteral("n"), 41);
    script->Execute();
    EXPECT_EQ(shown(dialogs), QStringLiteral("42"));
}

TEST(ScriptApiVariables, AbsentNamesReadNullAndWritingCreatesThem)
{
    auto script = scriptOf("PascalScript", "begin end.");
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    EXPECT_TRUE(script->Variables(QStringLiteral("Fresh")).IsNull());
    EXPECT_EQ(script->Find(QStringLiteral("Fresh")), nullptr); // reading adds nothing

    script->SetVariables(QStringLiteral("Fresh"), 7);
    const TkvCustomVariable *fresh = script->FindLocal(QStringLiteral("FRESH"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Typ, fvtVariant);
    EXPECT_EQ(script->Variables(QStringLiteral("fresh")).ToInt(), 7);
    // A Variant variable keeps whatever it is given.
    script->SetVariables(QStringLiteral("Fresh"), "seven");
    EXPECT_EQ(script->Variables(QStringLiteral("Fresh")).ToString(), QStringLiteral("seven"));

    // Made before compiling, it is a name the program can use.
    script->Clear();
    script->SetVariables(QStringLiteral("Fresh"), 7);
    script->Lines = {QStringLiteral("begin\n  Fresh := Fresh * 6\nend.")};
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    script->Execute();
    EXPECT_EQ(script->Variables(QStringLiteral("Fresh")).ToInt(), 42);
}

TEST(ScriptApiRegistration, EnumerationsSetsConstantsAndVariables)
{
    const auto registered = [](const char *source) {
        auto script = scriptOf("PascalScript", source);
        script->AddEnum(QStringLiteral("TColors"), QStringLiteral("A, B ,C"));
        script->AddEnumSet(QStringLiteral("TFontStyles"), QStringLiteral("fsBold, fsItalic,fsUnderline"));
        script->AddConst(QStringLiteral("Answer"), QStringLiteral("Integer"), 42);
        script->AddConst(QStringLiteral("Greeting"), QStringLiteral("String"), "hi");
        script->AddVariable(QStringLiteral("Count"), QStringLiteral("Integer"), "7");
        script->AddVariable(QStringLiteral("Count"), QStringLiteral("Integer"), 100); // already there: ignored
        script->AddVariable(QStringLiteral("Label"), QStringLiteral("String"), 5);
        return script;
    };

    FakeDialogService dialogs;
    auto script = registered("var col: TColors;\n"
                             "begin\n"
                             "  col := b;\n"
                             "  ShowMessage(IntToStr(A) + IntToStr(col) + IntToStr(C));\n"
                             "  ShowMessage(fsBold + fsItalic * 10 + fsUnderline * 100);\n"
                             "  ShowMessage(Greeting + IntToStr(Answer));\n"
                             "  Count := Count * 2\n"
                             "end.\n");
    EXPECT_EQ(script->Variables(QStringLiteral("Count")).VarType(), varInteger);
    EXPECT_EQ(script->Variables(QStringLiteral("Label")).VarType(), varUString);
    EXPECT_EQ(script->Variables(QStringLiteral("B")).ToInt(), 1);
    EXPECT_EQ(script->Variables(QStringLiteral("fsUnderline")).ToInt(), 4);
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    script->Execute();
    EXPECT_EQ(shown(dialogs), QStringLiteral("012\n421\nhi42"));
    EXPECT_EQ(script->Variables(QStringLiteral("Count")).ToInt(), 14);

    // Enumeration values and constants are read-only, and enumerations are
    // distinct types.
    const struct
    {
        const char *Program;
        const char *Error;
    } wrong[] = {
        {"begin\n  B := 1\nend.", "Left side cannot be assigned to"},
        {"begin\n  Answer := 1\nend.", "Left side cannot be assigned to"},
        {"var col: TColors;\nbegin\n  col := fsBold\nend.", "Incompatible types: 'TColors', 'TFontStyles'"},
    };
    for (const auto &w : wrong) {
        auto bad = registered(w.Program);
        EXPECT_FALSE(bad->Compile()) << w.Program;
        EXPECT_EQ(bad->ErrorMsg, QString::fromLatin1(w.Error)) << w.Program;
    }
}

TEST(ScriptApiRegistration, HostMethodsTakeArgumentsDefaultsAndVarParameters)
{
    FakeDialogService dialogs;
    auto script = scriptOf("PascalScript",
                           "var h, t: String;\n"
                           "begin\n"
                           "  ShowMessage(Twice(21));\n"
                           "  SplitAt('report', 3, h, t);\n"
                           "  ShowMessage(h + '|' + t);\n"
                           "  ShowMessage(Greet('Ann'));\n"
                           "  ShowMessage(Greet('Bob', 'Hi'));\n"
                           "  ShowMessage(Shift(10));\n"
                           "  ShowMessage(Scale(2));\n"
                           "  ShowMessage(Unset(1))\n"
                           "end.\n");
    script->AddConst(QStringLiteral("Factor"), QStringLiteral("Integer"), 5);
    QStringList names;
    bool withoutObject = true;
    script->AddMethod(QStringLiteral("function Twice(n: Integer): Integer"), [&](TkvMethodCall &call) {
        names << call.Name;
        withoutObject = withoutObject && call.Instance.IsNull();
        return Variant(call.Params[0].ToInt() * 2);
    });
    script->AddMethod(QStringLiteral("procedure SplitAt(s: String; at: Integer; var head, tail: String)"),
                      [](TkvMethodCall &call) {
                          const QString s = call.Params[0].ToString();
                          const int at = call.Params[1].ToInt();
                          call.Params[2] = Variant(s.left(at));
                          call.Params[3] = Variant(s.mid(at));
                          return Variant::Null();
                      });
    script->AddMethod(QStringLiteral("function Greet(name: String; greeting: String = 'Hello'): String"),
                      [](TkvMethodCall &call) {
                          EXPECT_EQ(call.Params.size(), 2u); // the default is filled in
                          return Variant(call.Params[1].ToString() + QStringLiteral(", ") + call.Params[0].ToString());
                      });
    script->AddMethod(QStringLiteral("function Shift(x: Integer; by: Integer = -3): Integer"),
                      [](TkvMethodCall &call) { return Variant(call.Params[0].ToInt() + call.Params[1].ToInt()); });
    script->AddMethod(QStringLiteral("function Scale(x: Integer; by: Integer = Factor): Integer"),
                      [](TkvMethodCall &call) { return Variant(call.Params[0].ToInt() * call.Params[1].ToInt()); });
    script->AddMethod(QStringLiteral("function Unset(x: Integer; y: Variant = NoSuchName): String"),
                      [](TkvMethodCall &call) { return Variant(call.Params[1].IsNull() ? "null" : "set"); });
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    script->Execute();
    EXPECT_EQ(shown(dialogs), QStringLiteral("42\nrep|ort\nHello, Ann\nHi, Bob\n7\n10\nnull"));
    EXPECT_EQ(names, QStringList{QStringLiteral("TWICE")});
    EXPECT_TRUE(withoutObject);
}

TEST(ScriptApiILCode, TheProgramTreeRunsInAFreshScript)
{
    struct Case
    {
        const char *Language;
        const char *Program;
        int ShowLine; // where ShowMessage is called
    };
    const Case cases[] = {
        {"PascalScript",
         "var i: Integer;\n"
         "function Square(n: Integer): Integer;\n"
         "begin\n"
         "  Result := n * n\n"
         "end;\n"
         "begin\n"
         "  for i := 1 to 3 do\n"
         "    ShowMessage(Square(i))\n"
         "end.\n",
         8},
        // Undeclared names are still made on first use from the tree.
        {"BasicScript",
         "Function Square(n)\n"
         "  Return n * n\n"
         "End Function\n"
         "For i = 1 To 3\n"
         "  ShowMessage(Square(i))\n"
         "Next\n",
         5},
    };
    for (const Case &c : cases) {
        FakeDialogService dialogs;
        auto source = scriptOf(c.Language, c.Program);
        QBuffer tree;
        tree.open(QIODevice::WriteOnly);
        ASSERT_TRUE(source->GetILCode(tree)) << c.Language << ": " << qPrintable(source->ErrorText());
        tree.close();
        EXPECT_FALSE(tree.data().isEmpty()) << c.Language;
        // Only the first stage ran: the program's names are not declared yet.
        EXPECT_EQ(source->FindLocal(QStringLiteral("Square")), nullptr) << c.Language;

        auto later = scriptOf(c.Language, "");
        tree.open(QIODevice::ReadOnly);
        ASSERT_TRUE(later->SetILCode(tree)) << c.Language << ": " << qPrintable(later->ErrorText());
        later->Execute();
        EXPECT_EQ(shown(dialogs), QStringLiteral("1\n4\n9")) << c.Language;
        // Positions come along with the tree.
        EXPECT_TRUE(later->IsExecutableLine(c.ShowLine)) << c.Language;
    }

    auto wrong = scriptOf("PascalScript", "begin\n  ShowMessage(1\nend.\n");
    QBuffer tree;
    tree.open(QIODevice::WriteOnly);
    EXPECT_FALSE(wrong->GetILCode(tree));
    EXPECT_FALSE(wrong->ErrorMsg.isEmpty());
    EXPECT_FALSE(wrong->ErrorPos.isEmpty());
    tree.close();

    QBuffer garbage;
    garbage.setData("not a program tree");
    garbage.open(QIODevice::ReadOnly);
    auto later = scriptOf("PascalScript", "");
    EXPECT_FALSE(later->SetILCode(garbage));
    EXPECT_FALSE(later->ErrorMsg.isEmpty());
}

TEST(ScriptApiRunLine, TheHookFollowsStatementsInOrder)
{
    auto script = scriptOf("PascalScript",
                           "var i, sum: Integer;\n"
                           "\n"
                           "procedure Note(k: Integer);\n"
                           "begin\n"
                           "  sum := sum + k\n"
                           "end;\n"
                           "\n"
                           "begin\n"
                           "  // start\n"
                           "  sum := 0;\n"
                           "  if sum = 0 then\n"
                           "    Note(10);\n"
                           "  for i := 1 to 2 do Note(i)\n"
                           "end.\n");
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    QStringList seen;
    script->SetOnRunLine([&](TkvScript *sender, const QString &unit, const QString &pos) {
        // Statements of a procedure come from its local script.
        const QString where = sender == script.get() ? QString()
                              : sender->Parent() == script.get() ? QStringLiteral(" in Note")
                                                                  : QStringLiteral(" elsewhere");
        seen << unit + pos + where;
    });
    script->Execute();
    EXPECT_EQ(seen.join(QLatin1Char(',')), QStringLiteral("10:3,11:3,12:5,5:3 in Note,13:3,13:22,5:3 in Note,"
                                                          "13:22,5:3 in Note"));
    EXPECT_EQ(script->Variables(QStringLiteral("sum")).ToInt(), 13);

    for (const int line : {5, 10, 11, 12, 13})
        EXPECT_TRUE(script->IsExecutableLine(line)) << line;
    for (const int line : {2, 7, 9})
        EXPECT_FALSE(script->IsExecutableLine(line)) << line;
    EXPECT_FALSE(script->IsExecutableLine(10, QStringLiteral("OtherUnit")));

    // A cleared hook is no longer called.
    script->SetOnRunLine(nullptr);
    seen.clear();
    script->Execute();
    EXPECT_TRUE(seen.isEmpty());
}

TEST(ScriptApiTerminate, AHookStopsEndlessLoopsBeforeTheNextStatement)
{
    // Each program counts in n and never ends by itself (the for loops not
    // before two billion steps).
    const struct
    {
        const char *Language;
        const char *What;
        const char *Program;
    } cases[] = {
        {"PascalScript", "while in the main block",
         "var n: Integer;\n"
         "begin\n"
         "  n := 0;\n"
         "  while True do\n"
         "    n := n + 1;\n"
         "  ShowMessage('after')\n"
         "end.\n"},
        {"PascalScript", "while in a procedure",
         "var n: Integer;\n"
         "procedure Spin;\n"
         "begin\n"
         "  while True do\n"
         "    n := n + 1\n"
         "end;\n"
         "begin\n"
         "  n := 0;\n"
         "  Spin;\n"
         "  ShowMessage('after')\n"
         "end.\n"},
        {"PascalScript", "repeat and for",
         "var n, i: Integer;\n"
         "begin\n"
         "  n := 0;\n"
         "  repeat\n"
         "    for i := 1 to 2000000000 do\n"
         "      n := n + 1\n"
         "  until False;\n"
         "  ShowMessage('after')\n"
         "end.\n"},
        {"C++Script", "three-part for and do-while",
         "int n = 0;\n"
         "{\n"
         "  do {\n"
         "    for (n = 0; true; n++) ;\n"
         "  } while (true);\n"
         "  ShowMessage(\"after\");\n"
         "}\n"},
        {"BasicScript", "While and For with a Step",
         "Dim n = 0, i\n"
         "While True\n"
         "  For i = 1 To 2000000000 Step 1\n"
         "    n += 1\n"
         "  Next\n"
         "Wend\n"
         "ShowMessage(\"after\")\n"},
        {"JScript", "while in a function",
         "var n = 0;\n"
         "function spin() {\n"
         "  while (true) n = n + 1;\n"
         "}\n"
         "spin();\n"
         "ShowMessage(\"after\");\n"},
    };
    for (const auto &c : cases) {
        FakeDialogService dialogs;
        auto script = scriptOf(c.Language, c.Program);
        ASSERT_TRUE(script->Compile()) << c.What << ": " << qPrintable(script->ErrorText());
        int calls = 0;
        int stoppedAt = -1;
        script->SetOnRunLine([&](TkvScript *, const QString &, const QString &) {
            if (++calls == 1000) {
                stoppedAt = script->Variables(QStringLiteral("n")).ToInt();
                script->Terminate();
            }
        });
        // Twice: a run starts afresh after a terminated one.
        for (int run = 1; run <= 2; ++run) {
            calls = 0;
            script->Execute();
            EXPECT_TRUE(script->Terminated()) << c.What;
            EXPECT_EQ(calls, 1000) << c.What << ": statements notified after Terminate";
            EXPECT_GT(stoppedAt, 0) << c.What;
            EXPECT_EQ(script->Variables(QStringLiteral("n")).ToInt(), stoppedAt)
                << c.What << ": the statement being notified still ran";
        }
        EXPECT_TRUE(dialogs.Messages.isEmpty()) << c.What;
    }
}

TEST(ScriptApiTerminate, AnotherThreadStopsARunningScript)
{
    // The loops end on their own after a bound far beyond what runs in the
    // time allowed, so a failed Terminate shows as a failure, not a hang.
    const struct
    {
        const char *What;
        const char *Program;
    } cases[] = {
        {"a loop in the main block",
         "var n: Integer;\n"
         "begin\n"
         "  n := 0;\n"
         "  Started;\n"
         "  while n < 500000000 do\n"
         "    n := n + 1\n"
         "end.\n"},
        {"a loop in a procedure",
         "var n: Integer;\n"
         "procedure Spin;\n"
         "begin\n"
         "  Started;\n"
         "  while n < 500000000 do\n"
         "    n := n + 1\n"
         "end;\n"
         "begin\n"
         "  n := 0;\n"
         "  Spin\n"
         "end.\n"},
    };
    for (const auto &c : cases) {
        auto script = scriptOf("PascalScript", c.Program);
        std::atomic<bool> started{false};
        script->AddMethod(QStringLiteral("procedure Started"), [&](TkvMethodCall &) {
            started = true;
            return Variant::Null();
        });
        ASSERT_TRUE(script->Compile()) << c.What << ": " << qPrintable(script->ErrorText());
        std::thread stopper([&] {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!started && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            script->Terminate();
        });
        script->Execute();
        stopper.join();
        EXPECT_TRUE(script->Terminated()) << c.What;
        const int n = script->Variables(QStringLiteral("n")).ToInt();
        EXPECT_GT(n, 0) << c.What;
        EXPECT_LT(n, 500000000) << c.What << ": the loop ran to its end";
    }
}

TEST(ScriptApiErrors, CompileErrorsAreReportedAndClearMakesRoomForANewProgram)
{
    auto script = scriptOf("PascalScript",
                           "var x: Integer;\n"
                           "begin\n"
                           "  x := 1;\n"
                           "  x := y + 1\n"
                           "end.\n");
    EXPECT_FALSE(script->Compile());
    EXPECT_EQ(script->ErrorMsg, QStringLiteral("Undeclared identifier: 'y'"));
    EXPECT_EQ(script->ErrorPos, QStringLiteral("4:8"));
    EXPECT_TRUE(script->ErrorUnit.isEmpty());

    script->SyntaxType = QStringLiteral("NoSuchLanguage");
    EXPECT_FALSE(script->Compile());
    EXPECT_EQ(script->ErrorMsg, QStringLiteral("Language 'NoSuchLanguage' not found"));

    // A program that compiles, then another one declaring the same names:
    // without Clear the names are taken, after Clear it compiles and runs.
    FakeDialogService dialogs;
    script->SyntaxType = QStringLiteral("PascalScript");
    script->Clear();
    EXPECT_TRUE(script->ErrorMsg.isEmpty());
    EXPECT_TRUE(script->ErrorPos.isEmpty());
    script->Lines = {QStringLiteral("var x: Integer;\nprocedure P;\nbegin\n  ShowMessage('first')\nend;\n"
                                    "begin\n  P\nend.")};
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    EXPECT_TRUE(script->IsExecutableLine(7));
    script->Lines = {QStringLiteral("var x: String;\nprocedure P;\nbegin\n  ShowMessage('second ' + x)\nend;\n"
                                    "begin\n  x := 'run';\n  P\nend.")};
    EXPECT_FALSE(script->Compile());
    EXPECT_EQ(script->ErrorMsg, QStringLiteral("Identifier redeclared: 'P'")); // procedures are declared first
    script->Clear();
    EXPECT_FALSE(script->IsExecutableLine(7));
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    EXPECT_TRUE(script->ErrorMsg.isEmpty());
    script->Execute();
    EXPECT_EQ(shown(dialogs), QStringLiteral("second run"));
}

TEST(ScriptApiErrors, RunErrorsThrowAndPointAtTheInnermostStatement)
{
    const struct
    {
        const char *What;
        const char *Program;
        const char *Output;
        const char *Message;
        const char *Pos;
    } cases[] = {
        {"a division inside a procedure",
         "procedure Divide(d: Integer);\n"
         "var n: Integer;\n"
         "begin\n"
         "  ShowMessage(d);\n"
         "  n := 100 div d\n"
         "end;\n"
         "begin\n"
         "  Divide(4);\n"
         "  Divide(0);\n"
         "  ShowMessage('not reached')\n"
         "end.\n",
         "4\n0", "Division by zero", "5:3"},
        {"a host method that fails",
         "begin\n"
         "  ShowMessage('before');\n"
         "  Fail('disk full')\n"
         "end.\n",
         "before", "disk full", "3:3"},
    };
    for (const auto &c : cases) {
        FakeDialogService dialogs;
        auto script = scriptOf("PascalScript", c.Program);
        script->AddMethod(QStringLiteral("procedure Fail(why: String)"),
                          [](TkvMethodCall &call) -> Variant { throw TzelException(call.Params[0].ToString()); });
        ASSERT_TRUE(script->Compile()) << c.What << ": " << qPrintable(script->ErrorText());
        bool thrown = false;
        try {
            script->Execute();
        } catch (const TzelException &e) {
            thrown = true;
            EXPECT_EQ(e.message(), QString::fromUtf8(c.Message)) << c.What;
            const auto *located = dynamic_cast<const TkvRunError *>(&e);
            ASSERT_NE(located, nullptr) << c.What;
            EXPECT_EQ(located->Pos(), QString::fromLatin1(c.Pos)) << c.What;
        }
        EXPECT_TRUE(thrown) << c.What;
        EXPECT_EQ(script->ErrorMsg, QString::fromUtf8(c.Message)) << c.What;
        EXPECT_EQ(script->ErrorPos, QString::fromLatin1(c.Pos)) << c.What;
        EXPECT_FALSE(script->IsRunning()) << c.What;
        EXPECT_EQ(shown(dialogs), QString::fromUtf8(c.Output)) << c.What;
    }

    // A call from the host fails the same way, and the procedure works again
    // afterwards.
    auto script = scriptOf("PascalScript",
                           "function Share(d: Integer): Integer;\n"
                           "var n: Integer;\n"
                           "begin\n"
                           "  n := 100;\n"
                           "  Result := n div d\n"
                           "end;\n"
                           "begin\n"
                           "end.\n");
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    try {
        script->CallFunction(QStringLiteral("Share"), 0);
        ADD_FAILURE() << "no error from a call that divides by zero";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Division by zero"));
    }
    EXPECT_EQ(script->CallFunction(QStringLiteral("Share"), 4).ToInt(), 25);
}

TEST(ScriptApiRunLine, TheHookMayEvaluateAndCallAfterAStop)
{
    // A conditional breakpoint evaluates from inside the hook; the hook must
    // outlive the evaluation (a capture too big to be stored in place shows it).
    auto script = scriptOf("PascalScript", "var x: Integer;\n"
                                           "function Add(a, b: Integer): Integer; begin Result := a + b end;\n"
                                           "begin\n  x := 1;\n  x := 2;\n  while True do x := x + 1\nend.\n");
    ASSERT_TRUE(script->Compile()) << qPrintable(script->ErrorText());
    QStringList watch;
    const QString tag = QStringLiteral("x + 10 = ");
    int lines = 0;
    script->SetOnRunLine([&script, &watch, &lines, tag](TkvScript *, const QString &, const QString &) {
        watch << tag + script->Evaluate(QStringLiteral("x + 10")).ToString();
        if (++lines == 3)
            script->Terminate();
    });
    script->Execute();
    script->SetOnRunLine(nullptr);
    EXPECT_EQ(watch, (QStringList{tag + QStringLiteral("10"), tag + QStringLiteral("11"), tag + QStringLiteral("12")}));
    // After the stopped run the host's calls run again.
    EXPECT_TRUE(script->Terminated());
    EXPECT_EQ(script->CallFunction(QStringLiteral("Add"), arrayOf({2, 3})).ToInt(), 5);
    EXPECT_EQ(script->Evaluate(QStringLiteral("Add(1, 1)")).ToInt(), 2);
}
