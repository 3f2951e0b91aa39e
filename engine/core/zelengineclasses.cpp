#include "engine/core/zelengineclasses.h"

#include "engine/core/zelengine.h"
#include "model/report/zelenginefactory.h"
#include "prepared/zelpreviewpages.h"

void zelRegisterEngine()
{
    static const bool registered = [] {
        TzelEngineFactory factory;
        factory.CreateEngine = [](TzelReport *report) { return std::make_unique<TzelEngine>(report); };
        factory.CreatePreviewPages = [](TzelReport *report) { return std::make_unique<TzelPreviewPages>(report); };
        zelSetEngineFactory(std::move(factory));
        return true;
    }();
    (void)registered;
}
