#include "model/band/zelbandclasses.h"

#include "model/band/zelchild.h"
#include "model/band/zelcolumnfooter.h"
#include "model/band/zelcolumnheader.h"
#include "model/band/zeldataband4.h"
#include "model/band/zeldataband5.h"
#include "model/band/zeldataband6.h"
#include "model/band/zeldetaildata.h"
#include "model/band/zelfooter.h"
#include "model/band/zelgroupfooter.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelheader.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelnullband.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreportsummary.h"
#include "model/band/zelreporttitle.h"
#include "model/band/zelsubdetaildata.h"
#include "model/reflect/zelclassregistry.h"

void zelRegisterBandClasses()
{
    zelRegisterClass<TzelReportTitle>();
    zelRegisterClass<TzelReportSummary>();
    zelRegisterClass<TzelPageHeader>();
    zelRegisterClass<TzelPageFooter>();
    zelRegisterClass<TzelHeader>();
    zelRegisterClass<TzelFooter>();
    zelRegisterClass<TzelMasterData>();
    zelRegisterClass<TzelDetailData>();
    zelRegisterClass<TzelSubdetailData>();
    zelRegisterClass<TzelDataBand4>();
    zelRegisterClass<TzelDataBand5>();
    zelRegisterClass<TzelDataBand6>();
    zelRegisterClass<TzelGroupHeader>();
    zelRegisterClass<TzelGroupFooter>();
    zelRegisterClass<TzelChild>();
    zelRegisterClass<TzelColumnHeader>();
    zelRegisterClass<TzelColumnFooter>();
    zelRegisterClass<TzelOverlay>();
    zelRegisterClass<TzelNullBand>();
}
