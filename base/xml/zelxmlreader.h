#pragma once
/// \file

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <string>
#include <vector>

class QIODevice;
class TzelXMLItem;

/// Reads elements from a stream in large blocks. Tags are recognised by '<' and
/// '>' alone; text between tags is skipped. When the reader is destroyed the
/// stream is left right after the last byte it consumed.
class TzelXMLReader
{
public:
    /// Reads from Stream (not owned), starting at its current position.
    explicit TzelXMLReader(QIODevice *stream);
    ~TzelXMLReader();
    TzelXMLReader(const TzelXMLReader &) = delete;
    TzelXMLReader &operator=(const TzelXMLReader &) = delete;

    /// Reads the "<?xml ...?>" tag and decides whether the stream is in the
    /// old 8-bit format. Raises TzelInvalidXMLException when it is missing.
    void ReadHeader();
    /// Reads one element with its sub-tree into Item. An unloadable element
    /// that is not loaded keeps its name and text and only gets its children.
    /// Without ReadChildren, elements marked ld="0" are left unloaded.
    void ReadRootItem(TzelXMLItem *item, bool readChildren = true);
    /// Raises TzelInvalidXMLException with the line and column reached.
    [[noreturn]] void RaiseException();
    /// Collects the stream position of each element's start tag into Starts,
    /// in document order (the order of a depth-first walk of the items).
    void SetElementStarts(std::vector<qint64> *starts) { FStarts = starts; }
    /// Whether the stream ended before the element read last was closed
    /// (in a tag or comment, or before a closing tag); what was read is kept.
    bool Truncated() const { return FTruncated; }

    /// Absolute stream position of the next byte to consume.
    qint64 Position() const { return FBlockPos + FIndex; }
    /// Moves to an absolute stream position; one outside the stream raises
    /// TzelInvalidXMLException.
    void SetPosition(qint64 value);
    /// Whether attribute text is 8-bit text in the system code page.
    bool OldFormat() const { return FOldFormat; }
    /// Sets OldFormat.
    void SetOldFormat(bool value) { FOldFormat = value; }

private:
    struct Tag
    {
        const char *data = nullptr;
        qsizetype size = 0;
        qint64 start = 0;
    };
    struct Frame;

    enum class SlowTag { Tag, Comment, Cut };

    bool Fill();
    bool SkipToTagStart();
    bool SkipComment();
    bool ReadTag(Tag &tag);
    SlowTag ReadTagSlow(Tag &tag);
    QString DecodeText(const char *data, qsizetype size);
    QString Name(const char *data, qsizetype size);

    QIODevice *FStream;
    std::unique_ptr<char[]> FBuffer;
    qint64 FBlockPos = 0;  ///< stream position of FBuffer[0]
    qsizetype FFill = 0;
    qsizetype FIndex = 0;
    std::string FTag;      ///< tags that cross a block boundary
    std::string FNames;    ///< names of the open elements, back to back
    // Element names repeat endlessly; sharing one string per name saves an
    // allocation per element and a good part of a large tree's memory.
    struct NameEntry
    {
        std::string bytes;
        QString name;
    };
    std::unique_ptr<NameEntry[]> FNameCache;
    bool FOldFormat = false;
    std::vector<qint64> *FStarts = nullptr;
    bool FCut = false;       ///< the stream ended inside a tag or comment
    bool FTruncated = false;
};
