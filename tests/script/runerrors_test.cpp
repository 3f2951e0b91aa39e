#include "scriptrun.h"

#include <gtest/gtest.h>

#include <cstddef>

// Programs that fail: the message, and the place it points at. A compile
// error names the element being compiled; a run-time error the innermost
// statement that was running.

namespace {

struct Case
{
    const char *What;
    const char *Language;
    const char *Source;
    const char *Output; // what was shown before the error
    const char *Error;
};

template <std::size_t N>
void expectErrors(const Case (&cases)[N])
{
    for (const Case &c : cases) {
        const ScriptOutcome r = runScript(QString::fromLatin1(c.Language), QString::fromUtf8(c.Source));
        EXPECT_EQ(r.Error.toStdString(), c.Error) << c.Language << ": " << c.What;
        EXPECT_EQ(r.Output.toStdString(), c.Output) << c.Language << ": " << c.What;
    }
}

} // namespace

TEST(ScriptRunErrors, CompileErrorsStopBeforeAnythingRuns)
{
    // Each program shows something first, so that a compile error that came
    // too late would be seen in the output.
    const Case cases[] = {
        {"an undeclared name", "PascalScript",
         "var x: Integer;\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  x := y + 1\n"
         "end.\n",
         "", "ERROR at 4:8: Undeclared identifier: 'y'"},
        {"C++Script also wants declarations", "C++Script",
         "{\n"
         "  ShowMessage(\"run\");\n"
         "  b = 1;\n"
         "}\n",
         "", "ERROR at 3:3: Undeclared identifier: 'b'"},
        {"a variable declared twice", "PascalScript",
         "var x: Integer;\n"
         "  x: String;\n"
         "begin\n"
         "  ShowMessage('run')\n"
         "end.\n",
         "", "ERROR at 2:3: Identifier redeclared: 'x'"},
        {"a function declared twice", "JScript",
         "ShowMessage(\"run\");\n"
         "function f() { }\n"
         "function f() { }\n",
         "", "ERROR at 3:10: Identifier redeclared: 'f'"},
        {"a real stored in an Integer", "PascalScript",
         "var i: Integer;\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  i := 7 / 2\n"
         "end.\n",
         "", "ERROR at 4:3: Incompatible types: 'Integer', 'Extended'"},
        {"a number stored in a string", "C++Script",
         "{\n"
         "  string s;\n"
         "  ShowMessage(\"run\");\n"
         "  s = 5;\n"
         "}\n",
         "", "ERROR at 4:3: Incompatible types: 'String', 'Integer'"},
        {"a real passed for an Integer parameter", "PascalScript",
         "var s: String;\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  s := IntToStr(2.5)\n"
         "end.\n",
         "", "ERROR at 4:8: Incompatible types: 'Integer', 'Extended'"},
        {"an argument missing", "PascalScript",
         "function Add(a, b: Integer): Integer;\n"
         "begin\n"
         "  Result := a + b\n"
         "end;\n"
         "\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  ShowMessage(Add(1))\n"
         "end.\n",
         "", "ERROR at 8:15: Not enough actual parameters"},
        {"an argument too many for a library procedure", "PascalScript",
         "begin\n"
         "  ShowMessage('run');\n"
         "  ShowMessage('a', 'b')\n"
         "end.\n",
         "", "ERROR at 3:3: Too many actual parameters"},
        {"an argument too many for a script function", "JScript",
         "function f(a) {\n"
         "  return a;\n"
         "}\n"
         "ShowMessage(\"run\");\n"
         "f(1, 2);\n",
         "", "ERROR at 5:1: Too many actual parameters"},
        {"a constant assigned", "PascalScript",
         "const Limit = 10;\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  Limit := 5\n"
         "end.\n",
         "", "ERROR at 4:3: Left side cannot be assigned to"},
        {"a constant incremented", "C++Script",
         "#define N 1\n"
         "{\n"
         "  ShowMessage(\"run\");\n"
         "  N++;\n"
         "}\n",
         "", "ERROR at 4:3: Left side cannot be assigned to"},
        // The loop variable is what is wrong, so the error points at it.
        {"a string as for variable", "PascalScript",
         "var s: String;\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  for s := 1 to 3 do\n"
         "end.\n",
         "", "ERROR at 4:7: For loop variable must be numeric variable"},
        {"a string as For variable", "BasicScript",
         "Dim s As String\n"
         "ShowMessage(\"run\")\n"
         "For s = 1 To 3\n"
         "Next\n",
         "", "ERROR at 3:5: For loop variable must be numeric variable"},
        {"a type nobody declared", "PascalScript",
         "var x: Foo;\n"
         "begin\n"
         "  ShowMessage('run')\n"
         "end.\n",
         "", "ERROR at 1:8: Unknown type: 'Foo'"},
        // Operand types are checked per operator; the position is the operator's.
        {"a text multiplied", "PascalScript",
         "var x: Variant;\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  x := 'a' * 2\n"
         "end.\n",
         "", "ERROR at 4:12: Incompatible types"},
        {"a Boolean added to a number", "PascalScript",
         "var x: Variant;\n"
         "begin\n"
         "  ShowMessage('run');\n"
         "  x := True + 1\n"
         "end.\n",
         "", "ERROR at 4:13: Incompatible types"},
        // && binds like *, so this is a == (1 && b) == 2: a Boolean compared
        // with a number.
        // Worked out while compiling: the script's own code may not run then.
        {"a constant that calls a function", "PascalScript",
         "function F: Integer;\n"
         "begin\n"
         "  while True do ;\n"
         "end;\n"
         "const C = F;\n"
         "begin\n"
         "  ShowMessage(C)\n"
         "end.\n",
         "", "ERROR at 5:11: Constant expression expected"},
        {"comparisons joined by && without brackets", "C++Script",
         "{\n"
         "  int a = 1, b = 2;\n"
         "  ShowMessage(\"run\");\n"
         "  if (a == 1 && b == 2) ShowMessage(\"yes\");\n"
         "}\n",
         "", "ERROR at 4:19: Incompatible types"},
    };
    expectErrors(cases);
}

TEST(ScriptRunErrors, RunErrorsPointAtTheInnermostStatement)
{
    const Case cases[] = {
        {"an integer division by zero", "PascalScript",
         "var a, b: Integer;\n"
         "begin\n"
         "  a := 1;\n"
         "  ShowMessage('before');\n"
         "  b := a div (a - 1);\n"
         "  ShowMessage('after')\n"
         "end.\n",
         "before\n", "ERROR at 5:3: Division by zero"},
        {"a remainder by zero", "C++Script",
         "{\n"
         "  int r, z = 0;\n"
         "  r = 5 % z;\n"
         "}\n",
         "", "ERROR at 3:3: Division by zero"},
        {"a real divided by zero", "PascalScript",
         "var e, z: Extended;\n"
         "begin\n"
         "  e := 1.5 / z\n"
         "end.\n",
         "", "ERROR at 3:3: Floating point division by zero"},
        // / divides integers as reals too.
        {"an integer divided by zero with /", "JScript",
         "var z = 0;\n"
         "x = 1 / z;\n",
         "", "ERROR at 2:1: Floating point division by zero"},
        {"zero divided by zero", "BasicScript",
         "Dim z = 0\n"
         "x = z / z\n",
         "", "ERROR at 2:1: Invalid floating point operation"},
        {"a text that is no number in an addition", "PascalScript",
         "var v: Variant;\n"
         "begin\n"
         "  v := 'abc';\n"
         "  v := v + 1\n"
         "end.\n",
         "", "ERROR at 4:3: Could not convert variant of type (UnicodeString) into type (Double)"},
        {"an exception nobody catches", "C++Script",
         "{\n"
         "  ShowMessage(\"a\");\n"
         "  RaiseException(\"boom\");\n"
         "  ShowMessage(\"b\");\n"
         "}\n",
         "a\n", "ERROR at 3:3: boom"},
        {"a Null condition", "PascalScript",
         "var v: Variant;\n"
         "begin\n"
         "  v := Null;\n"
         "  if v then ShowMessage('yes')\n"
         "end.\n",
         "", "ERROR at 4:3: Could not convert variant of type (Null) into type (Boolean)"},
        {"Null stored in an Integer", "PascalScript",
         "var v: Variant; i: Integer;\n"
         "begin\n"
         "  v := Null;\n"
         "  i := v\n"
         "end.\n",
         "", "ERROR at 4:3: Could not convert variant of type (Null) into type (Integer)"},
        {"endless recursion of a procedure", "PascalScript",
         "procedure Deep;\n"
         "begin\n"
         "  Deep\n"
         "end;\n"
         "\n"
         "begin\n"
         "  Deep\n"
         "end.\n",
         "", "ERROR at 3:3: Stack overflow"},
        {"endless recursion of a function", "JScript",
         "function f(n) {\n"
         "  return f(n + 1);\n"
         "}\n"
         "f(0);\n",
         "", "ERROR at 2:3: Stack overflow"},
        // The statement inside the procedure, not the call in the main block.
        {"an error inside a procedure", "PascalScript",
         "var n: Integer;\n"
         "\n"
         "procedure Fail(d: Integer);\n"
         "begin\n"
         "  ShowMessage('in');\n"
         "  n := 10 div d\n"
         "end;\n"
         "\n"
         "begin\n"
         "  Fail(0)\n"
         "end.\n",
         "in\n", "ERROR at 6:3: Division by zero"},
        {"an error two calls deep", "BasicScript",
         "Sub Inner(x)\n"
         "  RaiseException(\"deep \" & x)\n"
         "End Sub\n"
         "\n"
         "Sub Outer\n"
         "  Inner(1)\n"
         "End Sub\n"
         "\n"
         "Outer\n",
         "", "ERROR at 2:3: deep 1"},
    };
    expectErrors(cases);
}
