#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "model/data/zeldatatypes.h"
#include "model/data/zeldialogcomponent.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <memory>

class TzelReport;

/// A cursor over records with named fields: the data a report prints. Reports
/// and expressions reach it by its user name. Every data set lives in the
/// process-wide data-set list from construction to destruction.
///
/// Navigation keeps RecNo and the range; subclasses move their own cursor in
/// First and Next after calling the base, and add their end test to Eof.
class TzelDataSet : public TzelDialogComponent
{
    ZEL_CLASS(TzelDataSet, TzelDialogComponent)

    /// Creates a data set whose tree parent is Owner and enters it in the global list.
    explicit TzelDataSet(TzelComponent *owner = nullptr);
    /// Leaves the global list; references to it (TzelDataSetRef) turn empty.
    ~TzelDataSet() override;

    // Published.
    bool Enabled = true;                 ///< offered in the global list
    TzelRangeBegin RangeBegin = rbFirst; ///< start at the first record or the current one
    TzelRangeEnd RangeEnd = reLast;      ///< stop at the last record, the current one or after RangeEndCount
    int RangeEndCount = 0;               ///< number of records for reCount

    /// The name reports and expressions use: the one set, or the component
    /// name while none was set.
    QString UserName() const { return FUserName.isEmpty() ? Name() : FUserName; }
    /// Sets the user name; a blank one raises "Invalid property value".
    virtual void SetUserName(const QString &value);
    /// Renames the component. The first name becomes the user name too; a
    /// user name already set is kept.
    void SetName(const QString &value) override;

    // Host callbacks, never stored.
    std::function<void(TzelDataSet *sender, bool &eof)> OnCheckEOF; ///< may change the answer of Eof
    std::function<void(TzelDataSet *sender)> OnFirst;  ///< the cursor went to the first record
    std::function<void(TzelDataSet *sender)> OnNext;   ///< the cursor went to the next record
    std::function<void(TzelDataSet *sender)> OnPrior;  ///< the cursor went to the previous record
    std::function<void(TzelDataSet *sender)> OnOpen;   ///< the data set was opened
    std::function<void(TzelDataSet *sender)> OnClose;  ///< the data set was closed

    // Public state.
    /// Current record number, from 0.
    int RecNo() const { return FRecNo; }
    TzelReport *ReportRef = nullptr; ///< the report using the data set while it builds
    bool OpenDataSource = true;      ///< open the underlying source when the report starts
    bool CloseDataSource = false;    ///< close it again when the report ends

    // The data-set protocol. Index and FName name a field.
    /// The field's value as text (empty here).
    virtual QString GetDisplayText(const QString &index);
    /// Width of the field in characters (10 here).
    virtual int GetDisplayWidth(const QString &index);
    /// Kind of the field (fftNumeric here).
    virtual TzelFieldType GetFieldType(const QString &index);
    /// The field's value in the current record (Null here).
    virtual Variant GetValue(const QString &index);
    /// Prepares the data set before a build (nothing here).
    virtual void Initialize() {}
    /// Releases what Initialize took (nothing here).
    virtual void Finalize() {}
    /// Opens the data set; calls OnOpen.
    virtual void Open();
    /// Closes the data set; calls OnClose.
    virtual void Close();
    /// Goes to the first record.
    virtual void First();
    /// Goes to the next record; with reCount stops at RangeEndCount records.
    virtual void Next();
    /// Goes to the previous record.
    virtual void Prior();
    /// Whether the records of the range are used up; OnCheckEOF has the last word.
    virtual bool Eof();
    /// Number of fields (0 here).
    virtual int FieldsCount() { return 0; }
    /// Whether the field holds binary data (False here).
    virtual bool IsBlobField(const QString &) { return false; }
    /// Whether the field holds long Unicode text (False here).
    virtual bool IsWideMemoBlobField(const QString &) { return false; }
    /// Whether the data set follows a master data set (False here).
    virtual bool IsHasMaster() { return false; }
    /// Number of records when known: RangeEndCount for a counted range from
    /// the first record, otherwise 0.
    virtual int RecordCount();
    /// Copies the binary data of the field into Blob (nothing here).
    virtual void AssignBlobTo(const QString &, QByteArray &) {}
    /// The field names (none here).
    virtual void GetFieldList(QStringList &list) { list.clear(); }
    /// Whether FName is one of GetFieldList (case ignored).
    bool HasField(const QString &fName);


    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelDataSet> &p);

protected:
    /// Sets the record number without callbacks.
    void SetRecNo(int value) { FRecNo = value; }
    /// Whether the last Next ran past a counted range.
    bool RangeEnded() const { return FEof; }

private:
    QString FUserName;
    int FRecNo = 0;
    bool FEof = false;
};

/// Text of a field value: empty for Empty and Null, and for values that have
/// no text form (arrays).
QString zelVariantDisplayText(const Variant &value);
