#pragma once
/// \file

#include "model/component/zelpicturestore.h"
#include "prepared/zelcachelist.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QByteArray;
class QIODevice;
class TzelPicture;
class TzelSegmentStream;
class TzelXMLItem;

/// Every picture put on prepared pages, stored once as its own encoded bytes
/// in append-only segments kept in memory or in temporary files. Picture
/// objects on the pages carry only its 1-based number, ImageIndex.
class TzelPictureCache : public TzelPictureStore
{
public:
    /// Largest segment size before a new segment is started; it keeps every
    /// offset within a signed 32-bit integer.
    static constexpr qint64 DefaultSegmentLimit = 0x6AAAAAAA;

    /// An empty cache that keeps its segments in memory.
    TzelPictureCache();
    /// Clears the cache, deleting its segment files.
    ~TzelPictureCache() override;
    TzelPictureCache(const TzelPictureCache &) = delete;
    TzelPictureCache &operator=(const TzelPictureCache &) = delete;

    /// Stores Picture's picture and sets its ImageIndex to the new number;
    /// a picture object without a picture gets ImageIndex 0. A segment file
    /// that cannot be created or written raises TzelFileError.
    void AddPicture(TzelPictureView *picture) override;
    /// Stores Picture and sets ImageIndex to its number; an empty picture is
    /// not stored and ImageIndex is left as it was.
    void AddPicture(const TzelPicture &picture, int &imageIndex);
    /// Gives Picture the picture of its ImageIndex; an index outside 1..Count,
    /// or bytes that do not decode, leave the picture empty.
    void GetPicture(TzelPictureView *picture) const;
    /// Loads the picture numbered ImageIndex into Picture (empty when its
    /// bytes do not decode); an index outside 1..Count does nothing.
    void GetPicture(TzelPicture &picture, int imageIndex) const;

    /// Replaces the children of Item by one "item" per picture, in order,
    /// whose "stream" attribute holds the bytes as upper-case hexadecimal.
    void SaveToXML(TzelXMLItem *item) const;
    /// Replaces the content by the pictures of the children of Item. A
    /// "stream" that is not hexadecimal keeps its entry (so later numbers
    /// stay right) with the bytes decoded up to the fault, and a message is
    /// appended to Errors when given.
    void LoadFromXML(TzelXMLItem *item, QStringList *errors = nullptr);

    /// Removes every picture and segment, deleting the segment files.
    void Clear();
    /// Number of pictures stored.
    int Count() const { return FItems.Count(); }

    /// Whether segments are temporary files rather than memory (default False).
    bool UseFileCache() const { return FUseFileCache; }
    /// Sets UseFileCache; ignored while segments exist.
    void SetUseFileCache(bool value);
    /// Folder of the segment files; empty means the system's temporary folder.
    const QString &TempDir() const { return FTempDir; }
    /// Sets TempDir; ignored while segments exist.
    void SetTempDir(const QString &value);
    /// Size from which the next picture goes into a new segment.
    qint64 SegmentLimit() const { return FSegmentLimit; }
    /// Sets SegmentLimit, kept within 1..DefaultSegmentLimit.
    void SetSegmentLimit(qint64 value);
    /// Number of segments.
    int SegmentCount() const { return int(FSegments.size()); }

private:
    void Store(const QByteArray &data);
    void AddSegment();
    bool ReadEntry(int index, const std::function<void(QIODevice *)> &load) const;
    QByteArray EntryBytes(int index) const;
    qint64 EntryLength(int index) const;

    TzelCacheList FItems;
    std::vector<std::unique_ptr<TzelSegmentStream>> FSegments;
    QStringList FTempFiles;
    QString FTempDir;
    bool FUseFileCache = false;
    qint64 FSegmentLimit = DefaultSegmentLimit;
};
