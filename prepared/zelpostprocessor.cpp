#include "prepared/zelpostprocessor.h"

#include "base/xml/zelxmlitem.h"
#include "prepared/zelitemattributes.h"

int TzelPostProcessor::Add(const QString &name, const QString &content, bool ready)
{
    auto it = FMacros.find(name);
    if (it == FMacros.end()) {
        it = FMacros.insert(name, Macro());
        FOrder.append(name);
    }
    it->Contents.append(content);
    it->Ready.push_back(ready);
    return int(it->Contents.size()) - 1;
}

void TzelPostProcessor::Complete(const QString &name, const QString &content)
{
    auto it = FMacros.find(name);
    if (it == FMacros.end() || it->Contents.isEmpty())
        return;
    it->Contents.last() = content;
    it->Ready.back() = true;
}

const QStringList *TzelPostProcessor::GetMacroList(const QString &name) const
{
    const auto it = FMacros.constFind(name);
    return it == FMacros.cend() ? nullptr : &it->Contents;
}

QString TzelPostProcessor::GetValue(const QString &name, int index) const
{
    const auto it = FMacros.constFind(name);
    if (it == FMacros.cend() || index < 0 || index >= it->Contents.size() || !it->Ready[size_t(index)])
        return QString();
    return it->Contents.at(index);
}

void TzelPostProcessor::SaveToXML(TzelXMLItem *item) const
{
    item->Clear();
    for (const QString &name : FOrder) {
        TzelXMLItem *macro = item->Add(name);
        for (const QString &content : FMacros.value(name).Contents)
            macro->Add(QStringLiteral("i"))->SetProp(QStringLiteral("cnt"), content);
    }
}

// A saved report is complete: every value read back counts as ready.
void TzelPostProcessor::LoadFromXML(const TzelXMLItem *item)
{
    Clear();
    for (int i = 0; i < item->Count(); ++i) {
        const TzelXMLItem *macro = item->Items(i);
        for (int j = 0; j < macro->Count(); ++j)
            Add(macro->Name(), zelAttr(macro->Items(j), QStringLiteral("cnt")), true);
    }
}

void TzelPostProcessor::Clear()
{
    FMacros.clear();
    FOrder.clear();
}
