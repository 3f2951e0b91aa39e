#include "model/component/zelnameindex.h"

namespace {

inline char16_t fold(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    return QChar(c).toCaseFolded().unicode();
}

} // namespace

size_t TzelNameIndex::Hash::operator()(const QString &s) const
{
    size_t h = 14695981039346656037ull;
    for (QChar c : s)
        h = (h ^ fold(c.unicode())) * 1099511628211ull;
    return h;
}

bool TzelNameIndex::Equal::operator()(const QString &a, const QString &b) const
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (fold(a.at(i).unicode()) != fold(b.at(i).unicode()))
            return false;
    return true;
}

void TzelNameIndex::Add(const QString &name, TzelComponent *component)
{
    auto [it, inserted] = FEntries.emplace(name, component);
    if (!inserted && !it->second)
        it->second = component;
}

void TzelNameIndex::Remove(const QString &name, const TzelComponent *component)
{
    const auto it = FEntries.find(name);
    if (it != FEntries.end() && it->second == component)
        FEntries.erase(it);
}

TzelComponent *TzelNameIndex::Find(const QString &name) const
{
    const auto it = FEntries.find(name);
    return it == FEntries.end() ? nullptr : it->second;
}

int TzelNameIndex::CountBetween(const QString &low, const QString &high) const
{
    int n = 0;
    for (const auto &entry : FEntries)
        if (entry.first.compare(low, Qt::CaseInsensitive) > 0 && entry.first.compare(high, Qt::CaseInsensitive) < 0)
            ++n;
    return n;
}
