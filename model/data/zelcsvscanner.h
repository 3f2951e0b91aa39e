#pragma once
/// \file

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

/// Limits of what one record of a delimited file may hold, so that a broken
/// or hostile file cannot cost unbounded memory.
struct TzelCSVLimits
{
    qsizetype Line = qsizetype(1) << 20;   ///< characters of one line
    qsizetype Value = qsizetype(1) << 20;  ///< characters of one value
    qsizetype Record = qsizetype(1) << 24; ///< characters of one record (quoted line breaks join lines)
    qsizetype Values = qsizetype(1) << 14; ///< values of one record
};

/// Splits delimited text into records as it is fed, piece by piece. Quoted
/// values may hold delimiters, line breaks and doubled quotes; a line that
/// holds nothing is no record. Every record knows the line it starts on and
/// the offset of its first character in the text encoded as UTF-8, so that it
/// can be read again from there. A limit passed or a quote left open raises a
/// TzelException naming the file and the line.
class TzelCSVScanner
{
public:
    /// A record as it is handed out.
    struct Record
    {
        qint64 Offset = 0;  ///< UTF-8 byte offset of its first character
        int Line = 0;       ///< the line it starts on, from 1
        int Count = 0;      ///< how many values it has
        QStringList Values; ///< its values, when they are kept
    };
    /// Called for every record; False stops the scan.
    using Handler = std::function<bool(const Record &record)>;

    /// A scanner at the start of the text of the file Path (named in errors).
    TzelCSVScanner(QChar delimiter, QChar quote, const TzelCSVLimits &limits, QString path);

    /// Whether records carry their values (default True); counting is cheaper.
    void SetKeepValues(bool value) { FKeepValues = value; }
    /// Continues from the start of a record found earlier.
    void Restart(qint64 offset, int line);
    /// Scans Text, handing each complete record to OnRecord; False when
    /// OnRecord stopped the scan.
    bool Feed(QStringView text, const Handler &onRecord);
    /// Ends the text: hands out the last record when it has no line break.
    void Finish(const Handler &onRecord);

private:
    void NewLine();
    void Append(QChar c);
    void EndValue();
    bool EndRecord(const Handler &onRecord);
    [[noreturn]] void Fail(const char *key, qsizetype limit, int line) const;

    QChar FDelimiter;
    QChar FQuote;
    TzelCSVLimits FLimits;
    QString FPath;
    bool FKeepValues = true;

    qint64 FOffset = 0;      ///< UTF-8 offset of the next character
    int FLine = 1;
    qsizetype FLineLength = 0;
    qsizetype FRecordLength = 0;
    bool FQuoted = false;     ///< inside a quoted value
    bool FAfterQuote = false; ///< a quote inside a quoted value: closing, or doubled
    bool FAfterCR = false;    ///< the last character was a carriage return
    bool FEmpty = true;       ///< nothing of the record read yet
    QString FValue;
    Record FRecord;
};
