#pragma once
/// \file

#include "model/data/zeldatasetlink.h"
#include "model/reflect/zelpersistent.h"

#include <QString>

class TzelReportDataSets;

/// One entry of a report's data-set list. It refers to its data set weakly;
/// an entry read from a template names the component, which is looked up in
/// the report on first use, since the data page is read after the list. An
/// entry whose data set cannot be found keeps its names, so that the missing
/// data set can be reported and the entry is written back unchanged.
class TzelDataSetItem : public TzelPersistent
{
    ZEL_CLASS(TzelDataSetItem, TzelPersistent)

    /// An entry of Collection (none for a detached entry).
    explicit TzelDataSetItem(TzelReportDataSets *collection = nullptr);
    ~TzelDataSetItem() override;

    /// The data set, or nullptr.
    TzelDataSet *DataSet() const;
    /// Refers to Value and takes its user name.
    void SetDataSet(TzelDataSet *value);
    /// The user name of the data set, or the name stored when there is none.
    QString DataSetName() const;
    /// Stores Value and looks the data set up by the report's rule; an empty
    /// name clears the reference.
    void SetDataSetName(const QString &value);
    /// Refers to the component named Name of the report, looked up when the
    /// data set is first asked for.
    void SetDataSetComponentName(const QString &name);
    /// The component name the entry refers to: the data set's, or the one
    /// still to be looked up.
    QString DataSetComponentName() const;
    /// The list the entry belongs to.
    TzelReportDataSets *Collection() const { return FCollection; }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelDataSetItem> &p);

private:
    friend class TzelReportDataSets;

    TzelReportDataSets *FCollection;
    mutable TzelDataSetLink FLink;
    mutable QString FPendingName;
};
