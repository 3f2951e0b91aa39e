#include "script/report/zelscriptbindings.h"

#include "model/report/zelmodelclasses.h"
#include "script/engine/kvscript.h"
#include "script/rtti/kvinirtti.h"
#include "script/report/zelclassrtti.h"

void zelRegisterScriptBindings()
{
    static const bool registered = [] {
        zelRegisterModelClasses(); // the classes the bindings are made from
        kvRegisterIniRTTI();       // with the basic classes the report classes descend from
        kvRegisterRTTIModule([](TkvScript *script) { return std::make_unique<TzelClassRTTI>(script); });
        return true;
    }();
    (void)registered;
}
