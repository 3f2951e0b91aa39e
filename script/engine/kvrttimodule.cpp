#include "script/engine/kvrttimodule.h"

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

void kvRegisterRTTIModule(TkvRTTIModuleFactory factory)
{
    registry().push_back(std::move(factory));
}

const std::vector<TkvRTTIModuleFactory> &kvRTTIModules()
{
    return registry();
}
