#include "model/page/zelpageclasses.h"

#include "model/page/zeldatapage.h"
#include "model/page/zeldialogpage.h"
#include "model/page/zelreportpage.h"
#include "model/reflect/zelclassregistry.h"

void zelRegisterPageClasses()
{
    zelRegisterClass<TzelReportPage>();
    zelRegisterClass<TzelDataPage>();
    zelRegisterClass<TzelDialogPage>();
}
