#include "model/data/zelcustomdbdataset.h"

TzelCustomDBDataSet::TzelCustomDBDataSet(TzelComponent *owner)
    : TzelDataSet(owner)
{
}

TzelCustomDBDataSet::~TzelCustomDBDataSet() = default;

QString TzelCustomDBDataSet::GetAlias(const QString &fName) const
{
    for (const QString &line : FieldAliases) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(fName, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return fName;
}

QString TzelCustomDBDataSet::ConvertAlias(const QString &alias) const
{
    for (const QString &line : FieldAliases) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).mid(eq + 1).compare(alias, Qt::CaseInsensitive) == 0)
            return line.left(eq);
    }
    return alias;
}

void TzelCustomDBDataSet::Initialize()
{
    if (OpenDataSource)
        Open();
}

void TzelCustomDBDataSet::Finalize()
{
    if (CloseDataSource)
        Close();
}

void TzelCustomDBDataSet::Publish(TzelPublisher<TzelCustomDBDataSet> &p)
{
    using T = TzelCustomDBDataSet;
    p.Prop("CloseDataSource", &TzelDataSet::CloseDataSource);
    p.Prop("FieldAliases", &T::FieldAliases);
    p.Prop("OpenDataSource", &TzelDataSet::OpenDataSource).Default(true);
    p.Callback("OnClose", "TNotifyEvent");
    p.Callback("OnOpen", "TNotifyEvent");
}
