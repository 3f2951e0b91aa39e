#pragma once
/// \file

#include <QByteArrayView>

#include <QStringView>
#include <QtGlobal>
#include <memory>

class QIODevice;
class TzelXMLItem;

/// Writes elements as UTF-8 XML, batching output in large blocks. Unloaded
/// elements are read back from the temporary stream, written in full and
/// dropped again.
class TzelXMLWriter
{
public:
    /// Writes to Stream (not owned), starting at its current position.
    explicit TzelXMLWriter(QIODevice *stream);
    /// Writes out what is still buffered; errors are ignored here.
    ~TzelXMLWriter();
    TzelXMLWriter(const TzelXMLWriter &) = delete;
    TzelXMLWriter &operator=(const TzelXMLWriter &) = delete;

    /// Whether lines are indented by two blanks per level and end with CR LF.
    bool AutoIndent() const { return FAutoIndent; }
    /// Sets AutoIndent.
    void SetAutoIndent(bool value) { FAutoIndent = value; }
    /// The stream unloaded elements are read back from (may be the target),
    /// and whether it holds old-format text.
    void SetTempStream(QIODevice *stream, bool oldFormat = false);
    /// The stream set by SetTempStream, or nullptr.
    QIODevice *TempStream() const { return FTempStream; }

    /// Adds the "<?xml ...?>" line.
    void WriteHeader();
    /// Adds Header (ASCII) as the first line instead.
    void WriteHeader(QByteArrayView header);
    /// Writes RootItem with its sub-tree and flushes the buffer.
    void WriteRootItem(TzelXMLItem *rootItem);
    /// Writes the buffer to the stream; raises TzelFileError when it fails.
    void Flush();

private:
    char *Reserve(qsizetype size);
    void Commit(char *end);
    void WriteStartTag(const TzelXMLItem *item, int level);
    void WriteEndTag(const TzelXMLItem *item, int level);

    QIODevice *FStream;
    QIODevice *FTempStream = nullptr;
    qint64 FPos;           ///< where the buffer goes in the stream
    std::unique_ptr<char[]> FBuffer;
    qsizetype FCapacity;
    qsizetype FSize = 0;
    bool FAutoIndent = false;
    bool FTempOldFormat = false;
};
