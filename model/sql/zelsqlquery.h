#pragma once
/// \file

#include "model/data/zelcustomdbdataset.h"

#include <memory>

class TzelSQLDatabase;

/// A data set over the rows of an SQL statement, read forward only. Its
/// fields are the result's columns (under their aliases); values come as
/// variants of the column's type. Parameters are lines "name=value" bound to
/// ":name": a value in single quotes is text, one that reads as a number is a
/// number, anything else is text. Going back more than one row re-runs the
/// statement.
class TzelSQLQuery : public TzelCustomDBDataSet
{
    ZEL_CLASS(TzelSQLQuery, TzelCustomDBDataSet)

    /// Creates a query whose tree parent is Owner.
    explicit TzelSQLQuery(TzelComponent *owner = nullptr);
    ~TzelSQLQuery() override;

    QStringList SQL;    ///< the statement
    QStringList Params; ///< parameters, one "name=value" per line

    /// The connection the statement runs on.
    TzelSQLDatabase *Database() const { return FDatabase; }
    /// Sets Database.
    void SetDatabase(TzelSQLDatabase *value);

    /// Connects when needed and runs the statement; raises a TzelException
    /// naming the query and the statement when it fails.
    void Open() override;
    /// Releases the result.
    void Close() override;
    /// Whether a result is held.
    bool Active() const;
    /// Opens when needed and goes to the first record of the range.
    void First() override;
    /// Goes to the next row.
    void Next() override;
    /// Goes back one row: from the row read last without a second run of
    /// the statement, further back by running it again.
    void Prior() override;
    /// Whether the rows (or the range) are used up.
    bool Eof() override;
    /// Number of rows: the range's count, or counted by the database.
    int RecordCount() override;
    /// Number of columns; opens when needed.
    int FieldsCount() override;
    /// The column names under their aliases; opens when needed.
    void GetFieldList(QStringList &list) override;
    /// Kind of the column: numbers, text, Booleans, dates.
    TzelFieldType GetFieldType(const QString &index) override;
    /// Value of the column in the current row; past the end, the last row's.
    Variant GetValue(const QString &index) override;
    /// The value as text.
    QString GetDisplayText(const QString &index) override;
    /// Whether the column holds binary data.
    bool IsBlobField(const QString &fName) override;
    /// Copies the binary data of the column.
    void AssignBlobTo(const QString &fName, QByteArray &blob) override;

    /// Position of the column named Index (name or alias, case ignored);
    /// raises a TzelException when there is none.
    int FieldIndex(const QString &index);
    /// Value of column Field in the current row.
    Variant GetValueAt(int field);

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelSQLQuery> &p);

private:
    friend class TzelSQLDatabase;
    struct Private;

    void Execute();
    void Rewind(int row);
    // Reads the next row, keeping the current one as the previous.
    void Fetch();
    [[noreturn]] void Fail(const QString &message) const;

    TzelSQLDatabase *FDatabase = nullptr;
    std::unique_ptr<Private> d;
};
