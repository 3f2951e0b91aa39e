// Parsing speed: source to program tree for a 10,000-line script in each
// language (a block of ten typical statements repeated), each parse by a new
// parser as a compilation does it.
#include "script/grammar/kvilparser.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <memory>

namespace {

struct Language
{
    const char *Name;
    const char *Head;
    const char *Block; // ten lines
    const char *Tail;
};

const Language kLanguages[] = {
    {"PascalScript", "var total, i: Integer;\r\nbegin\r\n",
     "  total := total + Twice(i) * 3 - (i div 2);\r\n"
     "  if total > 100 then ShowMessage('big ' + IntToStr(total)) else total := 0;\r\n"
     "  for i := 1 to 10 do Items[i].Value := i * 2.5;\r\n"
     "  while (i > 0) and not Done do i := i - 1;\r\n"
     "  Memo1.Text := FormatFloat('0.00', <Orders.\"Amount\">);\r\n"
     "  case i of 1, 2: total := 1; 3..9: total := 2; end;\r\n"
     "  repeat Inc(i) until i >= 20;\r\n"
     "  try total := total div i; except total := 0; end;\r\n"
     "  Report.Variables['Total'] := total;\r\n"
     "  // a comment line\r\n",
     "end.\r\n"},
    {"C++Script", "int total, i;\r\n{\r\n",
     "  total = total + Twice(i) * 3 - (i % 2);\r\n"
     "  if (total > 100) ShowMessage(\"big \" + IntToStr(total)); else total = 0;\r\n"
     "  for (i = 1; i <= 10; i++) Items[i].Value = i * 2.5;\r\n"
     "  while ((i > 0) && !Done) i = i - 1;\r\n"
     "  Memo1.Text = FormatFloat(\"0.00\", <Orders.\"Amount\">);\r\n"
     "  switch (i) { case 1, 2: total = 1; case 3..9: total = 2; }\r\n"
     "  do { i++; } while (i < 20);\r\n"
     "  try { total = total / i; } except { total = 0; }\r\n"
     "  Report.Variables[\"Total\"] = total;\r\n"
     "  // a comment line\r\n",
     "}\r\n"},
    {"BasicScript", "Dim total, i\r\n",
     "total = total + Twice(i) * 3 - (i \\ 2)\r\n"
     "If total > 100 Then ShowMessage(\"big \" & IntToStr(total))\r\n"
     "For i = 1 To 10\r\n"
     "  Items[i].Value = i * 2.5\r\n"
     "Next\r\n"
     "Memo1.Text = FormatFloat(\"0.00\", <Orders.\"Amount\">)\r\n"
     "While (i > 0) And Not Done\r\n"
     "  i = i - 1\r\n"
     "Wend\r\n"
     "' a comment line\r\n",
     ""},
    {"JScript", "var total, i;\r\n",
     "total = total + Twice(i) * 3 - (i % 2);\r\n"
     "if (total > 100) ShowMessage(\"big \" + IntToStr(total)); else total = 0;\r\n"
     "for (i = 1; i <= 10; i++) Items[i].Value = i * 2.5;\r\n"
     "while ((i > 0) && !Done) i = i - 1;\r\n"
     "Memo1.Text = FormatFloat(\"0.00\", <Orders.\"Amount\">);\r\n"
     "switch (i) { case 1, 2: total = 1; case 3..9: total = 2; }\r\n"
     "do { i++; } while (i < 20);\r\n"
     "try { total = total / i; } except { total = 0; }\r\n"
     "Report.Variables[\"Total\"] = total;\r\n"
     "// a comment line\r\n",
     ""},
};

void parseScript(benchmark::State &state)
{
    const Language &language = kLanguages[state.range(0)];
    QString source = QString::fromUtf8(language.Head);
    const QString block = QString::fromUtf8(language.Block);
    for (int i = 0; i < 1000; ++i)
        source += block;
    source += QString::fromUtf8(language.Tail);
    for (auto _ : state) {
        // Source to program tree; freeing the tree afterwards is not timed.
        auto parser = std::make_unique<TkvILParser>();
        parser->SelectLanguage(QString::fromLatin1(language.Name));
        if (!parser->MakeILScript(source)) {
            state.SkipWithError(qPrintable(parser->ErrorPos + QLatin1Char(' ') + parser->ErrorMsg));
            break;
        }
        benchmark::DoNotOptimize(parser->ILScript.Root());
        state.PauseTiming();
        parser.reset();
        state.ResumeTiming();
    }
    state.SetLabel(language.Name);
    state.SetBytesProcessed(state.iterations() * source.toUtf8().size());
    state.counters["lines"] = double(source.count(QLatin1Char('\n')));
}

} // namespace

BENCHMARK(parseScript)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
