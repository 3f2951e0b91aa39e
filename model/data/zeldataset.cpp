#include "model/data/zeldataset.h"

#include "base/resources/zelresources.h"
#include "model/data/zeldatasetlist.h"

TzelDataSet::TzelDataSet(TzelComponent *owner)
    : TzelDialogComponent(owner)
{
    TzelDataSetList::Global().Add(this);
}

TzelDataSet::~TzelDataSet()
{
    TzelDataSetList::Global().Remove(this);
}

void TzelDataSet::SetUserName(const QString &value)
{
    if (value.trimmed().isEmpty())
        throw TzelException(zelResources().Get(QStringLiteral("prInvProp")));
    FUserName = value;
}

void TzelDataSet::SetName(const QString &value)
{
    TzelComponent::SetName(value);
    if (FUserName.isEmpty() && !value.isEmpty())
        FUserName = value;
}

QString TzelDataSet::GetDisplayText(const QString &)
{
    return QString();
}

int TzelDataSet::GetDisplayWidth(const QString &)
{
    return 10;
}

TzelFieldType TzelDataSet::GetFieldType(const QString &)
{
    return fftNumeric;
}

Variant TzelDataSet::GetValue(const QString &)
{
    return Variant::Null();
}

void TzelDataSet::Open()
{
    if (OnOpen)
        OnOpen(this);
}

void TzelDataSet::Close()
{
    if (OnClose)
        OnClose(this);
}

void TzelDataSet::First()
{
    FRecNo = 0;
    FEof = false;
    if (OnFirst)
        OnFirst(this);
}

void TzelDataSet::Next()
{
    FEof = false;
    ++FRecNo;
    if (RangeEnd == reCount && FRecNo >= RangeEndCount) {
        // The counted range is used up: stay on its last record.
        FRecNo = RangeEndCount - 1;
        FEof = true;
        return;
    }
    if (OnNext)
        OnNext(this);
}

void TzelDataSet::Prior()
{
    --FRecNo;
    if (OnPrior)
        OnPrior(this);
}

bool TzelDataSet::Eof()
{
    bool result = FEof || (RangeEnd == reCount && FRecNo >= RangeEndCount);
    if (OnCheckEOF)
        OnCheckEOF(this, result);
    return result;
}

int TzelDataSet::RecordCount()
{
    return RangeBegin == rbFirst && RangeEnd == reCount ? RangeEndCount : 0;
}

bool TzelDataSet::HasField(const QString &fName)
{
    QStringList fields;
    GetFieldList(fields);
    return fields.contains(fName, Qt::CaseInsensitive);
}

void TzelDataSet::Publish(TzelPublisher<TzelDataSet> &p)
{
    using T = TzelDataSet;
    // Published again so that renaming goes through the user-name rule.
    p.Prop("Name", &TzelComponent::Name, &T::SetName).Type("TComponentName");
    p.Prop("Enabled", &T::Enabled).Default(true);
    p.Prop("RangeBegin", &T::RangeBegin).Default(rbFirst);
    p.Prop("RangeEnd", &T::RangeEnd).Default(reLast);
    p.Prop("RangeEndCount", &T::RangeEndCount).Default(0);
    p.Prop("UserName", &T::UserName, &T::SetUserName);
    p.Callback("OnCheckEOF", "TzelCheckEOFEvent");
    p.Callback("OnFirst", "TNotifyEvent");
    p.Callback("OnNext", "TNotifyEvent");
    p.Callback("OnPrior", "TNotifyEvent");
}

QString zelVariantDisplayText(const Variant &value)
{
    if (value.IsNull() || value.IsEmpty() || value.IsArray())
        return QString();
    try {
        return value.ToString();
    } catch (const TzelException &) {
        return QString();
    }
}
