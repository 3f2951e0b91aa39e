#include "base/xml/zelxmlitem.h"

#include "base/xml/zelxmltext.h"

#include <algorithm>

namespace {

inline bool sameLetter(char16_t a, char16_t b)
{
    if (a == b)
        return true;
    if (a < 128 && b < 128) {
        // ASCII letters differ by 0x20 only; anything else differs for real.
        const char16_t la = char16_t(a | 0x20);
        return la == char16_t(b | 0x20) && la >= u'a' && la <= u'z';
    }
    return QChar::toUpper(a) == QChar::toUpper(b);
}

} // namespace

TzelXMLItem::TzelXMLItem() = default;

TzelXMLItem::~TzelXMLItem()
{
    Clear();
    Detach();
}

void TzelXMLItem::Detach()
{
    if (!FParent)
        return;
    auto &siblings = FParent->FItems;
    // Elements are mostly freed from the end, so look there first.
    auto it = std::find(siblings.rbegin(), siblings.rend(), this);
    if (it != siblings.rend())
        siblings.erase(std::next(it).base());
    FParent = nullptr;
}

TzelXMLItem *TzelXMLItem::Add()
{
    auto *item = new TzelXMLItem;
    item->FParent = this;
    FItems.push_back(item);
    return item;
}

TzelXMLItem *TzelXMLItem::Add(const QString &name)
{
    TzelXMLItem *item = Add();
    item->FName = name;
    return item;
}

void TzelXMLItem::AddItem(TzelXMLItem *item)
{
    InsertItem(Count(), item);
}

void TzelXMLItem::InsertItem(int index, TzelXMLItem *item)
{
    if (!item)
        return;
    // Adopting an ancestor (or itself) would make a cycle; refuse quietly.
    for (const TzelXMLItem *p = this; p; p = p->FParent)
        if (p == item)
            return;
    item->Detach();
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
}

int TzelXMLItem::Find(const QString &name) const
{
    for (size_t i = 0; i < FItems.size(); ++i) {
        const QString &n = FItems[i]->FName;
        if (n.size() == name.size() && n.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

TzelXMLItem *TzelXMLItem::FindItem(const QString &name)
{
    const int i = Find(name);
    return i >= 0 ? FItems[size_t(i)] : Add(name);
}

int TzelXMLItem::IndexOf(const TzelXMLItem *item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TzelXMLItem *TzelXMLItem::Root()
{
    TzelXMLItem *p = this;
    while (p->FParent)
        p = p->FParent;
    return p;
}

void TzelXMLItem::Clear()
{
    std::vector<TzelXMLItem *> items;
    items.swap(FItems);
    for (TzelXMLItem *item : items) {
        item->FParent = nullptr; // already out of our list
        delete item;
    }
    if (FUnloadable)
        FLoaded = false;
}

void TzelXMLItem::Assign(const TzelXMLItem &source)
{
    Clear();
    FName = source.FName;
    FText = source.FText;
    FValue = source.FValue;
    FData = source.FData;
    for (const TzelXMLItem *child : source.FItems)
        Add()->Assign(*child);
}

// Position of attribute Name in the text: a case-insensitive match that starts
// the text or follows a blank and is followed by '="'. Scans the text in place.
qsizetype TzelXMLItem::FindProp(QStringView name) const
{
    const QStringView text(FText);
    const qsizetype n = name.size();
    const char16_t *t = text.utf16();
    const char16_t *nm = name.utf16();
    // Whether the attribute at Start is Name.
    const auto named = [&](qsizetype start) {
        if (start + n + 1 >= text.size() || t[start + n] != u'=' || t[start + n + 1] != u'"')
            return false;
        qsizetype k = 0;
        while (k < n && sameLetter(t[start + k], nm[k]))
            ++k;
        return k == n;
    };
    // The first attribute is tried before any search: elements are mostly
    // looked up by the one they start with (the name).
    if (named(0))
        return 0;
    for (qsizetype eq = text.indexOf(u'=', n); eq >= 0; eq = text.indexOf(u'=', eq + 1)) {
        const qsizetype start = eq - n;
        if (start > 0 && t[start - 1] == u' ' && named(start))
            return start;
    }
    return -1;
}

QString TzelXMLItem::Prop(const QString &name) const
{
    const qsizetype start = FindProp(name);
    if (start < 0)
        return QString();
    const qsizetype value = start + name.size() + 2;
    qsizetype end = FText.indexOf(u'"', value);
    if (end < 0)
        end = FText.size();
    return UnescapeXMLText(QStringView(FText).sliced(value, end - value));
}

bool TzelXMLItem::PropExists(const QString &name) const
{
    return FindProp(name) >= 0;
}

void TzelXMLItem::SetProp(const QString &name, const QString &value)
{
    const QString escaped = EscapeXMLText(value);
    const qsizetype start = FindProp(name);
    if (start < 0) {
        if (!FText.isEmpty() && !FText.endsWith(u' '))
            FText += u' ';
        FText += name;
        FText += QLatin1StringView("=\"");
        FText += escaped;
        FText += u'"';
        return;
    }
    const qsizetype quote = FText.indexOf(u'"', start + name.size() + 2);
    const qsizetype end = quote < 0 ? FText.size() : quote + 1;
    // Name and opening quote are rewritten too, taking the caller's letters.
    FText.replace(start, end - start,
        name + QLatin1StringView("=\"") + escaped + u'"');
}

void TzelXMLItem::DeleteProp(const QString &name)
{
    const qsizetype start = FindProp(name);
    if (start < 0)
        return;
    const qsizetype value = start + name.size() + 2;
    const qsizetype quote = FText.indexOf(u'"', value);
    // The attribute through its closing quote, and the blank after it.
    const qsizetype end = quote < 0 ? FText.size() : std::min(quote + 2, FText.size());
    FText.remove(start, end - start);
}
