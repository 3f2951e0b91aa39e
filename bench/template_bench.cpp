// Loading and saving a large template through the report, beside the bare
// XML read and write of the same bytes.
#include "base/xml/zelxmldocument.h"
#include "model/reflect/zelclassregistry.h"
#include "model/report/zelreport.h"
#include "model/serial/zelxmlserializer.h"

#include <QBuffer>
#include <malloc.h>
#include <map>
#include <benchmark/benchmark.h>

namespace {

TzelComponent *make(const char *className, TzelComponent *parent, const QString &name, const QString &attributes)
{
    const TzelClassInfo *info = TzelClassRegistry::Find(QString::fromLatin1(className));
    auto *c = dynamic_cast<TzelComponent *>(info->Create());
    c->SetParent(parent);
    c->SetName(name);
    TzelXMLSerializer serializer;
    serializer.XMLToObj(attributes, c);
    return c;
}

// Pages of 50 data bands with 19 memos each: about 1,000 objects a page.
const QByteArray &templateBytes(int pages = 20)
{
    static std::map<int, QByteArray> made;
    QByteArray &bytes = made[pages];
    if (bytes.isEmpty()) {
        TzelReport report;
        int memoNo = 0;
        for (int p = 0; p < pages; ++p) {
            TzelComponent *page = make("TzelReportPage", &report, QStringLiteral("Page%1").arg(p + 1), QString());
            for (int b = 0; b < 50; ++b) {
                TzelComponent *band = make("TzelMasterData", page, QStringLiteral("MasterData%1").arg(p * 50 + b + 1),
                                           QStringLiteral(" Top=\"%1\" Height=\"18.9\" Width=\"718.1\"").arg(b * 20));
                for (int m = 0; m < 19; ++m) {
                    ++memoNo;
                    make("TzelMemoView", band, QStringLiteral("Memo%1").arg(memoNo),
                         QStringLiteral(" Left=\"%1\" Top=\"0\" Width=\"37.8\" Height=\"18.9\" Font.Name=\"Arial\""
                                        " Font.Height=\"-12\" Font.Style=\"1\" ParentFont=\"False\" Frame.Typ=\"15\""
                                        " Fill.BackColor=\"15793151\" Text=\"Value %2 of [Orders.&#34;Amount&#34;]\"")
                             .arg(m * 37.8)
                             .arg(memoNo));
                }
            }
        }
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        report.SaveToStream(&out);
        bytes = out.data();
    }
    return bytes;
}

void BM_BareXmlRead(benchmark::State &state)
{
    QByteArray bytes = templateBytes();
    for (auto _ : state) {
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        TzelXMLDocument document;
        document.LoadFromStream(&in);
        benchmark::DoNotOptimize(document.Root());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// Load time against the number of objects: Arg is the number of pages.
void BM_TemplateLoad(benchmark::State &state)
{
    QByteArray bytes = templateBytes(int(state.range(0)));
    TzelReport report;
    report.EngineOptions().NewSilentMode = simSilent;
    const size_t heapBefore = mallinfo2().uordblks;
    for (auto _ : state) {
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        report.LoadFromStream(&in);
        if (!report.Errors().IsEmpty())
            state.SkipWithError(qPrintable(report.ErrorsText()));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    const double objects = double(report.AllObjects().size());
    state.counters["objects"] = objects;
    state.counters["time_per_object"] = benchmark::Counter(objects * state.iterations(),
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // The heap the loaded template holds, the document read and dropped.
    state.counters["heap_per_object"] = double(mallinfo2().uordblks - heapBefore) / objects;
}

void BM_BareXmlWrite(benchmark::State &state)
{
    QByteArray bytes = templateBytes();
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    document.LoadFromStream(&in);
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        document.SaveToStream(&out);
        benchmark::DoNotOptimize(out.data().size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_TemplateSave(benchmark::State &state)
{
    QByteArray bytes = templateBytes();
    TzelReport report;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    report.LoadFromStream(&in);
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        report.SaveToStream(&out);
        benchmark::DoNotOptimize(out.data().size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_BareXmlRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TemplateLoad)->Arg(20)->Arg(80)->Arg(700)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareXmlWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TemplateSave)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
