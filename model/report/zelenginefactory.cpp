#include "model/report/zelenginefactory.h"

namespace {
TzelEngineFactory &Factory()
{
    static TzelEngineFactory factory;
    return factory;
}
} // namespace

void zelSetEngineFactory(TzelEngineFactory factory)
{
    Factory() = std::move(factory);
}

const TzelEngineFactory &zelEngineFactory()
{
    return Factory();
}
