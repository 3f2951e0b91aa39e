// Throughput of the XML layer against expat on a prepared-report-like document.
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"

#include <QBuffer>
#include <benchmark/benchmark.h>
#include <cstring>
#include <expat.h>
#include <memory>

namespace {

// About 20 MB shaped like a prepared report: pages of objects with 5 to 10
// attributes, a few nested elements, some non-ASCII and escaped text.
// Written by hand so that the input does not depend on the writer under test.
QByteArray makeDocument()
{
    static const char *const texts[] = {
        "Invoice total",
        "Gr\xC3\xB6\xC3\x9F" "e: 12 \xE2\x82\xAC",
        "&#34;Quoted&#34; &#38; &#60;b&#62;bold&#60;/b&#62;",
        "Line one&#13;&#10;Line two&#13;&#10;Line three",
        "[Orders.&#34;CustomerName&#34;] \xE6\xBC\xA2\xE5\xAD\x97",
        "Page [Page#] of [TotalPages#]",
    };
    QByteArray out;
    out.reserve(21 << 20);
    out += "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";
    out += "<preparedreport><previewpages>";
    quint32 seed = 12345;
    auto next = [&seed](quint32 range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (int page = 0; out.size() < (20 << 20); ++page) {
        out += "<page" + QByteArray::number(page % 3) + " Width=\"794\" Height=\"1123\" Orientation=\"0\">";
        for (int band = 0; band < 8; ++band) {
            out += "<b n=\"Band" + QByteArray::number(band) + "\" t=\"" + QByteArray::number(band * 75.59, 'f', 2)
                + "\" h=\"75.59\">";
            for (int obj = 0; obj < 12; ++obj) {
                out += "<m n=\"Memo" + QByteArray::number(obj) + "\" l=\"" + QByteArray::number(next(700) * 1.25, 'f', 2)
                    + "\" t=\"" + QByteArray::number(next(60) * 0.5, 'f', 2) + "\" w=\"" + QByteArray::number(40 + next(300))
                    + "\" h=\"18.9\" Text=\"" + texts[next(6)] + "\"";
                const int extra = int(next(5));
                if (extra > 0)
                    out += " Font.Name=\"Arial\"";
                if (extra > 1)
                    out += " Font.Style=\"1\"";
                if (extra > 2)
                    out += " HAlign=\"haRight\"";
                if (extra > 3)
                    out += " DisplayFormat.FormatStr=\"%2.2m\"";
                if (next(4) == 0)
                    out += "><frame Typ=\"15\" Width=\"0.5\" Color=\"255\"/></m>";
                else
                    out += "/>";
            }
            out += "</b>";
        }
        out += "</page" + QByteArray::number(page % 3) + ">";
    }
    out += "</previewpages></preparedreport>";
    return out;
}

const QByteArray &document()
{
    static const QByteArray data = makeDocument();
    return data;
}

void BM_ReaderFullLoad(benchmark::State &state)
{
    const QByteArray &data = document();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        auto doc = std::make_unique<TzelXMLDocument>();
        doc->LoadFromStream(&buffer);
        benchmark::DoNotOptimize(doc->Root()->Count());
        state.PauseTiming(); // freeing the tree is not reading
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

void BM_ReaderLoadAndFree(benchmark::State &state)
{
    const QByteArray &data = document();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        TzelXMLDocument doc;
        doc.LoadFromStream(&buffer);
        benchmark::DoNotOptimize(doc.Root()->Count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

void BM_Writer(benchmark::State &state)
{
    QBuffer source;
    source.setData(document());
    source.open(QIODevice::ReadOnly);
    TzelXMLDocument doc;
    doc.LoadFromStream(&source);
    int64_t written = 0;
    for (auto _ : state) {
        QByteArray out;
        out.reserve(document().size() + (1 << 20));
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        doc.SaveToStream(&buffer);
        written += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(written);
}

struct ExpatCounts
{
    size_t elements = 0;
    size_t attributeBytes = 0;
};

void XMLCALL expatStart(void *userData, const XML_Char *, const XML_Char **atts)
{
    auto *counts = static_cast<ExpatCounts *>(userData);
    ++counts->elements;
    for (const XML_Char **a = atts; *a; a += 2)
        counts->attributeBytes += std::strlen(a[0]) + std::strlen(a[1]);
}

void XMLCALL expatEnd(void *, const XML_Char *) {}

void BM_Expat(benchmark::State &state)
{
    const QByteArray &data = document();
    ExpatCounts counts;
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetUserData(parser, &counts);
        XML_SetElementHandler(parser, expatStart, expatEnd);
        if (XML_Parse(parser, data.constData(), int(data.size()), 1) != XML_STATUS_OK)
            state.SkipWithError(XML_ErrorString(XML_GetErrorCode(parser)));
        XML_ParserFree(parser);
    }
    benchmark::DoNotOptimize(counts.attributeBytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

} // namespace

BENCHMARK(BM_ReaderFullLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReaderLoadAndFree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Expat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Writer)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
