#pragma once

#include "model/data/zeldataset.h"

#include <QList>

// A data set over a delimited text file. The whole file is read when the data
// set opens; every value is text. Quoted values may hold delimiters, line
// breaks and doubled quotes. Every record must have as many fields as the
// first one (the header): a record with more or fewer is an error naming the
// file and the line, since padding would shift values silently into other
// columns.
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

    /// Reads the file; raises a TzelException naming the file on any problem.
    void Open() override;
    /// Forgets the records.
    void Close() override;
    /// Whether the file has been read.
    bool Active() const { return FActive; }
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

    static void Publish(TzelPublisher<TzelCSVDataSet> &p);

private:
    void OpenIfNeeded();
    int FieldIndex(const QString &name);

    QStringList FFields;
    QList<QStringList> FRows;
    bool FActive = false;
};
