#include "scriptrun.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

// Small programs in each language and what they print: every statement kind
// and operator, in each grammar's own spelling.

namespace {

struct Case
{
    const char *What;
    const char *Language;
    const char *Source;
    const char *Output; // the ShowMessage lines
};

template <std::size_t N>
void expectOutputs(const Case (&cases)[N])
{
    for (const Case &c : cases) {
        const ScriptOutcome r = runScript(QString::fromLatin1(c.Language), QString::fromUtf8(c.Source));
        EXPECT_EQ(r.Error.toStdString(), "") << c.Language << ": " << c.What;
        EXPECT_EQ(r.Output.toStdString(), c.Output) << c.Language << ": " << c.What;
    }
}

struct Shown
{
    const char *Language;
    const char *Expression;
    const char *Text; // what ShowMessage shows for it
};

// A program of Language that shows the value of Expression.
QString showing(const QString &language, const QString &expression)
{
    if (language == QLatin1String("PascalScript"))
        return QStringLiteral("begin\n  ShowMessage(%1)\nend.\n").arg(expression);
    if (language == QLatin1String("C++Script"))
        return QStringLiteral("{\n  ShowMessage(%1);\n}\n").arg(expression);
    if (language == QLatin1String("BasicScript"))
        return QStringLiteral("ShowMessage(%1)\n").arg(expression);
    return QStringLiteral("ShowMessage(%1);\n").arg(expression);
}

} // namespace

TEST(ScriptPrograms, AssignmentsStoreAndCombineValues)
{
    const Case cases[] = {
        // x := x + 3 and x := 2 * x may run as compound forms; 10 - x and
        // 'a' + s must keep their operand order.
        {"plain, self-referencing, Inc and Dec", "PascalScript",
         "var x: Integer; e: Extended; s: String;\n"
         "begin\n"
         "  x := 5;\n"
         "  x := x + 3;\n"
         "  x := 2 * x;\n"
         "  x := x - 10;\n"
         "  Inc(x); Inc(x, 4); Dec(x, 2);\n"
         "  ShowMessage(x);\n"
         "  x := 10 - x;\n"
         "  ShowMessage(x);\n"
         "  e := x / 4;\n"
         "  ShowMessage(e);\n"
         "  s := 'b'; s := s + 'c'; s := 'a' + s;\n"
         "  ShowMessage(s)\n"
         "end.\n",
         "9\n1\n0.25\nabc\n"},
        // An int keeps the rounded quotient of /=; 7 / 2 is a real division.
        {"compound forms, ++ and --", "C++Script",
         "{\n"
         "  int x = 5;\n"
         "  x += 3;\n"
         "  x *= 2;\n"
         "  x -= 10;\n"
         "  x++;\n"
         "  x++;\n"
         "  x--;\n"
         "  ShowMessage(x);\n"
         "  x = 14;\n"
         "  x /= 4;\n"
         "  ShowMessage(x);\n"
         "  float f = 7 / 2;\n"
         "  ShowMessage(f);\n"
         "  string s = \"b\";\n"
         "  s += \"c\";\n"
         "  s = \"a\" + s;\n"
         "  ShowMessage(s);\n"
         "}\n",
         "7\n4\n3.5\nabc\n"},
        {"compound forms, ++, -- and an undeclared name", "BasicScript",
         "Dim x As Integer = 5\n"
         "x += 3\n"
         "x *= 2\n"
         "x -= 10\n"
         "x++\n"
         "x++\n"
         "x--\n"
         "ShowMessage(x)\n"
         "Dim y = 10\n"
         "y /= 4\n"
         "ShowMessage(y)\n"
         "z = y * 2\n"
         "ShowMessage(z)\n"
         "Dim s As String = \"b\"\n"
         "s += \"c\"\n"
         "s = \"a\" & s\n"
         "ShowMessage(s)\n",
         "7\n2.5\n5\nabc\n"},
        {"compound forms, ++, -- and undeclared names", "JScript",
         "var x = 5;\n"
         "x += 3;\n"
         "x *= 2;\n"
         "x -= 10;\n"
         "x++;\n"
         "x++;\n"
         "x--;\n"
         "ShowMessage(x);\n"
         "x /= 2;\n"
         "ShowMessage(x);\n"
         "y = x * 2;\n"
         "ShowMessage(y);\n"
         "s = \"b\";\n"
         "s += \"c\";\n"
         "s = \"a\" + s;\n"
         "ShowMessage(s);\n",
         "7\n3.5\n7\nabc\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, CallsPassValuesReferencesAndDefaults)
{
    // Swap's local t hides the global one; Bump changes only its copy; Sum
    // needs its own "here" back after the inner call returns.
    const Case cases[] = {
        {"var parameters, a default, recursion", "PascalScript",
         "var a, b, t: Integer;\n"
         "\n"
         "procedure Swap(var x, y: Integer);\n"
         "var t: Integer;\n"
         "begin\n"
         "  t := x; x := y; y := t\n"
         "end;\n"
         "\n"
         "procedure Bump(x: Integer);\n"
         "begin\n"
         "  x := x + 100\n"
         "end;\n"
         "\n"
         "function Add(x: Integer; y: Integer = 10): Integer;\n"
         "begin\n"
         "  Result := x + y\n"
         "end;\n"
         "\n"
         "function Sum(k: Integer): Integer;\n"
         "var here: Integer;\n"
         "begin\n"
         "  here := k;\n"
         "  if k > 0 then Result := Sum(k - 1) + here else Result := 0\n"
         "end;\n"
         "\n"
         "begin\n"
         "  a := 1; b := 2; t := 7;\n"
         "  Swap(a, b);\n"
         "  Bump(a);\n"
         "  ShowMessage(IntToStr(a) + IntToStr(b) + IntToStr(t));\n"
         "  ShowMessage(Add(1) + Add(1, 2));\n"
         "  ShowMessage(Sum(4))\n"
         "end.\n",
         "217\n14\n10\n"},
        {"& parameters, a default, recursion", "C++Script",
         "int a = 1, b = 2, t = 7;\n"
         "\n"
         "void swap(int &x, int &y)\n"
         "{\n"
         "  int t = x;\n"
         "  x = y;\n"
         "  y = t;\n"
         "}\n"
         "\n"
         "void bump(int x)\n"
         "{\n"
         "  x = x + 100;\n"
         "}\n"
         "\n"
         "int add(int x, int y = 10)\n"
         "{\n"
         "  return x + y;\n"
         "}\n"
         "\n"
         "int sum(int k)\n"
         "{\n"
         "  int here = k;\n"
         "  if (k > 0) return sum(k - 1) + here;\n"
         "  return 0;\n"
         "}\n"
         "\n"
         "{\n"
         "  swap(a, b);\n"
         "  bump(a);\n"
         "  ShowMessage(IntToStr(a) + IntToStr(b) + IntToStr(t));\n"
         "  ShowMessage(add(1) + add(1, 2));\n"
         "  ShowMessage(sum(4));\n"
         "}\n",
         "217\n14\n10\n"},
        {"ByRef parameters, a default, recursion", "BasicScript",
         "Dim a = 1, b = 2, t = 7\n"
         "\n"
         "Sub Swap(ByRef x, ByRef y)\n"
         "  Dim t = x\n"
         "  x = y\n"
         "  y = t\n"
         "End Sub\n"
         "\n"
         "Sub Bump(x)\n"
         "  x = x + 100\n"
         "End Sub\n"
         "\n"
         "Function Add(x, y = 10)\n"
         "  Return x + y\n"
         "End Function\n"
         "\n"
         "Function Sum(k As Integer) As Integer\n"
         "  Dim here As Integer = k\n"
         "  If k > 0 Then Return Sum(k - 1) + here\n"
         "  Return 0\n"
         "End Function\n"
         "\n"
         "Swap(a, b)\n"
         "Bump(a)\n"
         "ShowMessage(IntToStr(a) & IntToStr(b) & IntToStr(t))\n"
         "ShowMessage(Add(1) + Add(1, 2))\n"
         "ShowMessage(Sum(4))\n",
         "217\n14\n10\n"},
        {"& parameters, recursion", "JScript",
         "var a = 1, b = 2, t = 7;\n"
         "\n"
         "function swap(&x, &y) {\n"
         "  var t = x;\n"
         "  x = y;\n"
         "  y = t;\n"
         "}\n"
         "\n"
         "function bump(x) {\n"
         "  x = x + 100;\n"
         "}\n"
         "\n"
         "function sum(k) {\n"
         "  var here = k;\n"
         "  if (k > 0) return sum(k - 1) + here;\n"
         "  return 0;\n"
         "}\n"
         "\n"
         "swap(a, b);\n"
         "bump(a);\n"
         "ShowMessage(IntToStr(a) + IntToStr(b) + IntToStr(t));\n"
         "ShowMessage(sum(4));\n",
         "217\n10\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, BranchesTakeOneWay)
{
    // A case branch never falls through into the next one.
    const Case cases[] = {
        {"case with lists, ranges and else; if chains", "PascalScript",
         "var i: Integer; s: String;\n"
         "begin\n"
         "  s := '';\n"
         "  for i := 0 to 7 do\n"
         "    case i of\n"
         "      1, 2: s := s + 'a';\n"
         "      4..5, 7: s := s + 'b';\n"
         "    else\n"
         "      s := s + '-'\n"
         "    end;\n"
         "  ShowMessage(s);\n"
         "  for i := 1 to 3 do\n"
         "    if i = 1 then ShowMessage('one')\n"
         "    else if i = 2 then ShowMessage('two')\n"
         "    else ShowMessage('many');\n"
         "  if i = 0 then ShowMessage('never');\n"
         "  case i of\n"
         "    3: ;\n"
         "  else\n"
         "    ShowMessage('a branch without a statement is dropped')\n"
         "  end\n"
         "end.\n",
         "-aa-bb-b\none\ntwo\nmany\na branch without a statement is dropped\n"},
        {"switch with lists, ranges and default; if chains", "C++Script",
         "{\n"
         "  int i;\n"
         "  string s = \"\";\n"
         "  for (i = 0; i <= 7; i++)\n"
         "    switch (i) {\n"
         "      case 1, 2: s += \"a\";\n"
         "      case 4..5, 7: s += \"b\";\n"
         "      default: s += \"-\";\n"
         "    }\n"
         "  ShowMessage(s);\n"
         "  for (i = 1; i <= 3; i++)\n"
         "    if (i == 1) ShowMessage(\"one\");\n"
         "    else if (i == 2) ShowMessage(\"two\");\n"
         "    else ShowMessage(\"many\");\n"
         "  if (i == 0) ShowMessage(\"never\");\n"
         "}\n",
         "-aa-bb-b\none\ntwo\nmany\n"},
        // A one-line If takes every statement after Then, up to the line end.
        {"Select Case, ElseIf chains, one-line If", "BasicScript",
         "Dim i, s = \"\"\n"
         "For i = 0 To 7\n"
         "  Select Case i\n"
         "  Case 1, 2: s = s & \"a\"\n"
         "  Case 4..5, 7: s = s & \"b\"\n"
         "  Case Else: s = s & \"-\"\n"
         "  End Select\n"
         "Next\n"
         "ShowMessage(s)\n"
         "For i = 1 To 4\n"
         "  If i = 1 Then\n"
         "    ShowMessage(\"one\")\n"
         "  ElseIf i = 2 Then\n"
         "    ShowMessage(\"two\")\n"
         "  ElseIf i = 3 Then\n"
         "    ShowMessage(\"three\")\n"
         "  Else\n"
         "    ShowMessage(\"many\")\n"
         "  End If\n"
         "Next\n"
         "If i = 0 Then ShowMessage(\"x\") : ShowMessage(\"y\")\n"
         "If i = 4 Then ShowMessage(\"four\")\n",
         "-aa-bb-b\none\ntwo\nthree\nmany\nfour\n"},
        {"switch on numbers and texts; if chains", "JScript",
         "var s = \"\";\n"
         "for (var i = 0; i <= 7; i++)\n"
         "  switch (i) {\n"
         "    case 1, 2: s += \"a\";\n"
         "    case 4..5, 7: s += \"b\";\n"
         "    default: s += \"-\";\n"
         "  }\n"
         "ShowMessage(s);\n"
         "switch (\"pear\") {\n"
         "  case \"apple\": ShowMessage(\"red\");\n"
         "  case \"pear\", \"plum\": ShowMessage(\"green\");\n"
         "}\n"
         "for (i = 1; i <= 3; i++)\n"
         "  if (i == 1) ShowMessage(\"one\"); else if (i == 2) ShowMessage(\"two\"); else ShowMessage(\"many\");\n",
         "-aa-bb-b\ngreen\none\ntwo\nmany\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, LoopsRunTheirCount)
{
    const Case cases[] = {
        // The count of a for loop is fixed before it starts; the variable
        // keeps the last value stored, and an empty range leaves it alone.
        {"for to and downto, while, repeat", "PascalScript",
         "var i, n: Integer; s: String;\n"
         "begin\n"
         "  s := '';\n"
         "  for i := 1 to 3 do s := s + IntToStr(i);\n"
         "  s := s + '/' + IntToStr(i) + '/';\n"
         "  for i := 3 downto 1 do s := s + IntToStr(i);\n"
         "  ShowMessage(s);\n"
         "  i := 7;\n"
         "  for i := 5 to 1 do ShowMessage('never');\n"
         "  ShowMessage(i);\n"
         "  n := 0;\n"
         "  for i := 1 to 3 do\n"
         "  begin\n"
         "    i := i + 10;\n"
         "    n := n + 1\n"
         "  end;\n"
         "  ShowMessage(n);\n"
         "  while n < 10 do n := n + 4;\n"
         "  ShowMessage(n);\n"
         "  repeat n := n - 5 until n < 100;\n"
         "  ShowMessage(n)\n"
         "end.\n",
         "123/3/321\n7\n3\n11\n6\n"},
        {"three-part for with lists, while, do-while", "C++Script",
         "{\n"
         "  int i, n = 0;\n"
         "  string s = \"\";\n"
         "  for (i = 0; i < 3; i++) s += IntToStr(i);\n"
         "  ShowMessage(s + \"/\" + IntToStr(i));\n"
         "  for (i = 10, n = 0; i > 0; i -= 4) n++;\n"
         "  ShowMessage(IntToStr(n) + \"/\" + IntToStr(i));\n"
         "  while (n < 10) n += 4;\n"
         "  ShowMessage(n);\n"
         "  do n -= 5; while (n > 100);\n"
         "  ShowMessage(n);\n"
         "}\n",
         "012/3\n3/-2\n11\n6\n"},
        // The variable of For keeps the last value visited, not the one past it.
        {"For with negative and fractional Steps, While, Do Loop Until and Loop While", "BasicScript",
         "Dim i, s = \"\"\n"
         "For i = 10 To 1 Step -3\n"
         "  s = s & \",\" & i\n"
         "Next\n"
         "ShowMessage(s & \"/\" & i)\n"
         "s = \"\"\n"
         "For i = 1 To 3\n"
         "  s = s & i\n"
         "Next\n"
         "ShowMessage(s & \"/\" & i)\n"
         "Dim n = 0\n"
         "While n < 5\n"
         "  n += 2\n"
         "Wend\n"
         "ShowMessage(n)\n"
         "Do\n"
         "  n -= 4\n"
         "Loop Until n < 0\n"
         "ShowMessage(n)\n"
         "Do\n"
         "  n += 1\n"
         "Loop While n < 3\n"
         "ShowMessage(n)\n"
         "s = \"\"\n"
         "For i = 0 To 1 Step 0.5\n"
         "  s = s & i & \";\"\n"
         "Next\n"
         "ShowMessage(s)\n",
         ",10,7,4,1/1\n123/3\n6\n-2\n3\n0;0.5;1;\n"},
        {"three-part for, while, do-while", "JScript",
         "var s = \"\";\n"
         "for (var i = 0; i < 3; i++) s += IntToStr(i);\n"
         "ShowMessage(s + \"/\" + IntToStr(i));\n"
         "var n = 0;\n"
         "while (n < 5) n += 2;\n"
         "ShowMessage(n);\n"
         "do n -= 4; while (n > 0);\n"
         "ShowMessage(n);\n",
         "012/3\n6\n-2\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, JumpsLeaveLoopsAndRoutines)
{
    // A break inside a case branch leaves the loop around the case.
    const Case cases[] = {
        {"break, continue, exit", "PascalScript",
         "var i: Integer; s: String;\n"
         "\n"
         "procedure Early;\n"
         "begin\n"
         "  ShowMessage('in');\n"
         "  exit;\n"
         "  ShowMessage('not shown')\n"
         "end;\n"
         "\n"
         "function Find(k: Integer): Integer;\n"
         "var i: Integer;\n"
         "begin\n"
         "  Result := -1;\n"
         "  for i := 1 to 10 do\n"
         "    if i * i >= k then begin Result := i; exit end\n"
         "end;\n"
         "\n"
         "begin\n"
         "  s := '';\n"
         "  for i := 1 to 10 do\n"
         "  begin\n"
         "    if i mod 2 = 0 then continue;\n"
         "    if i > 7 then break;\n"
         "    s := s + IntToStr(i)\n"
         "  end;\n"
         "  ShowMessage(s);\n"
         "  Early;\n"
         "  ShowMessage(Find(20));\n"
         "  i := 0;\n"
         "  while True do\n"
         "  begin\n"
         "    i := i + 1;\n"
         "    case i of\n"
         "      3: break\n"
         "    end\n"
         "  end;\n"
         "  ShowMessage(i);\n"
         "  exit;\n"
         "  ShowMessage('after exit')\n"
         "end.\n",
         "1357\nin\n5\n3\n"},
        {"break, continue, return, exit", "C++Script",
         "void early()\n"
         "{\n"
         "  ShowMessage(\"in\");\n"
         "  return;\n"
         "  ShowMessage(\"not shown\");\n"
         "}\n"
         "\n"
         "int find(int k)\n"
         "{\n"
         "  for (int i = 1; i <= 10; i++)\n"
         "    if (i * i >= k) return i;\n"
         "  return -1;\n"
         "}\n"
         "\n"
         "{\n"
         "  string s = \"\";\n"
         "  for (int i = 1; i <= 10; i++) {\n"
         "    if (i % 2 == 0) continue;\n"
         "    if (i > 7) break;\n"
         "    s += IntToStr(i);\n"
         "  }\n"
         "  ShowMessage(s);\n"
         "  early();\n"
         "  ShowMessage(find(20));\n"
         "  int n = 0;\n"
         "  while (true) {\n"
         "    n++;\n"
         "    switch (n) { case 3: break; }\n"
         "  }\n"
         "  ShowMessage(n);\n"
         "  exit;\n"
         "  ShowMessage(\"after exit\");\n"
         "}\n",
         "1357\nin\n5\n3\n"},
        {"Break, Continue, Return, Exit", "BasicScript",
         "Sub Early\n"
         "  ShowMessage(\"in\")\n"
         "  Exit\n"
         "  ShowMessage(\"not shown\")\n"
         "End Sub\n"
         "\n"
         "Function Find(k)\n"
         "  Dim i\n"
         "  For i = 1 To 10\n"
         "    If i * i >= k Then Return i\n"
         "  Next\n"
         "  Return -1\n"
         "End Function\n"
         "\n"
         "Dim s = \"\", i\n"
         "For i = 1 To 10\n"
         "  If i Mod 2 = 0 Then Continue\n"
         "  If i > 7 Then Break\n"
         "  s = s & i\n"
         "Next\n"
         "ShowMessage(s)\n"
         "Early\n"
         "ShowMessage(Find(20))\n"
         "Dim n = 0\n"
         "Do\n"
         "  n += 1\n"
         "  Select Case n\n"
         "  Case 3: Break\n"
         "  End Select\n"
         "Loop Until False\n"
         "ShowMessage(n)\n"
         "Exit\n"
         "ShowMessage(\"after exit\")\n",
         "1357\nin\n5\n3\n"},
        {"break, continue, return", "JScript",
         "function early() {\n"
         "  ShowMessage(\"in\");\n"
         "  return;\n"
         "  ShowMessage(\"not shown\");\n"
         "}\n"
         "\n"
         "function find(k) {\n"
         "  for (var i = 1; i <= 10; i++)\n"
         "    if (i * i >= k) return i;\n"
         "  return -1;\n"
         "}\n"
         "\n"
         "var s = \"\";\n"
         "for (var i = 1; i <= 10; i++) {\n"
         "  if (i % 2 == 0) continue;\n"
         "  if (i > 7) break;\n"
         "  s += IntToStr(i);\n"
         "}\n"
         "ShowMessage(s);\n"
         "early();\n"
         "ShowMessage(find(20));\n"
         "var n = 0;\n"
         "do {\n"
         "  n++;\n"
         "  switch (n) { case 3: break; }\n"
         "} while (true);\n"
         "ShowMessage(n);\n"
         "return;\n"
         "ShowMessage(\"after exit\");\n",
         "1357\nin\n5\n3\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, TryCatchesErrorsAndFinallyAlwaysRuns)
{
    // Leaving a routine from inside try/finally still runs the finally part;
    // an error passes through finally to the except part around it.
    const Case cases[] = {
        {"try/except, try/finally", "PascalScript",
         "procedure Guarded;\n"
         "begin\n"
         "  try\n"
         "    ShowMessage('body');\n"
         "    exit;\n"
         "    ShowMessage('not shown')\n"
         "  finally\n"
         "    ShowMessage('finally')\n"
         "  end;\n"
         "  ShowMessage('not shown either')\n"
         "end;\n"
         "\n"
         "begin\n"
         "  try\n"
         "    RaiseException('bad thing');\n"
         "    ShowMessage('skipped')\n"
         "  except\n"
         "    ShowMessage('caught: ' + ExceptionMessage)\n"
         "  end;\n"
         "  Guarded;\n"
         "  try\n"
         "    try\n"
         "      RaiseException('inner')\n"
         "    finally\n"
         "      ShowMessage('cleanup')\n"
         "    end\n"
         "  except\n"
         "    ShowMessage(ExceptionMessage)\n"
         "  end;\n"
         "  ShowMessage('end')\n"
         "end.\n",
         "caught: bad thing\nbody\nfinally\ncleanup\ninner\nend\n"},
        {"a run-time error caught; try/finally", "C++Script",
         "void guarded()\n"
         "{\n"
         "  try {\n"
         "    ShowMessage(\"body\");\n"
         "    return;\n"
         "  } finally {\n"
         "    ShowMessage(\"finally\");\n"
         "  }\n"
         "  ShowMessage(\"not shown\");\n"
         "}\n"
         "\n"
         "{\n"
         "  int zero = 0;\n"
         "  try {\n"
         "    ShowMessage(1 div zero);\n"
         "  } except {\n"
         "    ShowMessage(\"caught: \" + ExceptionMessage);\n"
         "  }\n"
         "  guarded();\n"
         "  try {\n"
         "    try {\n"
         "      RaiseException(\"inner\");\n"
         "    } finally {\n"
         "      ShowMessage(\"cleanup\");\n"
         "    }\n"
         "  } except {\n"
         "    ShowMessage(ExceptionMessage);\n"
         "  }\n"
         "}\n",
         "caught: Division by zero\nbody\nfinally\ncleanup\ninner\n"},
        {"Try/Catch, Try/Finally", "BasicScript",
         "Sub Guarded\n"
         "  Try\n"
         "    ShowMessage(\"body\")\n"
         "    Exit\n"
         "  Finally\n"
         "    ShowMessage(\"finally\")\n"
         "  End Try\n"
         "  ShowMessage(\"not shown\")\n"
         "End Sub\n"
         "\n"
         "Try\n"
         "  RaiseException(\"bad thing\")\n"
         "  ShowMessage(\"skipped\")\n"
         "Catch\n"
         "  ShowMessage(\"caught: \" & ExceptionMessage)\n"
         "End Try\n"
         "Guarded\n"
         "Try\n"
         "  Try\n"
         "    RaiseException(\"inner\")\n"
         "  Finally\n"
         "    ShowMessage(\"cleanup\")\n"
         "  End Try\n"
         "Catch\n"
         "  ShowMessage(ExceptionMessage)\n"
         "End Try\n",
         "caught: bad thing\nbody\nfinally\ncleanup\ninner\n"},
        {"try/except and try/finally, with and without blocks", "JScript",
         "function guarded() {\n"
         "  try {\n"
         "    ShowMessage(\"body\");\n"
         "    return;\n"
         "  } finally ShowMessage(\"finally\");\n"
         "  ShowMessage(\"not shown\");\n"
         "}\n"
         "\n"
         "try {\n"
         "  RaiseException(\"bad thing\");\n"
         "  ShowMessage(\"skipped\");\n"
         "} except ShowMessage(\"caught: \" + ExceptionMessage);\n"
         "guarded();\n"
         "try\n"
         "  try RaiseException(\"inner\"); finally ShowMessage(\"cleanup\");\n"
         "except\n"
         "  ShowMessage(ExceptionMessage);\n",
         "caught: bad thing\nbody\nfinally\ncleanup\ninner\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, ConstantsArraysAndStringIndexes)
{
    // Array bounds may be constants; a single bound n means 0..n-1. String
    // indexes start at 1, also for writing.
    const Case cases[] = {
        {"constants, arrays with bounds, s[i]", "PascalScript",
         "const\n"
         "  N = 3;\n"
         "  Title = 'grid';\n"
         "var\n"
         "  a: array[1..N] of Integer;\n"
         "  g: array[0..1, 1..2] of Integer;\n"
         "  s: String;\n"
         "  i, j: Integer;\n"
         "begin\n"
         "  for i := 1 to N do a[i] := i * 10;\n"
         "  for i := 0 to 1 do\n"
         "    for j := 1 to 2 do\n"
         "      g[i, j] := i * 10 + j;\n"
         "  ShowMessage(a[1] + a[N]);\n"
         "  ShowMessage(g[1, 2] - g[0, 1]);\n"
         "  s := Title;\n"
         "  s[1] := 'G';\n"
         "  ShowMessage(s + s[4] + IntToStr(Length(s)))\n"
         "end.\n",
         "40\n11\nGridd4\n"},
        {"#define, arrays of one and two dimensions, s[i]", "C++Script",
         "#define N 3\n"
         "#define TITLE \"grid\"\n"
         "\n"
         "int a[N], g[2][3];\n"
         "string s;\n"
         "\n"
         "{\n"
         "  int i, j;\n"
         "  for (i = 0; i < N; i++) a[i] = (i + 1) * 10;\n"
         "  for (i = 0; i < 2; i++)\n"
         "    for (j = 0; j < 3; j++)\n"
         "      g[i][j] = i * 10 + j;\n"
         "  ShowMessage(a[0] + a[N - 1]);\n"
         "  ShowMessage(g[1][2] - g[0, 1]);\n"
         "  s = TITLE;\n"
         "  s[1] = \"G\";\n"
         "  ShowMessage(s + s[4] + IntToStr(Length(s)));\n"
         "}\n",
         "40\n11\nGridd4\n"},
        {"arrays of one and two dimensions, s[i]", "BasicScript",
         "Dim a[3], g[2, 3], s As String, i, j\n"
         "For i = 0 To 2\n"
         "  a[i] = (i + 1) * 10\n"
         "Next\n"
         "For i = 0 To 1\n"
         "  For j = 0 To 2\n"
         "    g[i, j] = i * 10 + j\n"
         "  Next\n"
         "Next\n"
         "ShowMessage(a[0] + a[2])\n"
         "ShowMessage(g[1, 2] - g[0, 1])\n"
         "s = \"grid\"\n"
         "s[1] = \"G\"\n"
         "ShowMessage(s & s[4] & IntToStr(Length(s)))\n",
         "40\n11\nGridd4\n"},
        // s holds a text only at run time, so s[i] is resolved then.
        {"arrays of one and two dimensions, s[i] on a Variant", "JScript",
         "var a[3], g[2, 3], s = \"grid\";\n"
         "for (var i = 0; i < 3; i++) a[i] = (i + 1) * 10;\n"
         "for (i = 0; i < 2; i++)\n"
         "  for (var j = 0; j < 3; j++)\n"
         "    g[i, j] = i * 10 + j;\n"
         "ShowMessage(a[0] + a[2]);\n"
         "ShowMessage(g[1, 2] - g[0, 1]);\n"
         "s[1] = \"G\";\n"
         "ShowMessage(s + s[4] + IntToStr(Length(s)));\n",
         "40\n11\nGridd4\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, OperatorsFollowOnePrecedenceInEveryLanguage)
{
    // and binds like *, or and xor like +; on integers the logical operators
    // work bit by bit; / always divides as reals.
    const Shown cases[] = {
        {"PascalScript", "2 + 3 * 4", "14"},
        {"PascalScript", "10 - 4 - 3", "3"},
        {"PascalScript", "-2 * 3", "-6"},
        {"PascalScript", "7 / 2", "3.5"},
        {"PascalScript", "17 div 5", "3"},
        {"PascalScript", "17 mod 5", "2"},
        {"PascalScript", "1 shl 4", "16"},
        {"PascalScript", "256 shr 4", "16"},
        {"PascalScript", "12 and 10", "8"},
        {"PascalScript", "12 or 3", "15"},
        {"PascalScript", "12 xor 10", "6"},
        {"PascalScript", "not 0", "-1"},
        {"PascalScript", "not True = False", "True"},
        {"PascalScript", "(3 > 2) and (2 >= 2) and (1 < 2) and (1 <= 1) and (1 <> 2)", "True"},
        {"PascalScript", "('a' < 'b') xor ('B' < 'a')", "False"},
        {"PascalScript", "4 in [1, 3..5]", "True"},
        {"PascalScript", "2 in [1, 3..5]", "False"},
        {"PascalScript", "'ab' + 'cd'", "abcd"},
        {"C++Script", "2 + 3 * 4 - 1", "13"},
        {"C++Script", "7 / 2", "3.5"},
        {"C++Script", "17 % 5", "2"},
        {"C++Script", "1 << 4 >> 2", "4"},
        {"C++Script", "12 ^ 10", "6"},
        {"C++Script", "12 && 10", "8"},
        {"C++Script", "12 || 3", "15"},
        {"C++Script", "!(1 == 2)", "True"},
        {"C++Script", "(1 != 2) && (3 >= 3) || (1 == 0)", "True"},
        {"C++Script", "4 in [1, 3..5]", "True"},
        {"C++Script", "\"ab\" + \"cd\"", "abcd"},
        {"BasicScript", "7 / 2", "3.5"},
        {"BasicScript", "17 \\ 5", "3"},
        {"BasicScript", "17 Mod 5", "2"},
        {"BasicScript", "12 And 10", "8"},
        {"BasicScript", "12 Or 3", "15"},
        {"BasicScript", "12 Xor 10", "6"},
        {"BasicScript", "Not (1 = 2) And (2 <> 3)", "True"},
        {"BasicScript", "3 In [1, 3..5]", "True"},
        {"BasicScript", "\"ab\" & \"cd\"", "abcd"},
        // A text joined with a number: the number's text follows.
        {"BasicScript", "\"1\" & 2", "12"},
        {"BasicScript", "\"n = \" & 2.5 & \"!\"", "n = 2.5!"},
        {"BasicScript", "1 & 2", "3"},
        {"JScript", "7 / 2", "3.5"},
        {"JScript", "17 % 5", "2"},
        {"JScript", "1 << 4", "16"},
        {"JScript", "12 ^ 10", "6"},
        {"JScript", "!(1 == 2) && (1 != 2)", "True"},
        {"JScript", "6 in [1, 3..5]", "False"},
        {"JScript", "\"ab\" + \"cd\"", "abcd"},
    };
    for (const Shown &c : cases) {
        const QString language = QString::fromLatin1(c.Language);
        const ScriptOutcome r = runScript(language, showing(language, QString::fromUtf8(c.Expression)));
        EXPECT_EQ(r.Error.toStdString() + r.Output.toStdString(), std::string(c.Text) + "\n")
            << c.Language << ": " << c.Expression;
    }
}

TEST(ScriptPrograms, AndOrOnBooleansSkipTheRightSide)
{
    // Touch counts its calls; the right side is skipped only when both sides
    // are Boolean at compile time.
    const Case cases[] = {
        {"Boolean function on the right", "PascalScript",
         "var calls: Integer; b: Boolean;\n"
         "\n"
         "function Touch(v: Boolean): Boolean;\n"
         "begin\n"
         "  calls := calls + 1;\n"
         "  Result := v\n"
         "end;\n"
         "\n"
         "begin\n"
         "  b := False and Touch(True);\n"
         "  b := True or Touch(False);\n"
         "  ShowMessage(calls);\n"
         "  b := True and Touch(False);\n"
         "  ShowMessage(b);\n"
         "  ShowMessage(calls)\n"
         "end.\n",
         "0\nFalse\n1\n"},
        {"bool function on the right", "C++Script",
         "int calls = 0;\n"
         "\n"
         "bool touch(bool v)\n"
         "{\n"
         "  calls++;\n"
         "  return v;\n"
         "}\n"
         "\n"
         "{\n"
         "  bool b = false && touch(true);\n"
         "  b = true || touch(false);\n"
         "  ShowMessage(calls);\n"
         "  b = true && touch(false);\n"
         "  ShowMessage(b);\n"
         "  ShowMessage(calls);\n"
         "}\n",
         "0\nFalse\n1\n"},
        {"Boolean function on the right", "BasicScript",
         "Dim calls = 0\n"
         "\n"
         "Function Touch(v As Boolean) As Boolean\n"
         "  calls += 1\n"
         "  Return v\n"
         "End Function\n"
         "\n"
         "Dim b As Boolean = False And Touch(True)\n"
         "b = True Or Touch(False)\n"
         "ShowMessage(calls)\n"
         "b = True And Touch(False)\n"
         "ShowMessage(b)\n"
         "ShowMessage(calls)\n",
         "0\nFalse\n1\n"},
        // A JScript function returns a Variant, so both sides are evaluated.
        {"Variant function on the right", "JScript",
         "var calls = 0;\n"
         "\n"
         "function touch(v) {\n"
         "  calls++;\n"
         "  return v;\n"
         "}\n"
         "\n"
         "var b = false && touch(true);\n"
         "ShowMessage(b);\n"
         "ShowMessage(calls);\n",
         "False\n1\n"},
    };
    expectOutputs(cases);
}

TEST(ScriptPrograms, VariantsFollowTheVariantRules)
{
    const Case cases[] = {
        // Int64 multiplies exactly; a text meets a number as a real; True
        // counts as -1; Null is below everything and False and Null is False.
        {"arithmetic, comparison and Null on a Variant", "PascalScript",
         "var v: Variant; i: Integer; big: Int64;\n"
         "begin\n"
         "  big := 2147483647;\n"
         "  ShowMessage(big * big);\n"
         "  v := 7;\n"
         "  ShowMessage(v / 2);\n"
         "  ShowMessage(v div 2);\n"
         "  ShowMessage(-v mod 2);\n"
         "  v := 2147483647;\n"
         "  ShowMessage(v + 1);\n"
         "  v := '1';\n"
         "  ShowMessage(v + 2);\n"
         "  ShowMessage(v + '2');\n"
         "  v := '10';\n"
         "  ShowMessage((v = 10) and not (v < 9));\n"
         "  v := 'a';\n"
         "  ShowMessage(v < 'B');\n"
         "  v := True;\n"
         "  ShowMessage(v + 1);\n"
         "  ShowMessage(v = -1);\n"
         "  v := 7.5;\n"
         "  ShowMessage(v div 2);\n"
         "  v := 2.5;\n"
         "  i := v;\n"
         "  ShowMessage(i);\n"
         "  v := Null;\n"
         "  ShowMessage(VarToStr(v + 1) + '|');\n"
         "  ShowMessage((v = Null) and (v < 0) and not (v = 0));\n"
         "  ShowMessage(v and False)\n"
         "end.\n",
         "4611686014132420609\n3.5\n3\n-1\n2147483648\n3\n12\nTrue\nFalse\n0\nTrue\n4\n2\n|\nTrue\nFalse\n"},
        // & joins texts only when its left side holds a text.
        {"& and + on Variants", "BasicScript",
         "Dim t = \"1\", n = 1\n"
         "ShowMessage(t & 2)\n"
         "ShowMessage(n & 2)\n"
         "ShowMessage(t + 2)\n"
         "ShowMessage(t + \"2\")\n"
         "ShowMessage(7 \\ 2)\n"
         "ShowMessage(-7 Mod 2)\n"
         "ShowMessage(2147483647 + 1)\n",
         "12\n3\n3\n12\n3\n-1\n2147483648\n"},
        {"undeclared names are Variants", "JScript",
         "v = 7;\n"
         "ShowMessage(v / 2);\n"
         "ShowMessage(-v % 2);\n"
         "v = \"1\";\n"
         "ShowMessage(v + 2);\n"
         "v = true;\n"
         "ShowMessage(v + 1);\n"
         "v = null;\n"
         "ShowMessage(VarToStr(v + 1) + \"|\");\n",
         "3.5\n-1\n3\n0\n|\n"},
    };
    expectOutputs(cases);
}
