#include "script/engine/kvobjects.h"

#include "script/engine/kvrunerror.h"

#include <QHash>
#include <QRecursiveMutex>

#include <climits>

TkvObjectType::~TkvObjectType() = default;

Variant TkvObjectType::FindComponent(void *, const QString &) const
{
    return Variant::Null();
}

QList<QPair<QString, Variant>> TkvObjectType::Components(void *) const
{
    return {};
}

namespace {

// The handle a value holds: a whole number of one of the integer types.
bool handleOf(const Variant &value, int &handle)
{
    switch (value.VarType()) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64: {
        const qint64 h = value.ToInt64();
        handle = int(h);
        return h > 0 && h <= INT_MAX;
    }
    default:
        return false;
    }
}

struct Entry
{
    void *Object;
    std::type_index StaticType;
    const TkvObjectType *Type;
    std::function<bool()> Alive; // empty for owned objects
    std::shared_ptr<void> Owned;

    bool IsAlive() const { return Owned || (Alive && Alive()); }
};

struct Table
{
    QRecursiveMutex Lock;
    QHash<int, Entry> Entries;
    QHash<void *, int> Handles;
    int Next = 1;
    int SinceSweep = 0;

    // Forgets the entries of objects that are gone, so the table does not
    // grow with every object a long build hands to its script.
    void Sweep()
    {
        for (auto it = Entries.begin(); it != Entries.end();) {
            if (it->IsAlive()) {
                ++it;
                continue;
            }
            Handles.remove(it->Object);
            it = Entries.erase(it);
        }
        SinceSweep = 0;
    }

    const Entry *At(const Variant &value)
    {
        int handle = 0;
        if (!handleOf(value, handle))
            return nullptr;
        const auto it = Entries.constFind(handle);
        return it != Entries.cend() && it->IsAlive() ? &*it : nullptr;
    }
};

Table &table()
{
    static Table t;
    return t;
}

} // namespace

bool TkvObjects::IsNil(const Variant &value)
{
    switch (value.VarType()) {
    case varEmpty: case varNull:
        return true;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64: case varSingle: case varDouble:
        return value.ToDouble() == 0;
    default:
        return false;
    }
}

Variant TkvObjects::Insert(void *object, std::type_index staticType, const TkvObjectType *type,
                           std::function<bool()> alive, std::shared_ptr<void> owned)
{
    if (!object)
        return Variant(0);
    Table &t = table();
    const QMutexLocker lock(&t.Lock);
    if (const auto it = t.Handles.constFind(object); it != t.Handles.cend()) {
        const auto entry = t.Entries.find(*it);
        if (entry->IsAlive() && entry->StaticType == staticType)
            return Variant(*it);
        t.Entries.erase(entry); // a new object where a freed one was
    }
    if (++t.SinceSweep >= 4096)
        t.Sweep();
    const int handle = t.Next++;
    t.Entries.insert(handle, Entry{object, staticType, type, std::move(alive), std::move(owned)});
    t.Handles.insert(object, handle);
    return Variant(handle);
}

int TkvObjects::Existing(void *object, std::type_index staticType)
{
    if (!object)
        return 0;
    Table &t = table();
    const QMutexLocker lock(&t.Lock);
    const auto it = t.Handles.constFind(object);
    if (it == t.Handles.cend())
        return 0;
    const auto entry = t.Entries.constFind(*it);
    return entry->StaticType == staticType && entry->IsAlive() ? *it : 0;
}

void *TkvObjects::Find(const Variant &value, std::type_index staticType)
{
    Table &t = table();
    const QMutexLocker lock(&t.Lock);
    const Entry *entry = t.At(value);
    return entry && entry->StaticType == staticType ? entry->Object : nullptr;
}

void *TkvObjects::Lookup(const Variant &value, std::type_index staticType)
{
    if (IsNil(value))
        return nullptr;
    if (void *object = Find(value, staticType))
        return object;
    RaiseInvalid();
}

void TkvObjects::RaiseInvalid()
{
    TkvRunError::Raise("SInvalidObject");
}

QString TkvObjects::ClassName(const Variant &value)
{
    void *object = nullptr;
    const TkvObjectType *type = TypeOf(value, &object);
    return type ? type->ClassName(object) : QString();
}

const TkvObjectType *TkvObjects::TypeOf(const Variant &value, void **object)
{
    Table &t = table();
    const QMutexLocker lock(&t.Lock);
    const Entry *entry = t.At(value);
    if (!entry)
        return nullptr;
    *object = entry->Object;
    return entry->Type;
}

Variant TkvObjects::FindComponent(const Variant &owner, const QString &name)
{
    void *object = nullptr;
    const TkvObjectType *type = TypeOf(owner, &object);
    return type ? type->FindComponent(object, name) : Variant::Null();
}

void TkvObjects::Free(const Variant &value)
{
    std::shared_ptr<void> owned; // freed after the lock is released
    Table &t = table();
    {
        const QMutexLocker lock(&t.Lock);
        int handle = 0;
        if (!handleOf(value, handle))
            return;
        const auto it = t.Entries.find(handle);
        if (it == t.Entries.end() || !it->Owned)
            return;
        owned = std::move(it->Owned);
        t.Handles.remove(it->Object);
        t.Entries.erase(it);
    }
}
