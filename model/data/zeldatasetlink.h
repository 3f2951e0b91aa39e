#pragma once
/// \file

#include "model/data/zeldatasetref.h"
#include "model/reflect/zelpublisher.h"

#include <QString>

class TzelComponent;

/// The data set an object works on, held two ways: the reference, which turns
/// empty when the data set is freed, and the user name it was given, which
/// templates store and which finds the data set again. The report, report
/// pages, data bands and views each hold one and publish it, through
/// zelPublishDataSetLink, as the properties "DataSet" and "DataSetName".
class TzelDataSetLink
{
public:
    /// The data set, or nullptr (none given, or freed).
    TzelDataSet *DataSet() const { return FDataSet.Get(); }
    /// Refers to Value and takes its user name.
    void SetDataSet(TzelDataSet *value);
    /// The data set's user name while it lives, else the name given.
    QString Name() const;
    /// Takes Value as the name and looks the data set up for Owner
    /// (zelFindDataSet): an empty name refers to none.
    void SetName(const TzelComponent *owner, const QString &value);
    /// Refers to nothing.
    void Clear();

private:
    TzelDataSetRef FDataSet;
    QString FName;
};

/// Publishes Link of class T as "DataSet" (a reference stored by name) and
/// "DataSetName".
template <class T, class B>
    requires std::is_base_of_v<B, T> && std::is_base_of_v<TzelComponent, T>
void zelPublishDataSetLink(TzelPublisher<T> &p, TzelDataSetLink B::*link)
{
    p.template RefFn<TzelDataSet>(
        "DataSet", [link](const T &o) { return (o.*link).DataSet(); },
        [link](T &o, TzelDataSet *value) { (o.*link).SetDataSet(value); });
    p.template PropFn<QString>(
        "DataSetName", [link](const T &o) { return (o.*link).Name(); },
        [link](T &o, const QString &value) { (o.*link).SetName(&o, value); });
}
