#include "script/engine/kvrttimodule.h"

#include <QMutex>

#include "script/rtti/kvsysfunctions.h"

TkvRTTIModule::~TkvRTTIModule() = default;

namespace {

std::vector<TkvRTTIModuleFactory> &registry()
{
    static std::vector<TkvRTTIModuleFactory> modules{
        [](TkvScript *script) { return std::make_unique<TkvSysFunctions>(script); }};
    return modules;
}

} // namespace

namespace {

QMutex &registryLock()
{
    static QMutex lock;
    return lock;
}

} // namespace

void kvRegisterRTTIModule(TkvRTTIModuleFactory factory)
{
    const QMutexLocker lock(&registryLock());
    registry().push_back(std::move(factory));
}

std::vector<TkvRTTIModuleFactory> kvRTTIModules()
{
    const QMutexLocker lock(&registryLock());
    return registry();
}

size_t kvRTTIModuleCount()
{
    const QMutexLocker lock(&registryLock());
    return registry().size();
}
