#include "model/reflect/zelclassinfo.h"

#include "model/reflect/zelpersistent.h"

namespace {

// Property names are ASCII identifiers; folding case by hand keeps lookups
// free of allocations.
inline char16_t fold(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

bool sameFolded(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (fold(a[i].unicode()) != fold(b[i].unicode()))
            return false;
    return true;
}

size_t foldedHash(QStringView name)
{
    size_t h = 14695981039346656037ull;
    for (QChar c : name)
        h = (h ^ fold(c.unicode())) * 1099511628211ull;
    return h;
}

} // namespace

TzelClassInfo::TzelClassInfo(QString name, const TzelClassInfo *base, std::vector<TzelPropInfo> own,
                             Factory create)
    : FName(std::move(name)), FBase(base), FOwn(std::move(own)), FCreate(create)
{
    if (FBase)
        FAll = FBase->FAll;
    for (TzelPropInfo &p : FOwn) {
        // A class may publish again a property of its base under the same name
        // (to change its default): the new declaration takes the old place.
        auto same = std::find_if(FAll.begin(), FAll.end(), [&](const TzelPropInfo *q) {
            return q->Name.compare(p.Name, Qt::CaseInsensitive) == 0;
        });
        if (same != FAll.end()) {
            p.Index = (*same)->Index;
            *same = &p;
        } else {
            p.Index = int(FAll.size());
            FAll.push_back(&p);
        }
    }
    size_t capacity = 8;
    while (capacity < FAll.size() * 2)
        capacity *= 2;
    FSlots.resize(capacity);
    for (const TzelPropInfo *p : FAll) {
        const size_t h = foldedHash(p->Name);
        size_t i = h & (capacity - 1);
        while (FSlots[i].prop)
            i = (i + 1) & (capacity - 1);
        FSlots[i] = {h, p};
    }
}

TzelClassInfo::~TzelClassInfo() = default;

bool TzelClassInfo::InheritsFrom(const TzelClassInfo &other) const
{
    for (const TzelClassInfo *c = this; c; c = c->FBase)
        if (c == &other)
            return true;
    return false;
}

bool TzelClassInfo::InheritsFrom(QStringView name) const
{
    for (const TzelClassInfo *c = this; c; c = c->FBase)
        if (name.compare(c->FName, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

const TzelPropInfo *TzelClassInfo::FindProperty(QStringView name) const
{
    const size_t h = foldedHash(name);
    const size_t mask = FSlots.size() - 1;
    for (size_t i = h & mask; FSlots[i].prop; i = (i + 1) & mask) {
        const Slot &s = FSlots[i];
        if (s.hash == h && sameFolded(name, s.prop->Name))
            return s.prop;
    }
    return nullptr;
}
