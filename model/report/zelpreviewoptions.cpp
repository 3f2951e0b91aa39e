#include "model/report/zelpreviewoptions.h"

void TzelPreviewOptions::Clear()
{
    OutlineExpand = true;
    OutlineVisible = false;
    OutlineWidth = 120;
    PagesInCache = 50;
    ThumbnailVisible = false;
}
