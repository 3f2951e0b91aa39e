#include "engine/core/zelengineclasses.h"

#include "engine/core/zelengine.h"
#include "engine/render/text/zelmemotext.h"
#include "model/report/zelenginefactory.h"
#include "prepared/zelpreviewpages.h"
#include "script/report/zelreportscript.h"
#include "script/report/zelscriptbindings.h"

void zelRegisterEngine()
{
    static const bool registered = [] {
        TzelEngineFactory factory;
        factory.CreateEngine = [](TzelReport *report) { return std::make_unique<TzelEngine>(report); };
        factory.CreatePreviewPages = [](TzelReport *report) { return std::make_unique<TzelPreviewPages>(report); };
        factory.CreateScript = [](TzelReport *report) { return std::make_unique<TzelReportScript>(report); };
        zelRegisterScriptBindings();
        zelSetEngineFactory(std::move(factory));
        zelInstallMemoLayout();
        return true;
    }();
    (void)registered;
}
