#include "model/data/zeluserdataset.h"

TzelUserDataSet::TzelUserDataSet(TzelComponent *owner)
    : TzelDataSet(owner)
{
}

TzelUserDataSet::~TzelUserDataSet() = default;

Variant TzelUserDataSet::GetValue(const QString &index)
{
    Variant value = Variant::Null();
    if (OnGetValue)
        OnGetValue(index, value);
    if (OnNewGetValue)
        OnNewGetValue(this, index, value);
    return value;
}

QString TzelUserDataSet::GetDisplayText(const QString &index)
{
    return zelVariantDisplayText(GetValue(index));
}

bool TzelUserDataSet::IsBlobField(const QString &fName)
{
    return OnIsBlobField && OnIsBlobField(this, fName);
}

void TzelUserDataSet::AssignBlobTo(const QString &fName, QByteArray &blob)
{
    if (OnGetBlobValue)
        OnGetBlobValue(this, fName, blob);
}

void TzelUserDataSet::Publish(TzelPublisher<TzelUserDataSet> &p)
{
    p.Prop("Fields", &TzelUserDataSet::Fields);
    p.Callback("OnGetValue", "TzelGetValueEvent");
    p.Callback("OnNewGetValue", "TzelNewGetValueEvent");
    p.Callback("OnGetBlobValue", "TzelGetBlobValueEvent");
    p.Callback("OnIsBlobField", "TzelIsBlobFieldEvent");
}
