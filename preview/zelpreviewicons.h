#pragma once
/// \file

#include <QIcon>

/// The pictures of the preview's buttons.
enum TzelPreviewIcon {
    piOpen, piSave, piPdf, piFind, piZoomIn, piZoomOut, piFullScreen, piOutline, piThumbnails, piFirst, piPrior,
    piNext, piLast, piCollapse, piExpand
};

/// The icon of a preview button, drawn at 16 × 16 (and twice that).
QIcon zelPreviewIcon(TzelPreviewIcon icon);
