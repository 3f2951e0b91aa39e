#include "model/component/zelnameindex.h"

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
