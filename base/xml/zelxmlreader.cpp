#include "base/xml/zelxmlreader.h"

#include "base/core/zelcodepage.h"
#include "base/stream/zeltextposition.h"
#include "base/xml/zelinvalidxmlexception.h"
#include "base/xml/zelxmlitem.h"

#include <QIODevice>
#include <cstring>
#include <string_view>

namespace {

constexpr qsizetype kBlockSize = 64 * 1024;

// Real documents nest a few dozen levels. Reading is iterative, but freeing a
// tree is recursive, so a hostile file must not be able to build a tree deep
// enough to exhaust the stack when it is destroyed.
constexpr size_t kMaxDepth = 4096;

constexpr std::string_view kUnloadMarker = " ld=\"0\"";

// One tag split into its parts, pointing into the reader's buffers.
struct TagParts
{
    const char *name = nullptr;
    qsizetype nameSize = 0;
    const char *text = nullptr;
    qsizetype textSize = 0;
    qsizetype marker = -1; ///< offset of ` ld="0"` in the text, or -1
    bool closing = false;
    bool empty = false;
};

inline char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c | 0x20) : c;
}

qsizetype findUnloadMarker(const char *text, qsizetype size)
{
    // Search for the fixed tail '="0"', then check the letters in front of it.
    const std::string_view haystack(text, size_t(size));
    for (size_t eq = haystack.find("=\"0\"", 3); eq != std::string_view::npos;
         eq = haystack.find("=\"0\"", eq + 1)) {
        if (text[eq - 3] == ' ' && lowerAscii(text[eq - 2]) == 'l' && lowerAscii(text[eq - 1]) == 'd')
            return qsizetype(eq - 3);
    }
    return -1;
}

void splitTag(const char *data, qsizetype size, TagParts &p)
{
    if (size > 0 && data[size - 1] == ' ')
        --size;
    const char *blank = static_cast<const char *>(std::memchr(data, ' ', size_t(size)));
    p.name = data;
    p.nameSize = blank ? blank - data : size;
    p.text = blank ? blank + 1 : data + size;
    p.textSize = blank ? size - p.nameSize - 1 : 0;
    p.marker = -1;
    p.closing = p.nameSize == 0 || data[0] == '/';
    p.empty = false;
    if (p.closing)
        return;
    if (p.name[p.nameSize - 1] == '/') {
        --p.nameSize;
        p.empty = true;
    } else if (p.textSize > 0 && p.text[p.textSize - 1] == '/') {
        --p.textSize;
        p.empty = true;
    } else
        p.marker = findUnloadMarker(p.text, p.textSize);
}

inline char16_t foldLatin1(uchar c)
{
    return c < 128 ? char16_t(lowerAscii(char(c))) : QChar(char16_t(c)).toCaseFolded().unicode();
}

bool sameNameIgnoringCase(const char *a, const char *b, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (a[i] != b[i] && foldLatin1(uchar(a[i])) != foldLatin1(uchar(b[i])))
            return false;
    return true;
}

} // namespace

struct TzelXMLReader::Frame
{
    TzelXMLItem *item;    ///< nullptr inside an element whose children are dropped
    qint64 start;         ///< stream position of the start tag
    qsizetype nameStart;  ///< the name's place in FNames
    qsizetype nameSize;
    bool unload;          ///< marked ld="0" and left unloaded
    bool keepChildren;    ///< children get elements of their own
};

TzelXMLReader::TzelXMLReader(QIODevice *stream)
    : FStream(stream), FBuffer(std::make_unique_for_overwrite<char[]>(kBlockSize)),
      FBlockPos(stream->pos())
{
}

TzelXMLReader::~TzelXMLReader()
{
    if (!FStream->isSequential() && FStream->pos() != Position())
        FStream->seek(Position());
}

void TzelXMLReader::RaiseException()
{
    throw TzelInvalidXMLException(zelTextPosition(FStream, Position()));
}

void TzelXMLReader::SetPosition(qint64 value)
{
    // An offset outside the stream can only come from a broken structure.
    if (value < 0 || value > FStream->size() || !FStream->seek(value))
        RaiseException();
    FBlockPos = value;
    FFill = 0;
    FIndex = 0;
}

bool TzelXMLReader::Fill()
{
    FBlockPos += FFill;
    FFill = 0;
    FIndex = 0;
    const qint64 got = FStream->read(FBuffer.get(), kBlockSize);
    if (got <= 0)
        return false;
    FFill = qsizetype(got);
    return true;
}

bool TzelXMLReader::SkipToTagStart()
{
    for (;;) {
        if (FIndex < FFill) {
            const char *from = FBuffer.get() + FIndex;
            const void *lt = std::memchr(from, '<', size_t(FFill - FIndex));
            if (lt) {
                FIndex += static_cast<const char *>(lt) - from + 1;
                return true;
            }
            FIndex = FFill;
        }
        if (!Fill())
            return false;
    }
}

bool TzelXMLReader::SkipComment()
{
    int dashes = 0;
    for (;;) {
        if (FIndex == FFill && !Fill())
            return false;
        const char *buf = FBuffer.get();
        while (FIndex < FFill) {
            const char c = buf[FIndex++];
            if (c == '>' && dashes >= 2)
                return true;
            dashes = c == '-' ? dashes + 1 : 0;
        }
    }
}

bool TzelXMLReader::ReadTag(Tag &tag)
{
    for (;;) {
        if (!SkipToTagStart())
            return false;
        tag.start = Position() - 1;
        const char *from = FBuffer.get() + FIndex;
        const char *gt = static_cast<const char *>(std::memchr(from, '>', size_t(FFill - FIndex)));
        if (!gt) {
            switch (ReadTagSlow(tag)) {
            case SlowTag::Tag:
                return true;
            case SlowTag::Comment:
                continue;
            case SlowTag::Cut:
                FCut = true;
                return false;
            }
        }
        const qsizetype size = gt - from;
        if (size >= 3 && from[0] == '!' && from[1] == '-' && from[2] == '-') {
            FIndex += 3;
            if (SkipComment())
                continue;
            FCut = true;
            return false;
        }
        if (std::memchr(from, '<', size_t(size)))
            RaiseException();
        tag.data = from;
        tag.size = size;
        FIndex += size + 1;
        return true;
    }
}

// A tag that runs past the end of the block is collected in FTag. A comment
// is skipped; a tag or comment that the stream's end cuts off is dropped.
TzelXMLReader::SlowTag TzelXMLReader::ReadTagSlow(Tag &tag)
{
    FTag.clear();
    for (;;) {
        if (FIndex == FFill && !Fill())
            return SlowTag::Cut;
        const char *from = FBuffer.get() + FIndex;
        if (FTag.size() < 3) {
            const char c = *from;
            ++FIndex;
            if (c == '>')
                break;
            if (c == '<')
                RaiseException();
            FTag.push_back(c);
            if (FTag == "!--")
                return SkipComment() ? SlowTag::Comment : SlowTag::Cut;
            continue;
        }
        const qsizetype avail = FFill - FIndex;
        const char *gt = static_cast<const char *>(std::memchr(from, '>', size_t(avail)));
        const qsizetype size = gt ? gt - from : avail;
        if (std::memchr(from, '<', size_t(size)))
            RaiseException();
        FTag.append(from, size_t(size));
        FIndex += size;
        if (gt) {
            ++FIndex;
            break;
        }
    }
    tag.data = FTag.data();
    tag.size = qsizetype(FTag.size());
    return SlowTag::Tag;
}

QString TzelXMLReader::Name(const char *data, qsizetype size)
{
    constexpr qsizetype kMaxCachedName = 40;
    constexpr size_t kCacheSize = 256;
    if (size > kMaxCachedName)
        return QString::fromLatin1(data, size);
    if (!FNameCache)
        FNameCache = std::make_unique<NameEntry[]>(kCacheSize);
    quint32 hash = 2166136261u;
    for (qsizetype i = 0; i < size; ++i)
        hash = (hash ^ uchar(data[i])) * 16777619u;
    NameEntry &entry = FNameCache[(hash ^ (hash >> 16)) % kCacheSize];
    if (entry.bytes.size() != size_t(size) || std::memcmp(entry.bytes.data(), data, size_t(size)) != 0) {
        entry.bytes.assign(data, size_t(size));
        entry.name = QString::fromLatin1(data, size);
    }
    return entry.name;
}

QString TzelXMLReader::DecodeText(const char *data, qsizetype size)
{
    if (size == 0)
        return QString();
    const QByteArrayView bytes(data, size);
    return FOldFormat ? zelDecodeSystemCodePage(bytes) : QString::fromUtf8(bytes);
}

void TzelXMLReader::ReadHeader()
{
    Tag tag;
    if (!ReadTag(tag) || tag.size < 4 || std::memcmp(tag.data, "?xml", 4) != 0)
        RaiseException();
    TagParts p;
    splitTag(tag.data, tag.size, p);
    const std::string_view text(p.text, size_t(p.textSize));
    std::string_view version;
    const size_t at = text.find("version=");
    if (at != std::string_view::npos)
        version = text.substr(std::min(at + 9, text.size()), 3);
    FOldFormat = version == "1.0" && text.find("standalone=") == std::string_view::npos;
}

void TzelXMLReader::ReadRootItem(TzelXMLItem *item, bool readChildren)
{
    Tag tag;
    TagParts p;
    if (!ReadTag(tag)) {
        if (FCut) // not even the element's start tag is there
            RaiseException();
        return;
    }
    splitTag(tag.data, tag.size, p);
    if (p.closing)
        RaiseException();

    // The attribute text without the unload marker.
    auto attributes = [this](const TagParts &parts) {
        if (parts.marker < 0)
            return DecodeText(parts.text, parts.textSize);
        const qsizetype after = parts.marker + qsizetype(kUnloadMarker.size());
        return DecodeText(parts.text, parts.marker)
            + DecodeText(parts.text + after, parts.textSize - after);
    };

    // An unloaded element keeps what it has; only its children come back.
    if (!(item->FUnloadable && !item->FLoaded)) {
        item->FName = Name(p.name, p.nameSize);
        item->FText = attributes(p);
    }
    if (FStarts)
        FStarts->push_back(tag.start);
    if (p.empty)
        return;

    std::vector<Frame> frames;
    FNames.assign(p.name, size_t(p.nameSize));
    {
        const bool unload = p.marker >= 0 && !readChildren;
        frames.push_back({item, tag.start, 0, p.nameSize, unload, !unload});
    }

    auto finish = [](const Frame &frame) {
        if (frame.unload && frame.item) {
            frame.item->FOffset = frame.start;
            frame.item->FUnloadable = true;
            frame.item->FLoaded = false;
        }
    };

    while (!frames.empty()) {
        if (!ReadTag(tag)) {
            // The stream ended inside the element: what was read is kept,
            // and Truncated tells the caller that more was meant to follow.
            for (auto it = frames.rbegin(); it != frames.rend(); ++it)
                finish(*it);
            FTruncated = true;
            break;
        }
        splitTag(tag.data, tag.size, p);
        const Frame &top = frames.back();
        if (p.closing) {
            if (p.nameSize != top.nameSize + 1 || p.name[0] != '/'
                || !sameNameIgnoringCase(p.name + 1, FNames.data() + top.nameStart, top.nameSize))
                RaiseException();
            finish(top);
            FNames.resize(size_t(top.nameStart));
            frames.pop_back();
            continue;
        }
        if (frames.size() >= kMaxDepth)
            RaiseException();

        TzelXMLItem *child = nullptr;
        if (top.keepChildren) {
            child = new TzelXMLItem;
            child->FParent = top.item;
            top.item->FItems.push_back(child);
            child->FName = Name(p.name, p.nameSize);
            child->FText = attributes(p);
            if (FStarts)
                FStarts->push_back(tag.start);
        }
        if (p.empty)
            continue;
        const bool unload = child && p.marker >= 0 && !readChildren;
        const qsizetype nameStart = qsizetype(FNames.size());
        FNames.append(p.name, size_t(p.nameSize));
        frames.push_back({child, tag.start, nameStart, p.nameSize, unload, child && !unload});
    }
}
