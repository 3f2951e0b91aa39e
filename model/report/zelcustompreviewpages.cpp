#include "model/report/zelcustompreviewpages.h"

TzelCustomPreviewPages::TzelCustomPreviewPages(TzelReport *report) : FReport(report) {}

TzelCustomPreviewPages::~TzelCustomPreviewPages() = default;
