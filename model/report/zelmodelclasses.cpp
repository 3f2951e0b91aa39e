#include "model/report/zelmodelclasses.h"

#include "model/component/zelreportcomponent.h"
#include "model/reflect/zelclassregistry.h"
#include "model/report/zelreport.h"

#include <mutex>

void zelRegisterModelClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        zelRegisterClass<TzelReport>();
    });
}
