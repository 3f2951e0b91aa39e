#include "base/core/zelexception.h"
#include "script/engine/kvscript.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

// What a host does with a script: evaluate, call procedures, read and set
// variables, register its own names, keep the program tree, stop a run and
// follow it line by line.

namespace {

// A compiled script of Language under the global unit.
struct Compiled
{
    explicit Compiled(const char *text, const char *language = "PascalScript")
        : Script(TkvScript::GlobalUnit())
    {
        Script.SyntaxType = QString::fromLatin1(language);
        Script.Lines = {QString::fromUtf8(text)};
        Ok = Script.Compile();
    }
    TkvScript Script;
    bool Ok;
};

Variant args(std::initializer_list<Variant> values)
{
    Variant array = Variant::CreateArray({{0, int(values.size()) - 1}});
    int i = 0;
    for (const Variant &v : values)
        array.PutElement(i++, v);
    return array;
}

TEST(ScriptHostApi, EvaluateInEveryLanguage)
{
    struct Case
    {
        const char *Language;
        const char *Program;
        const char *Expression;
        const char *Value;
    };
    const Case cases[] = {
        {"PascalScript", "var x: Integer; begin x := 4 end.", "x * 2 + 1", "9"},
        {"C++Script", "int x = 4; {}", "x * 2 + 1", "9"},
        {"BasicScript", "x = 4\n", "x * 2 + 1", "9"},
        {"JScript", "var x = 4;", "x * 2 + 1", "9"},
    };
    for (const Case &c : cases) {
        Compiled p(c.Program, c.Language);
        ASSERT_TRUE(p.Ok) << c.Language << ": " << qPrintable(p.Script.ErrorText());
        p.Script.Execute();
        EXPECT_EQ(p.Script.Evaluate(QString::fromLatin1(c.Expression)).ToString().toStdString(), c.Value)
            << c.Language;
        EXPECT_FALSE(p.Script.EvaluteRiseError());
        const Variant wrong = p.Script.Evaluate(QStringLiteral("x +* 2"));
        EXPECT_TRUE(p.Script.EvaluteRiseError()) << c.Language;
        EXPECT_FALSE(wrong.ToString().isEmpty()) << c.Language;
    }
}

TEST(ScriptHostApi, CallsVariablesAndHostNames)
{
    TkvScript host(TkvScript::GlobalUnit());
    host.AddEnum(QStringLiteral("TSide"), QStringLiteral("sLeft, sMiddle ,sRight"));
    host.AddEnumSet(QStringLiteral("TStyles"), QStringLiteral("stBold,stItalic,stUnderline"));
    host.AddConst(QStringLiteral("Limit"), QStringLiteral("Integer"), Variant(10));
    host.AddMethod(QStringLiteral("procedure Twice(var Value: Integer; Add: Integer = 1)"), [](TkvMethodCall &call) {
        call.Params[0] = Variant(call.Params[0].ToInt() * 2 + call.Params[1].ToInt());
        return Variant::Null();
    });
    TkvScript script(&host);
    script.Lines = {QStringLiteral("var n: Integer;\n"
                                   "function Sum(a, b: Integer): Integer; begin Result := a + b end;\n"
                                   "procedure Swap(var a, b: Variant); var t: Variant; begin t := a; a := b; b := t end;\n"
                                   "begin\n"
                                   "  n := sMiddle + sRight * 10;\n"
                                   "  n := n + stUnderline * 100 + Limit * 1000;\n"
                                   "  Twice(n);\n"
                                   "  Twice(n, 0)\n"
                                   "end.")};
    ASSERT_TRUE(script.Compile()) << qPrintable(script.ErrorText());
    script.Execute();
    EXPECT_EQ(script.Variables(QStringLiteral("n")).ToInt(), (1 + 20 + 400 + 10000) * 4 + 2);
    EXPECT_EQ(script.CallFunction(QStringLiteral("Sum"), args({2, 3})).ToInt(), 5);
    EXPECT_TRUE(script.CallFunction(QStringLiteral("n")).IsNull()); // not a procedure
    Variant pair = args({QStringLiteral("a"), QStringLiteral("b")});
    script.CallFunction1(QStringLiteral("Swap"), pair);
    EXPECT_EQ(pair.GetElement(0).ToString(), QStringLiteral("b"));
    EXPECT_EQ(pair.GetElement(1).ToString(), QStringLiteral("a"));

    EXPECT_TRUE(script.Variables(QStringLiteral("Missing")).IsNull());
    script.SetVariables(QStringLiteral("Missing"), Variant(QStringLiteral("made")));
    EXPECT_EQ(script.Variables(QStringLiteral("missing")).ToString(), QStringLiteral("made"));
    script.SetVariables(QStringLiteral("n"), Variant(QStringLiteral("7")));
    EXPECT_EQ(script.Variables(QStringLiteral("n")).VarType(), varInteger); // typed: converted
}

TEST(ScriptHostApi, RecursionAndLocals)
{
    // Each call's local survives the calls it makes; with ClearLocalVars a
    // local starts from 0 on the next call.
    Compiled p("function Depth(n: Integer): String;\n"
               "var here: Integer;\n"
               "begin\n"
               "  here := n;\n"
               "  if n > 0 then Result := Depth(n - 1) + IntToStr(here) else Result := '';\n"
               "end;\n"
               "function Counter: Integer;\n"
               "var c: Integer;\n"
               "begin\n"
               "  c := c + 1;\n"
               "  Result := c\n"
               "end;\n"
               "begin end.");
    ASSERT_TRUE(p.Ok) << qPrintable(p.Script.ErrorText());
    EXPECT_EQ(p.Script.CallFunction(QStringLiteral("Depth"), Variant(4)).ToString(), QStringLiteral("1234"));
    p.Script.CallFunction(QStringLiteral("Counter"));
    EXPECT_EQ(p.Script.CallFunction(QStringLiteral("Counter")).ToInt(), 2);
    p.Script.ClearLocalVars = true;
    p.Script.CallFunction(QStringLiteral("Counter"));
    EXPECT_EQ(p.Script.CallFunction(QStringLiteral("Counter")).ToInt(), 1);
}

TEST(ScriptHostApi, TheProgramTreeCompilesLater)
{
    FakeDialogService dialogs;
    Compiled source("begin ShowMessage(6 * 7) end.");
    QBuffer tree;
    tree.open(QIODevice::WriteOnly);
    ASSERT_TRUE(source.Script.GetILCode(tree));
    tree.close();
    TkvScript later(TkvScript::GlobalUnit());
    tree.open(QIODevice::ReadOnly);
    ASSERT_TRUE(later.SetILCode(tree)) << qPrintable(later.ErrorText());
    later.Execute();
    EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral(": 42")});
}

TEST(ScriptHostApi, ErrorsAndRecompiling)
{
    TkvScript script(TkvScript::GlobalUnit());
    script.Lines = {QStringLiteral("begin\n  y := 1\nend.")};
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorText(), QStringLiteral("2:3: Undeclared identifier: 'y'"));
    script.Clear();
    script.Lines = {QStringLiteral("procedure P;\nbegin\n  RaiseException('deep')\nend;\nbegin\n  P\nend.")};
    ASSERT_TRUE(script.Compile()) << qPrintable(script.ErrorText());
    EXPECT_THROW(script.Execute(), TzelException);
    EXPECT_EQ(script.ErrorText(), QStringLiteral("3:3: deep"));
    EXPECT_FALSE(script.IsRunning());
}

TEST(ScriptHostApi, FollowingAndStoppingARun)
{
    // The hook sees every statement in order; the lines it can stop on are
    // the statements' lines.
    Compiled p("var i: Integer;\n"
               "begin\n"
               "  // counting\n"
               "  i := 0;\n"
               "  while True do\n"
               "    i := i + 1;\n"
               "end.");
    ASSERT_TRUE(p.Ok) << qPrintable(p.Script.ErrorText());
    EXPECT_TRUE(p.Script.IsExecutableLine(4));
    EXPECT_TRUE(p.Script.IsExecutableLine(6));
    EXPECT_FALSE(p.Script.IsExecutableLine(3));
    QStringList seen;
    p.Script.SetOnRunLine([&](TkvScript *, const QString &, const QString &pos) {
        seen << pos;
        if (seen.size() == 5)
            p.Script.Terminate();
    });
    p.Script.Execute(); // endless, but stopped by the hook
    p.Script.SetOnRunLine(nullptr);
    EXPECT_TRUE(p.Script.Terminated());
    EXPECT_EQ(seen, (QStringList{QStringLiteral("4:3"), QStringLiteral("5:3"), QStringLiteral("6:5"),
                                 QStringLiteral("6:5"), QStringLiteral("6:5")}));
    EXPECT_EQ(p.Script.Variables(QStringLiteral("i")).ToInt(), 2);

    // Another thread stops it too; a second run starts afresh.
    std::atomic<bool> running{false};
    p.Script.SetOnRunLine([&](TkvScript *, const QString &, const QString &) { running = true; });
    std::thread stopper([&] {
        while (!running)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        p.Script.Terminate();
    });
    p.Script.Execute();
    stopper.join();
    p.Script.SetOnRunLine(nullptr);
    EXPECT_TRUE(p.Script.Terminated());
    EXPECT_GT(p.Script.Variables(QStringLiteral("i")).ToInt(), 0);
}

} // namespace
