#include "prepared/zelpicturecache.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelfilestream.h"
#include "base/stream/zelmemorystream.h"
#include "base/stream/zeltempfile.h"
#include "base/xml/zelxmlitem.h"
#include "model/view/zelpictureview.h"
#include "prepared/zelitemattributes.h"

#include <QFile>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// Decodes pairs of hexadecimal digits (either case) into Bytes; False when a
// pair is not hexadecimal, Bytes then holding what came before it. An odd
// last digit is ignored.
bool decodeHex(const QString &text, QByteArray &bytes)
{
    const qsizetype count = text.size() / 2;
    bytes.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const int high = hexDigit(text.at(2 * i));
        const int low = hexDigit(text.at(2 * i + 1));
        if (high < 0 || low < 0)
            return false;
        bytes.append(char(high << 4 | low));
    }
    return true;
}

} // namespace

TzelPictureCache::TzelPictureCache() = default;

TzelPictureCache::~TzelPictureCache()
{
    Clear();
}

void TzelPictureCache::AddPicture(TzelPictureView *picture)
{
    if (picture->Picture().IsEmpty()) {
        picture->ImageIndex = 0;
        return;
    }
    Store(picture->Picture().Data());
    picture->ImageIndex = Count();
}

void TzelPictureCache::AddPicture(const TzelPicture &picture, int &imageIndex)
{
    if (picture.IsEmpty())
        return;
    Store(picture.Data());
    imageIndex = Count();
}

void TzelPictureCache::GetPicture(TzelPictureView *picture) const
{
    const int index = picture->ImageIndex;
    const bool loaded = index >= 1 && index <= Count()
                        && ReadEntry(index - 1, [picture](QIODevice *s) { picture->LoadPictureFromStream(s, false); });
    if (!loaded)
        picture->Picture().Clear();
}

void TzelPictureCache::GetPicture(TzelPicture &picture, int imageIndex) const
{
    if (imageIndex < 1 || imageIndex > Count())
        return;
    if (!ReadEntry(imageIndex - 1, [&picture](QIODevice *s) { picture.LoadFromStream(s); }))
        picture.Clear();
}

void TzelPictureCache::SaveToXML(TzelXMLItem *item) const
{
    item->Clear();
    for (int i = 0; i < Count(); ++i)
        item->Add(QStringLiteral("item"))
            ->SetProp(QStringLiteral("stream"), QString::fromLatin1(EntryBytes(i).toHex().toUpper()));
}

void TzelPictureCache::LoadFromXML(TzelXMLItem *item, QStringList *errors)
{
    Clear();
    for (int i = 0; i < item->Count(); ++i) {
        QByteArray data;
        bool valid;
        const QString hex = zelAttr(item->Items(i), QStringLiteral("stream"), &valid);
        if ((!valid || !decodeHex(hex, data)) && errors)
            errors->append(zelFormat(zelRes("clPictureDamaged"), {QString::number(i + 1)}));
        Store(data);
    }
}

void TzelPictureCache::Clear()
{
    FSegments.clear();
    for (const QString &name : std::as_const(FTempFiles))
        QFile::remove(name);
    FTempFiles.clear();
    FItems.Clear();
}

void TzelPictureCache::SetUseFileCache(bool value)
{
    if (FSegments.empty())
        FUseFileCache = value;
}

void TzelPictureCache::SetTempDir(const QString &value)
{
    if (FSegments.empty())
        FTempDir = value;
}

void TzelPictureCache::SetSegmentLimit(qint64 value)
{
    FSegmentLimit = qBound(qint64(1), value, DefaultSegmentLimit);
}

// Appends Data as a new entry at the end of the newest segment. The entry is
// recorded before the bytes are written: should writing fail, whatever was
// written belongs to that entry, and later entries still start where their
// own bytes do.
void TzelPictureCache::Store(const QByteArray &data)
{
    if (FSegments.empty() || FSegments.back()->size() >= FSegmentLimit)
        AddSegment();
    TzelSegmentStream &segment = *FSegments.back();
    const qint64 offset = segment.size();
    FItems.Add(qint32(FSegments.size() - 1), qint32(offset));
    if (!segment.seek(offset) || segment.write(data) != data.size())
        throw TzelFileError(zelFormat(zelRes("ioCantWrite"), {FTempFiles.value(qsizetype(FSegments.size()) - 1),
                                                           segment.errorString()}));
}

void TzelPictureCache::AddSegment()
{
    if (!FUseFileCache) {
        auto segment = std::make_unique<TzelMemoryStream>();
        segment->open(QIODevice::ReadWrite);
        FSegments.push_back(std::move(segment));
        return;
    }
    const QString name = zelCreateTempFile(FTempDir, QStringLiteral("qzPic"));
    auto segment = std::make_unique<TzelFileStream>(name);
    if (!segment->open(QIODevice::ReadWrite)) {
        const QString error = segment->errorString();
        QFile::remove(name);
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {name, error}));
    }
    FTempFiles.append(name);
    FSegments.push_back(std::move(segment));
}

// Lets Load read entry Index in place: the segment is positioned at the
// entry and ends, for as long as Load runs, where the entry does. False when
// the bytes do not decode.
bool TzelPictureCache::ReadEntry(int index, const std::function<void(QIODevice *)> &load) const
{
    const TzelCacheList::Entry &entry = FItems.Get(index);
    const qint64 length = EntryLength(index);
    // A virtual end of 0 would mean none, so an empty entry at the start of
    // a segment cannot be read in place; it is no picture anyway.
    if (length == 0)
        return false;
    TzelSegmentStream &segment = *FSegments[size_t(entry.Segment)];
    struct ResetEnd
    {
        TzelSegmentStream &segment;
        ~ResetEnd() { segment.SetVirtualEnd(0); }
    } reset{segment};
    segment.SetVirtualEnd(entry.Offset + length);
    if (!segment.seek(entry.Offset))
        return false;
    try {
        load(&segment);
    } catch (const TzelException &) {
        return false;
    }
    return true;
}

QByteArray TzelPictureCache::EntryBytes(int index) const
{
    const TzelCacheList::Entry &entry = FItems.Get(index);
    TzelSegmentStream &segment = *FSegments[size_t(entry.Segment)];
    const qint64 length = EntryLength(index);
    QByteArray bytes;
    if (segment.seek(entry.Offset))
        bytes = segment.read(length);
    if (bytes.size() != length)
        throw TzelFileError(zelFormat(zelRes("ioCantRead"), {FTempFiles.value(entry.Segment), segment.errorString()}));
    return bytes;
}

qint64 TzelPictureCache::EntryLength(int index) const
{
    const TzelCacheList::Entry &entry = FItems.Get(index);
    if (index + 1 < Count()) {
        const TzelCacheList::Entry &next = FItems.Get(index + 1);
        if (next.Segment == entry.Segment)
            return next.Offset - entry.Offset;
    }
    return FSegments[size_t(entry.Segment)]->size() - entry.Offset;
}
