// Laying out and drawing a page of 60 text objects (three faces, wrapping, a
// few tags): measuring every memo, then drawing the page into a recording
// and into a 96-dpi image.
#include "benchsupport.h"
#include "engine/render/canvas/zelqpaintercanvas.h"
#include "engine/render/canvas/zelrecordingcanvas.h"
#include "engine/render/draw/zelviewpainter.h"
#include "engine/render/text/zelmemotext.h"
#include "model/band/zelmasterdata.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/view/zelmemoview.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

struct Page
{
    TzelReport Report;
    QList<TzelMemoView *> Memos;
    qsizetype Characters = 0;

    Page()
    {
        zelRegisterModelClasses();
        auto *page = new TzelReportPage(&Report);
        auto *band = new TzelMasterData(page);
        band->SetHeight(1000);
        const char *faces[] = {"Arial", "Times New Roman", "Courier New"};
        const QString words = QStringLiteral(
            "Quarterly sales rose in every region but the north, where the new warehouse opened late and "
            "deliveries waited for trucks");
        for (int i = 0; i < 60; ++i) {
            auto *memo = new TzelMemoView(band);
            memo->SetLeft((i % 3) * 240);
            memo->SetTop((i / 3) * 50);
            memo->SetWidth(230);
            memo->SetHeight(48);
            memo->SetParentFont(false);
            memo->Font().SetName(QString::fromLatin1(faces[i % 3]));
            memo->Font().SetSize(8 + i % 5);
            memo->HAlign = TzelHAlign(i % 4);
            QString text = words.left(30 + (i * 7) % words.size());
            if (i % 5 == 0) {
                memo->AllowHTMLTags = true;
                text = QStringLiteral("<b>Total</b> <font color=\"#C00000\">") + text + QStringLiteral("</font>");
            }
            memo->SetText(text);
            Characters += text.size();
            Memos << memo;
        }
    }
};

Page &page()
{
    static Page p;
    return p;
}

void BM_MemoCalcHeight(benchmark::State &state)
{
    Page &p = page();
    for (auto _ : state)
        for (const TzelMemoView *memo : std::as_const(p.Memos))
            benchmark::DoNotOptimize(zelMemoCalcHeight(*memo));
    state.counters["per_memo"] =
        benchmark::Counter(double(p.Memos.size()) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["per_char"] =
        benchmark::Counter(double(p.Characters) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void drawPage(Canvas &canvas)
{
    for (const TzelMemoView *memo : std::as_const(page().Memos))
        zelDrawView(*memo, canvas, 1, 1, 38, 38, false);
}

void BM_PageToRecording(benchmark::State &state)
{
    RecordingCanvas canvas;
    for (auto _ : state) {
        canvas.Clear();
        drawPage(canvas);
    }
    state.counters["records"] = double(canvas.Records().size());
}

void BM_PageToImage96(benchmark::State &state)
{
    QImage image(794, 1123, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainterCanvas canvas(image);
        drawPage(canvas);
    }
}

} // namespace

BENCHMARK(BM_MemoCalcHeight)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageToRecording)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageToImage96)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    benchUseOffscreen();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
