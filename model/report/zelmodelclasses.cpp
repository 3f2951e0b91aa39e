#include "model/report/zelmodelclasses.h"

#include "model/band/zelbandclasses.h"
#include "model/component/zelreportcomponent.h"
#include "model/data/zelcsvdataset.h"
#include "model/data/zeluserdataset.h"
#include "model/page/zelpageclasses.h"
#include "model/reflect/zelclassregistry.h"
#include "model/report/zelreport.h"
#include "model/view/zelviewclasses.h"

#include <mutex>

void zelRegisterModelClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        zelRegisterClass<TzelReport>();
        zelRegisterPageClasses();
        zelRegisterBandClasses();
        zelRegisterViewClasses();
        zelRegisterClass<TzelUserDataSet>();
        zelRegisterClass<TzelCSVDataSet>();
    });
}
