#include "base/xml/zelxmlwriter.h"

#include "base/core/zelexception.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmlreader.h"

#include <QIODevice>
#include <cstring>
#include <vector>

namespace {

constexpr qsizetype kFlushSize = 64 * 1024;
constexpr qsizetype kInitialCapacity = 2 * kFlushSize;

char *putAscii(char *out, const char *text, size_t size)
{
    std::memcpy(out, text, size);
    return out + size;
}

char *putIndent(char *out, int level)
{
    std::memset(out, ' ', size_t(level) * 2);
    return out + qsizetype(level) * 2;
}

// Names are 8-bit text; characters beyond Latin-1 cannot be stored.
char *putLatin1(char *out, QStringView s)
{
    for (const QChar c : s)
        *out++ = c.unicode() < 0x100 ? char(c.unicode()) : '?';
    return out;
}

// At most three bytes per UTF-16 unit.
char *putUtf8(char *out, QStringView s)
{
    const char16_t *p = s.utf16();
    const char16_t *end = p + s.size();
    while (p < end) {
        // Runs of ASCII are the common case.
        while (end - p >= 4) {
            quint64 four;
            std::memcpy(&four, p, sizeof four);
            if (four & 0xFF80FF80FF80FF80ull)
                break;
            out[0] = char(p[0]);
            out[1] = char(p[1]);
            out[2] = char(p[2]);
            out[3] = char(p[3]);
            out += 4;
            p += 4;
        }
        if (p == end)
            break;
        const char16_t c = *p++;
        if (c < 0x80) {
            *out++ = char(c);
        } else if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
            const char32_t u = QChar::surrogateToUcs4(c, *p++);
            *out++ = char(0xF0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3F));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            // A lone surrogate has no UTF-8 form: write the replacement character.
            const char16_t u = QChar::isSurrogate(c) ? char16_t(0xFFFD) : c;
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

// Brings an unloaded element back for writing; true when it was loaded here.
bool reload(TzelXMLItem *item, QIODevice *tempStream, bool oldFormat)
{
    if (!tempStream || !item->Unloadable() || item->Loaded())
        return false;
    TzelXMLReader reader(tempStream);
    reader.SetOldFormat(oldFormat);
    reader.SetPosition(item->Offset());
    reader.ReadRootItem(item, true);
    item->SetLoaded(true);
    return true;
}

} // namespace

TzelXMLWriter::TzelXMLWriter(QIODevice *stream)
    : FStream(stream), FPos(stream->pos()),
      FBuffer(std::make_unique_for_overwrite<char[]>(kInitialCapacity)), FCapacity(kInitialCapacity)
{
}

TzelXMLWriter::~TzelXMLWriter()
{
    try {
        Flush();
    } catch (...) {
        // The owner that needed the data has called Flush and seen the error.
    }
}

void TzelXMLWriter::SetTempStream(QIODevice *stream, bool oldFormat)
{
    FTempStream = stream;
    FTempOldFormat = oldFormat;
}

char *TzelXMLWriter::Reserve(qsizetype size)
{
    if (FSize + size > FCapacity) {
        Flush();
        if (size > FCapacity) {
            FCapacity = size;
            FBuffer = std::make_unique_for_overwrite<char[]>(size_t(FCapacity));
        }
    }
    return FBuffer.get() + FSize;
}

void TzelXMLWriter::Commit(char *end)
{
    FSize = end - FBuffer.get();
    if (FSize >= kFlushSize)
        Flush();
}

void TzelXMLWriter::Flush()
{
    if (FSize == 0)
        return;
    // Reading unloaded elements back may have moved the stream.
    if (!FStream->isSequential() && FStream->pos() != FPos)
        FStream->seek(FPos);
    const qint64 written = FStream->write(FBuffer.get(), FSize);
    if (written != FSize) {
        FSize = 0;
        throw TzelFileError(QStringLiteral("Cannot write to the stream: %1").arg(FStream->errorString()));
    }
    FPos += FSize;
    FSize = 0;
}

void TzelXMLWriter::WriteHeader()
{
    WriteHeader("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>");
}

void TzelXMLWriter::WriteHeader(QByteArrayView header)
{
    char *out = Reserve(header.size() + 2);
    out = putAscii(out, header.data(), size_t(header.size()));
    if (FAutoIndent)
        out = putAscii(out, "\r\n", 2);
    Commit(out);
}

void TzelXMLWriter::WriteStartTag(const TzelXMLItem *item, int level)
{
    const QString &name = item->Name();
    const QString &text = item->Text();
    const bool unloadable = item->Unloadable();
    const bool hasChildren = item->Count() > 0;
    const QString &value = item->Value();
    const bool withValue = !hasChildren && !value.isEmpty();

    const qsizetype bound = (FAutoIndent ? 2 * qsizetype(level) + 2 : 0) + 2 * name.size()
        + 3 * (text.size() + (withValue ? value.size() : 0)) + 16;
    char *out = Reserve(bound);
    if (FAutoIndent)
        out = putIndent(out, level);
    *out++ = '<';
    out = putLatin1(out, name);
    if (!text.isEmpty() || unloadable) {
        if (!text.startsWith(u' '))
            *out++ = ' ';
        out = putUtf8(out, text);
        if (unloadable)
            out = putAscii(out, " ld=\"0\"", 7);
    }
    if (hasChildren) {
        *out++ = '>';
    } else if (withValue) {
        *out++ = '>';
        out = putUtf8(out, value);
        out = putAscii(out, "</", 2);
        out = putLatin1(out, name);
        *out++ = '>';
    } else
        out = putAscii(out, "/>", 2);
    if (FAutoIndent)
        out = putAscii(out, "\r\n", 2);
    Commit(out);
}

void TzelXMLWriter::WriteEndTag(const TzelXMLItem *item, int level)
{
    const QString &name = item->Name();
    char *out = Reserve(2 * qsizetype(level) + name.size() + 5);
    if (FAutoIndent)
        out = putIndent(out, level);
    out = putAscii(out, "</", 2);
    out = putLatin1(out, name);
    *out++ = '>';
    if (FAutoIndent)
        out = putAscii(out, "\r\n", 2);
    Commit(out);
}

void TzelXMLWriter::WriteRootItem(TzelXMLItem *rootItem)
{
    struct Frame
    {
        TzelXMLItem *item;
        int next;
        bool reloaded;
    };
    // Iterative, so that the depth of a tree built in memory cannot matter.
    std::vector<Frame> frames;
    try {
        auto open = [&](TzelXMLItem *item) {
            const bool reloaded = reload(item, FTempStream, FTempOldFormat);
            WriteStartTag(item, int(frames.size()));
            if (item->Count() > 0)
                frames.push_back({item, 0, reloaded});
            else if (reloaded)
                item->Clear();
        };
        open(rootItem);
        while (!frames.empty()) {
            Frame &top = frames.back();
            if (top.next < top.item->Count()) {
                open(top.item->Items(top.next++));
                continue;
            }
            const Frame done = top;
            frames.pop_back();
            WriteEndTag(done.item, int(frames.size()));
            if (done.reloaded)
                done.item->Clear();
        }
        Flush();
    } catch (...) {
        // Innermost first: clearing an outer element frees the inner ones.
        for (auto it = frames.rbegin(); it != frames.rend(); ++it)
            if (it->reloaded)
                it->item->Clear();
        throw;
    }
}
