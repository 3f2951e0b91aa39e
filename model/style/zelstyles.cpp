#include "model/style/zelstyles.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmltext.h"
#include "model/component/zelcomponent.h"
#include "model/serial/zelxmlserializer.h"
#include "model/view/zelcustommemoview.h"

#include <QFile>

namespace {

const QString styleElement = QStringLiteral("style");
const QString itemElement = QStringLiteral("item");
const QString inheritedAttr = QStringLiteral("InheritedName");

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The attributes of Style as the serializer writes them (against Ancestor
// when given). Unlike component names, style names are free text, so the
// serializer's raw Name attribute is replaced by an escaped one.
QString entryText(const TzelStyleItem &style, const TzelStyleItem *ancestor)
{
    TzelXMLSerializer serializer;
    QString text = serializer.ObjToXML(&style, QString(), ancestor);
    const QString raw = QStringLiteral(" Name=\"") + style.Name() + u'"';
    if (text.startsWith(raw))
        text.replace(0, raw.size(), QStringLiteral(" Name=\"") + EscapeXMLText(style.Name()) + u'"');
    return text;
}

void readEntry(const TzelXMLItem *item, TzelStyleItem &style, bool oldFormat, QStringList &errors)
{
    TzelXMLSerializer serializer;
    serializer.OldFormat = oldFormat;
    serializer.XMLToObj(item->Text(), &style);
    errors += serializer.Errors.Items();
}

} // namespace

TzelStyles::TzelStyles(TzelComponent *report)
    : FReport(report)
{
}

TzelStyles::~TzelStyles() = default;

TzelStyleItem *TzelStyles::Add()
{
    return Insert(Count(), std::make_unique<TzelStyleItem>(this));
}

TzelStyleItem *TzelStyles::Find(const QString &name) const
{
    // An unnamed style cannot be referred to.
    if (name.isEmpty())
        return nullptr;
    for (const auto &s : FItems)
        if (sameName(s->Name(), name))
            return s.get();
    return nullptr;
}

QStringList TzelStyles::GetList() const
{
    QStringList list;
    for (const auto &s : FItems)
        list << s->Name();
    return list;
}

void TzelStyles::Assign(const TzelStyles &source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto &s : source.FItems)
        Add()->Assign(*s);
}

void TzelStyles::Apply() const
{
    if (!FReport)
        return;
    const QList<TzelComponent *> all = FReport->AllObjects();
    for (TzelComponent *c : all) {
        auto *memo = dynamic_cast<TzelCustomMemoView *>(c);
        if (!memo || memo->Style().isEmpty())
            continue;
        if (Find(memo->Style()))
            memo->SetStyle(memo->Style());
        else
            memo->SetStyle(QString());
    }
}

// Files.

void TzelStyles::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelFileError(
            zelFormat(zelResources().Get(QStringLiteral("ioCantOpen")), {fileName, file.errorString()}));
    LoadFromStream(&file);
}

void TzelStyles::LoadFromStream(QIODevice *stream)
{
    Clear();
    TzelXMLDocument document;
    document.LoadFromStream(stream);
    LoadFromXMLItem(document.Root(), document.OldVersion());
}

void TzelStyles::SaveToFile(const QString &fileName) const
{
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    SaveToXMLItem(document.Root());
    document.SaveToFile(fileName);
}

void TzelStyles::SaveToStream(QIODevice *stream) const
{
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    SaveToXMLItem(document.Root());
    document.SaveToStream(stream);
}

QStringList TzelStyles::LoadFromXMLItem(TzelXMLItem *item, bool oldXMLFormat)
{
    Clear();
    QStringList errors;
    if (!sameName(item->Name(), styleElement))
        return errors;
    Name = item->Prop(QStringLiteral("Name"));
    for (int i = 0; i < item->Count(); ++i) {
        const TzelXMLItem *child = item->Items(i);
        if (sameName(child->Name(), itemElement))
            readEntry(child, *Add(), oldXMLFormat, errors);
    }
    Apply();
    return errors;
}

void TzelStyles::SaveToXMLItem(TzelXMLItem *item) const
{
    item->SetName(styleElement);
    item->SetProp(QStringLiteral("Name"), Name);
    for (const auto &s : FItems)
        item->Add(itemElement)->SetText(entryText(*s, nullptr));
}

// The collection of a template.

void TzelStyles::WriteCollection(TzelXMLItem *parent, const TzelStyles *ancestor) const
{
    if (FItems.empty())
        return;
    TzelXMLItem *list = parent->Add(QStringLiteral("Styles"));
    for (const auto &s : FItems) {
        const TzelStyleItem *inherited = ancestor ? ancestor->Find(s->InheritedName()) : nullptr;
        QString text = entryText(*s, inherited);
        if (inherited)
            text.prepend(u' ' + inheritedAttr + QStringLiteral("=\"") + EscapeXMLText(s->InheritedName()) + u'"');
        list->Add(itemElement)->SetText(text);
    }
}

QStringList TzelStyles::ReadCollection(TzelXMLItem *element)
{
    QStringList errors;
    for (int i = 0; i < element->Count(); ++i) {
        const TzelXMLItem *child = element->Items(i);
        if (child->PropExists(inheritedAttr)) {
            TzelStyleItem *existing = Find(child->Prop(inheritedAttr));
            if (!existing)
                continue;
            readEntry(child, *existing, false, errors);
            existing->IsInherited = true;
            continue;
        }
        readEntry(child, *Add(), false, errors);
    }
    return errors;
}
