#include "prepared/zeldictionary.h"

void TzelDictionary::Add(const QString &name, const QString &sourceName, TzelComponent *obj)
{
    if (FNames.contains(name))
        return;
    FSources.push_back({sourceName, obj});
    FNames.emplace(name, int(FSources.size()) - 1);
    for (auto &[base, count] : FBaseCounts)
        if (InRange(base, name))
            ++count;
}

// Whether Name sorts among the names of Base followed by a digit.
bool TzelDictionary::InRange(const QString &base, const QString &name)
{
    return name >= base + u'0' && name < base + u'A';
}

QString TzelDictionary::AddUnique(const QString &base, const QString &sourceName, TzelComponent *obj)
{
    const QString name = CreateUniqueName(base);
    Add(name, sourceName, obj);
    return name;
}

bool TzelDictionary::Taken(const QString &base, int n) const
{
    return FNames.contains(base + QString::number(n));
}

// Names of one base are mostly made in a row (b1, b2, ...), so the search
// starts at the number of names of that base instead of at 1: it steps down
// over free numbers below the start, then up to the first free one.
QString TzelDictionary::CreateUniqueName(const QString &base) const
{
    int n = 1;
    if (FNames.size() >= 4) {
        // Counted once per base, then kept up by Add: counting the map's
        // range each time would make naming quadratic.
        auto it = FBaseCounts.find(base);
        if (it == FBaseCounts.end()) {
            const auto from = FNames.lower_bound(base + u'0');
            const auto to = FNames.lower_bound(base + u'A');
            it = FBaseCounts.emplace(base, int(std::distance(from, to))).first;
        }
        n = std::max(1, it->second);
    }
    while (n > 1 && !Taken(base, n - 1))
        --n;
    while (Taken(base, n))
        ++n;
    return base + QString::number(n);
}

TzelComponent *TzelDictionary::GetObject(const QString &name) const
{
    const auto it = FNames.find(name);
    return it == FNames.end() ? nullptr : FSources[size_t(it->second)].Object;
}

QString TzelDictionary::GetSourceName(const QString &name) const
{
    const auto it = FNames.find(name);
    return it == FNames.end() ? QString() : FSources[size_t(it->second)].Name;
}

void TzelDictionary::Clear()
{
    FBaseCounts.clear();
    FNames.clear();
    FSources.clear();
}
