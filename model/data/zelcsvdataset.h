#pragma once
/// \file

#include "model/data/zelcsvscanner.h"
#include "model/data/zeldataset.h"

#include <memory>

/// A data set over a delimited text file; every value is text. Opening reads
/// the file once as a stream and notes where each record starts; a record's
/// values are read when it becomes current, so memory does not grow with the
/// file. Quoted values may hold delimiters, line breaks and doubled quotes.
/// Every record must have as many fields as the first one (the header): a
/// record with more or fewer is an error naming the file and the line, since
/// padding would shift values silently into other columns. Only regular files
/// are read: a device never ends, and a named pipe is read only when the
/// program running the report allows it.
class TzelCSVDataSet : public TzelDataSet
{
    ZEL_CLASS(TzelCSVDataSet, TzelDataSet)

    /// Creates a data set whose tree parent is Owner.
    explicit TzelCSVDataSet(TzelComponent *owner = nullptr);
    ~TzelCSVDataSet() override;

    QString FileName;         ///< the file; a relative name lies beside the template
    QChar Delimiter = u',';   ///< separates the values of a record
    QChar Quote = u'"';       ///< encloses values; character 0 for none
    bool HeaderRow = true;    ///< the first record names the fields (else Field1, Field2, ...)
    QString Encoding;         ///< the file's text encoding; empty for UTF-8

    // Run-time settings of the program, never stored in a template.
    TzelCSVLimits Limits;     ///< what one record may hold
    bool AllowPipe = false;   ///< whether FileName may name a pipe (read once, through a temporary copy)

    /// Reads the file; raises a TzelException naming the file on any problem.
    void Open() override;
    /// Forgets the records.
    void Close() override;
    /// Whether the file has been read.
    bool Active() const;
    /// Opens when needed and goes to the first record.
    void First() override;
    /// Whether the records (or the range) are used up.
    bool Eof() override;
    /// Number of records, or the range's count.
    int RecordCount() override;
    /// Number of fields; opens when needed.
    int FieldsCount() override;
    /// The field names; opens when needed.
    void GetFieldList(QStringList &list) override;
    /// Every field is text.
    TzelFieldType GetFieldType(const QString &) override { return fftString; }
    /// The text of field Index in the current record; Null past the end.
    Variant GetValue(const QString &index) override;
    /// The same as text.
    QString GetDisplayText(const QString &index) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelCSVDataSet> &p);

private:
    struct Private;

    void OpenIfNeeded();
    int FieldIndex(const QString &name);

    std::unique_ptr<Private> d;
};
