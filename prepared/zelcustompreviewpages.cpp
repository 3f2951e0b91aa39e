#include "prepared/zelcustompreviewpages.h"

#include "prepared/zelcustomoutline.h"
#include "prepared/zelpostprocessor.h"

TzelCustomPreviewPages::TzelCustomPreviewPages(TzelReport *report)
    : FReport(report), FPostProcessor(std::make_unique<TzelPostProcessor>())
{
}

TzelCustomPreviewPages::~TzelCustomPreviewPages() = default;
