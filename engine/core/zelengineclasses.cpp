#include "engine/core/zelengineclasses.h"

#include "engine/core/zelengine.h"
#include "engine/render/text/zelmemotext.h"
#include "model/report/zelenginefactory.h"
#include "prepared/zelpreviewpages.h"

void zelRegisterEngine()
{
    static const bool registered = [] {
        TzelEngineFactory factory;
        factory.CreateEngine = [](TzelReport *report) { return std::make_unique<TzelEngine>(report); };
        factory.CreatePreviewPages = [](TzelReport *report) { return std::make_unique<TzelPreviewPages>(report); };
        zelSetEngineFactory(std::move(factory));
        zelInstallMemoLayout();
        return true;
    }();
    (void)registered;
}
