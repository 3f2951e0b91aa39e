#pragma once
/// \file

#include "model/data/zeldataset.h"

/// The base of data sets that wrap a database table or query. Fields can be
/// shown under aliases: each line of FieldAliases reads "field=alias".
class TzelCustomDBDataSet : public TzelDataSet
{
    ZEL_CLASS(TzelCustomDBDataSet, TzelDataSet)

    /// Creates a data set whose tree parent is Owner.
    explicit TzelCustomDBDataSet(TzelComponent *owner = nullptr);
    ~TzelCustomDBDataSet() override;

    QStringList FieldAliases; ///< lines "field=alias"

    /// The alias of the first line whose field is FName (case ignored), else FName.
    QString GetAlias(const QString &fName) const;
    /// The field of the first line whose alias is Alias (case ignored), else Alias.
    QString ConvertAlias(const QString &alias) const;
    /// Opens the source when OpenDataSource.
    void Initialize() override;
    /// Closes the source when CloseDataSource.
    void Finalize() override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelCustomDBDataSet> &p);
};
