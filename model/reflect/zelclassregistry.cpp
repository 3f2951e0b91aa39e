#include "model/reflect/zelclassregistry.h"

#include "model/reflect/zelclassinfo.h"

#include <QHash>
#include <mutex>
#include <shared_mutex>

namespace {

struct Registry
{
    std::shared_mutex lock;
    QHash<QString, const TzelClassInfo *> byName; // keys lower-cased
    QList<const TzelClassInfo *> ordered;
};

Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

void TzelClassRegistry::Register(const TzelClassInfo &info)
{
    Registry &r = registry();
    std::unique_lock guard(r.lock);
    const QString key = info.ClassName().toLower();
    if (r.byName.contains(key))
        return;
    r.byName.insert(key, &info);
    r.ordered << &info;
}

const TzelClassInfo *TzelClassRegistry::Find(QStringView name)
{
    Registry &r = registry();
    std::shared_lock guard(r.lock);
    return r.byName.value(name.toString().toLower(), nullptr);
}

QList<const TzelClassInfo *> TzelClassRegistry::Classes()
{
    Registry &r = registry();
    std::shared_lock guard(r.lock);
    return r.ordered;
}
