#pragma once
/// \file

#include "model/data/zeldataset.h"

/// A data set whose values come from the host: the field names are listed in
/// Fields, the values are asked for through callbacks. With RangeEnd = reCount
/// it yields RangeEndCount records without any callback.
class TzelUserDataSet : public TzelDataSet
{
    ZEL_CLASS(TzelUserDataSet, TzelDataSet)

    /// Creates a user data set whose tree parent is Owner.
    explicit TzelUserDataSet(TzelComponent *owner = nullptr);
    ~TzelUserDataSet() override;

    QStringList Fields; ///< the field names

    // Host callbacks, never stored.
    /// Gives the value of VarName in the current record.
    std::function<void(const QString &varName, Variant &value)> OnGetValue;
    /// Gives the value of VarName after OnGetValue, which it may override.
    std::function<void(TzelDataSet *sender, const QString &varName, Variant &value)> OnNewGetValue;
    /// Copies the binary data of FieldName into Blob.
    std::function<void(TzelDataSet *sender, const QString &fieldName, QByteArray &blob)> OnGetBlobValue;
    /// Whether FieldName holds binary data.
    std::function<bool(TzelDataSet *sender, const QString &fieldName)> OnIsBlobField;

    /// The value from OnGetValue, then OnNewGetValue; Null when neither gives one.
    Variant GetValue(const QString &index) override;
    /// GetValue as text.
    QString GetDisplayText(const QString &index) override;
    /// The count of Fields.
    int FieldsCount() override { return int(Fields.size()); }
    /// Fields.
    void GetFieldList(QStringList &list) override { list = Fields; }
    /// Asks OnIsBlobField.
    bool IsBlobField(const QString &fName) override;
    /// Asks OnGetBlobValue.
    void AssignBlobTo(const QString &fName, QByteArray &blob) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelUserDataSet> &p);
};
