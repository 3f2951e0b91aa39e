#pragma once
/// \file

#include <QHash>
#include <QString>
#include <memory>

class QIODevice;
class TzelXMLItem;

/// An XML document: owns the root element and the temporary stream that
/// unloaded elements are read back from.
class TzelXMLDocument
{
public:
    TzelXMLDocument();
    ~TzelXMLDocument();
    TzelXMLDocument(const TzelXMLDocument &) = delete;
    TzelXMLDocument &operator=(const TzelXMLDocument &) = delete;

    /// The root element, created with the document and never replaced.
    TzelXMLItem *Root() const;
    /// Whether written lines are indented and end with CR LF.
    bool AutoIndent() const;
    /// Sets AutoIndent.
    void SetAutoIndent(bool value);
    /// Folder of the temporary file used for unloaded elements.
    QString TempDir() const;
    /// Sets TempDir.
    void SetTempDir(const QString &value);
    /// Whether the last stream read was in the old 8-bit format.
    bool OldVersion() const;
    /// Whether the last stream read ended before its root element closed
    /// (only with KeepTruncated; otherwise such a stream raises).
    bool Truncated() const;
    /// Whether a stream that ends before its root element closes is kept as
    /// far as it was read, for the caller to report (default False: it
    /// raises "Invalid file format" like any other malformed stream).
    bool KeepTruncated() const;
    /// Sets KeepTruncated.
    void SetKeepTruncated(bool value);
    /// Whether the next load notes where each element starts (default False).
    void SetTrackElementStarts(bool value);
    /// The stream position of each element's start tag, when the last load
    /// tracked them; for telling where a problem lies.
    QHash<const TzelXMLItem *, qint64> ElementStarts() const;

    /// Empties the root and releases the temporary stream.
    void Clear();
    /// Reads the document; with partial loading, elements marked ld="0" stay
    /// unloaded and Stream (not owned) is kept to load them later.
    void LoadFromStream(QIODevice *stream, bool allowPartialLoading = false);
    /// Writes the document, header first.
    void SaveToStream(QIODevice *stream);
    /// Opens FileName for reading and loads it with partial loading; the file
    /// stays open until the document is cleared, reloaded or destroyed.
    void LoadFromFile(const QString &fileName);
    /// Writes through a temporary file and a rename (zelSaveFile), so the old
    /// file stands until the new one is complete; then loads it again.
    void SaveToFile(const QString &fileName);
    /// Reads an unloaded element back from the temporary stream.
    void LoadItem(TzelXMLItem *item);
    /// Writes a loaded, unloadable element to the temporary file and frees its
    /// children. Raises TzelFileError when the stream held is read-only.
    void UnloadItem(TzelXMLItem *item);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
