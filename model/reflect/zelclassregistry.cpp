#include "model/reflect/zelclassregistry.h"

#include "model/reflect/zelclassinfo.h"

#include "base/core/zelcaseless.h"

#include <QList>
#include <unordered_map>
#include <mutex>
#include <shared_mutex>

namespace {

struct Registry
{
    std::shared_mutex lock;
    std::unordered_map<QString, const TzelClassInfo *, TzelCaselessHash, TzelCaselessEqual> byName;
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
    if (!r.byName.emplace(info.ClassName(), &info).second)
        return;
    r.ordered << &info;
}

const TzelClassInfo *TzelClassRegistry::Find(QStringView name)
{
    Registry &r = registry();
    std::shared_lock guard(r.lock);
    const auto it = r.byName.find(name);
    return it == r.byName.end() ? nullptr : it->second;
}

QList<const TzelClassInfo *> TzelClassRegistry::Classes()
{
    Registry &r = registry();
    std::shared_lock guard(r.lock);
    return r.ordered;
}
