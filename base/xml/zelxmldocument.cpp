#include "base/xml/zelxmldocument.h"

#include "base/core/zelexception.h"
#include "base/stream/zelsafefile.h"
#include "base/stream/zeltempfile.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmlreader.h"
#include "base/xml/zelxmlwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString nativeName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

} // namespace

struct TzelXMLDocument::Private
{
    TzelXMLItem root;
    bool autoIndent = false;
    QString tempDir;
    bool oldVersion = false;
    bool truncated = false;
    bool keepTruncated = false;
    bool trackStarts = false;
    std::vector<qint64> starts; ///< of the elements read, in document order

    // The stream unloaded elements are read from: the source of a partial
    // load or a temporary file of our own.
    QIODevice *tempStream = nullptr;
    std::unique_ptr<QIODevice> ownedStream;
    QString createdFile;        ///< temporary file to delete on release
    bool tempOldFormat = false; ///< the stream is an old-format source

    void ReleaseTempStream()
    {
        tempStream = nullptr;
        tempOldFormat = false;
        ownedStream.reset();
        if (!createdFile.isEmpty()) {
            QFile::remove(createdFile);
            createdFile.clear();
        }
    }

    void ResetRoot()
    {
        root.Clear();
        root.SetName(QString());
        root.SetText(QString());
        root.SetValue(QString());
        root.SetOffset(0);
        root.SetUnloadable(false);
        root.SetLoaded(true);
    }

    // Reads Stream; with partial loading the stream stays with the document
    // (and OwnedStream with it) before reading starts, so that it is held
    // even when reading fails half way.
    void Load(QIODevice *stream, bool allowPartialLoading, std::unique_ptr<QIODevice> owned)
    {
        ReleaseTempStream();
        ResetRoot();
        oldVersion = false;
        truncated = false;
        if (allowPartialLoading) {
            tempStream = stream;
            ownedStream = std::move(owned);
        }
        TzelXMLReader reader(stream);
        starts.clear();
        if (trackStarts)
            reader.SetElementStarts(&starts);
        reader.ReadHeader();
        oldVersion = reader.OldFormat();
        if (allowPartialLoading)
            tempOldFormat = oldVersion;
        reader.ReadRootItem(&root, !allowPartialLoading);
        truncated = reader.Truncated();
        if (truncated && !keepTruncated)
            reader.RaiseException();
    }

    void CreateTempFile()
    {
        const QString name =
            zelCreateTempFile(QFileInfo(tempDir).isDir() ? tempDir : QString(), QStringLiteral("qz"));
        // Reopened unbuffered: reads and writes alternate, and both go in blocks.
        auto file = std::make_unique<QFile>(name);
        if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            const QString error = file->errorString();
            QFile::remove(name);
            throw TzelFileError(QStringLiteral("Cannot open the temporary file \"%1\": %2")
                                    .arg(nativeName(name), error));
        }
        // A header first, so that no element sits at offset 0: an element
        // with an offset has been written and can simply be dropped again.
        static constexpr char header[] = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n";
        if (file->write(header, sizeof header - 1) != qint64(sizeof header - 1)) {
            const QString error = file->errorString();
            QFile::remove(name);
            throw TzelFileError(QStringLiteral("Cannot write the temporary file \"%1\": %2")
                                    .arg(nativeName(name), error));
        }
        tempStream = file.get();
        ownedStream = std::move(file);
        createdFile = name;
        tempOldFormat = false;
    }
};

TzelXMLDocument::TzelXMLDocument() : d(std::make_unique<Private>()) {}

TzelXMLDocument::~TzelXMLDocument()
{
    d->ReleaseTempStream();
}

TzelXMLItem *TzelXMLDocument::Root() const
{
    return &d->root;
}

bool TzelXMLDocument::AutoIndent() const
{
    return d->autoIndent;
}

void TzelXMLDocument::SetAutoIndent(bool value)
{
    d->autoIndent = value;
}

QString TzelXMLDocument::TempDir() const
{
    return d->tempDir;
}

void TzelXMLDocument::SetTempDir(const QString &value)
{
    d->tempDir = value;
}

bool TzelXMLDocument::OldVersion() const
{
    return d->oldVersion;
}

bool TzelXMLDocument::Truncated() const
{
    return d->truncated;
}

void TzelXMLDocument::SetTrackElementStarts(bool value)
{
    d->trackStarts = value;
}

QHash<const TzelXMLItem *, qint64> TzelXMLDocument::ElementStarts() const
{
    // The reader noted the starts in document order, which is the order of
    // a depth-first walk.
    QHash<const TzelXMLItem *, qint64> map;
    size_t next = 0;
    std::vector<const TzelXMLItem *> pending{&d->root};
    while (!pending.empty() && next < d->starts.size()) {
        const TzelXMLItem *item = pending.back();
        pending.pop_back();
        map.insert(item, d->starts[next++]);
        for (int i = item->Count() - 1; i >= 0; --i)
            pending.push_back(item->Items(i));
    }
    return map;
}

bool TzelXMLDocument::KeepTruncated() const
{
    return d->keepTruncated;
}

void TzelXMLDocument::SetKeepTruncated(bool value)
{
    d->keepTruncated = value;
}

void TzelXMLDocument::Clear()
{
    d->ResetRoot();
    d->ReleaseTempStream();
}

void TzelXMLDocument::LoadFromStream(QIODevice *stream, bool allowPartialLoading)
{
    d->Load(stream, allowPartialLoading, nullptr);
}

void TzelXMLDocument::SaveToStream(QIODevice *stream)
{
    TzelXMLWriter writer(stream);
    writer.SetAutoIndent(d->autoIndent);
    writer.SetTempStream(d->tempStream, d->tempOldFormat);
    writer.WriteHeader();
    writer.WriteRootItem(&d->root);
}

void TzelXMLDocument::LoadFromFile(const QString &fileName)
{
    // Plain read-only: POSIX has no share-deny-write.
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw TzelFileError(QStringLiteral("Cannot open file \"%1\": %2")
                                .arg(nativeName(fileName), file->errorString()));
    QIODevice *stream = file.get();
    d->Load(stream, true, std::move(file));
}

void TzelXMLDocument::SaveToFile(const QString &fileName)
{
    // The old file stands until the new one is complete; a file held open
    // for partial loading keeps its old contents meanwhile, and is released
    // only once the new one is in place.
    zelSaveFile(fileName, [this](QIODevice *stream) { SaveToStream(stream); });
    d->ReleaseTempStream();
    LoadFromFile(fileName);
}

void TzelXMLDocument::LoadItem(TzelXMLItem *item)
{
    if (!item || !d->tempStream || !item->Unloadable() || item->Loaded())
        return;
    TzelXMLReader reader(d->tempStream);
    reader.SetOldFormat(d->tempOldFormat);
    reader.SetPosition(item->Offset());
    reader.ReadRootItem(item, true);
    // An element read back by its offset was complete when it was stored.
    if (reader.Truncated())
        reader.RaiseException();
    item->SetLoaded(true);
}

void TzelXMLDocument::UnloadItem(TzelXMLItem *item)
{
    if (!item || !item->Unloadable() || !item->Loaded())
        return;
    if (!d->tempStream)
        d->CreateTempFile();
    QIODevice *stream = d->tempStream;
    if (!stream->isWritable())
        throw TzelFileError(QStringLiteral("Cannot unload an element: its stream is read-only"));
    const qint64 start = stream->size();
    if (!stream->seek(start))
        throw TzelFileError(QStringLiteral("Cannot seek in the temporary stream: %1").arg(stream->errorString()));
    {
        TzelXMLWriter writer(stream);
        writer.SetTempStream(stream, d->tempOldFormat);
        writer.WriteRootItem(item);
    }
    item->SetOffset(start);
    item->Clear();
}
