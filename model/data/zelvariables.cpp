#include "model/data/zelvariables.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"
#include "model/data/zeldataset.h"

#include <QFile>
#include <algorithm>

namespace {

const QString nameAttr = QStringLiteral("Name");
const QString valueAttr = QStringLiteral("Value");
const QString inheritedAttr = QStringLiteral("InheritedName");
const QString itemElement = QStringLiteral("item");

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void writeEntry(TzelXMLItem *item, const TzelVariable &v, bool inherited)
{
    if (inherited)
        item->SetProp(inheritedAttr, v.Name);
    if (!v.Name.isEmpty())
        item->SetProp(nameAttr, v.Name);
    item->SetProp(valueAttr, zelVariantDisplayText(v.Value));
}

// Applies the attributes an entry carries; a missing one leaves its field.
void readEntry(const TzelXMLItem *item, TzelVariable &v)
{
    if (item->PropExists(nameAttr))
        v.Name = item->Prop(nameAttr);
    if (item->PropExists(valueAttr))
        v.Value = Variant(item->Prop(valueAttr));
}

} // namespace

TzelVariables::TzelVariables() = default;

TzelVariables::~TzelVariables() = default;

TzelVariable *TzelVariables::Insert(int index)
{
    return TzelOwnedList::Insert(index, std::make_unique<TzelVariable>());
}

int TzelVariables::IndexOf(const QString &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (sameName(FItems[size_t(i)]->Name, name))
            return i;
    return -1;
}

Variant TzelVariables::Value(const QString &name) const
{
    const int i = IndexOf(name);
    return i < 0 ? Variant::Null() : FItems[size_t(i)]->Value;
}

void TzelVariables::SetValue(const QString &name, const Variant &value)
{
    const int i = IndexOf(name);
    TzelVariable *v = i < 0 ? Add() : Items(i);
    if (i < 0)
        v->Name = name;
    v->Value = value;
}

void TzelVariables::Assign(const TzelVariables &source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto &v : source.FItems)
        FItems.push_back(std::make_unique<TzelVariable>(*v));
}

int TzelVariables::FindCategory(const QString &category) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->IsCategory() && sameName(FItems[size_t(i)]->CategoryName(), category))
            return i;
    return -1;
}

int TzelVariables::CategoryEnd(int heading) const
{
    int i = heading + 1;
    while (i < Count() && !FItems[size_t(i)]->IsCategory())
        ++i;
    return i;
}

void TzelVariables::GetCategoriesList(QStringList &list, bool clearList) const
{
    if (clearList)
        list.clear();
    for (const auto &v : FItems)
        if (v->IsCategory())
            list << v->CategoryName();
}

void TzelVariables::GetVariablesList(const QString &category, QStringList &list) const
{
    list.clear();
    int begin = 0;
    if (!category.isEmpty()) {
        const int heading = FindCategory(category);
        if (heading < 0)
            return;
        begin = heading + 1;
    }
    for (int i = begin; i < Count() && !FItems[size_t(i)]->IsCategory(); ++i)
        list << FItems[size_t(i)]->Name;
}

void TzelVariables::AddVariable(const QString &category, const QString &name, const Variant &value)
{
    // The part before the first heading serves as the category without a name.
    const int heading = category.isEmpty() ? -1 : FindCategory(category);
    if (!category.isEmpty() && heading < 0)
        return;
    for (const auto &v : FItems)
        if (!v->IsCategory() && sameName(v->Name, name)) {
            v->Value = value;
            return;
        }
    TzelVariable *v = Insert(CategoryEnd(heading));
    v->Name = name;
    v->Value = value;
}

void TzelVariables::DeleteCategory(const QString &name)
{
    const int heading = FindCategory(name);
    if (heading >= 0)
        FItems.erase(FItems.begin() + heading, FItems.begin() + CategoryEnd(heading));
}

void TzelVariables::DeleteVariable(const QString &name)
{
    for (auto it = FItems.begin(); it != FItems.end(); ++it)
        if (!(*it)->IsCategory() && sameName((*it)->Name, name)) {
            FItems.erase(it);
            return;
        }
}

void TzelVariables::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(zelResources().Get(QStringLiteral("ioCantOpen")), {fileName, file.errorString()}));
    LoadFromStream(&file);
}

void TzelVariables::LoadFromStream(QIODevice *stream)
{
    TzelXMLDocument document;
    document.LoadFromStream(stream);
    LoadFromXMLItem(document.Root(), document.OldVersion());
}

void TzelVariables::LoadFromXMLItem(TzelXMLItem *item, bool)
{
    // The XML layer has decoded old 8-bit documents already, so both formats
    // read the same way here.
    std::vector<std::unique_ptr<TzelVariable>> read;
    for (int i = 0; i < item->Count(); ++i) {
        const TzelXMLItem *child = item->Items(i);
        if (!sameName(child->Name(), itemElement))
            continue;
        auto v = std::make_unique<TzelVariable>();
        readEntry(child, *v);
        read.push_back(std::move(v));
    }
    FItems = std::move(read);
}

void TzelVariables::SaveToFile(const QString &fileName) const
{
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    document.Root()->SetName(QStringLiteral("variables"));
    SaveToXMLItem(document.Root());
    document.SaveToFile(fileName);
}

void TzelVariables::SaveToStream(QIODevice *stream) const
{
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    document.Root()->SetName(QStringLiteral("variables"));
    SaveToXMLItem(document.Root());
    document.SaveToStream(stream);
}

void TzelVariables::SaveToXMLItem(TzelXMLItem *item) const
{
    for (const auto &v : FItems)
        writeEntry(item->Add(itemElement), *v, false);
}

void TzelVariables::WriteCollection(TzelXMLItem *parent, const TzelVariables *ancestor) const
{
    if (FItems.empty())
        return;
    TzelXMLItem *list = parent->Add(QStringLiteral("Variables"));
    for (const auto &v : FItems)
        writeEntry(list->Add(itemElement), *v, ancestor && !v->Name.isEmpty() && ancestor->IndexOf(v->Name) >= 0);
}

void TzelVariables::ReadCollection(TzelXMLItem *element)
{
    for (int i = 0; i < element->Count(); ++i) {
        const TzelXMLItem *child = element->Items(i);
        if (child->PropExists(inheritedAttr)) {
            const int existing = IndexOf(child->Prop(inheritedAttr));
            if (existing < 0)
                continue;
            TzelVariable *v = Items(existing);
            readEntry(child, *v);
            v->IsInherited = true;
            continue;
        }
        readEntry(child, *Add());
    }
}

TzelVariables &zelGlobalVariables()
{
    static TzelVariables variables;
    return variables;
}
