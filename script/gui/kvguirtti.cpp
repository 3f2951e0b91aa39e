#include "script/gui/kvguirtti.h"

#include "script/gui/kvdialogsrtti.h"
#include "script/gui/kvformsrtti.h"
#include "script/gui/kvgraphicsrtti.h"
#include "script/rtti/kvclassesrtti.h"

#include <mutex>

void kvRegisterGuiRTTI()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // TObject, TPersistent, TComponent and TStrings come from the basic
        // classes, so every object of a script has the same roots.
        kvRegisterClassesRTTI();
        kvRegisterRTTIModule([](TkvScript *script) { return std::make_unique<TkvGraphicsRTTI>(script); });
        kvRegisterRTTIModule([](TkvScript *script) { return std::make_unique<TkvFormsRTTI>(script); });
        kvRegisterRTTIModule([](TkvScript *script) { return std::make_unique<TkvDialogsRTTI>(script); });
    });
}
