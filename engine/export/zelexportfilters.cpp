#include "engine/export/zelexportfilters.h"

#include "engine/export/zelpdfexport.h"
#include "engine/export/zelpngexport.h"
#include "engine/export/zelsvgexport.h"

void zelRegisterExportFilters()
{
    // Made on first use and kept for the process, as the filter list expects.
    static const TzelPDFExport pdf;
    static const TzelPNGExport png;
    static const TzelSVGExport svg;
}
