#pragma once

#include <QIcon>

/// The pictures of the preview's buttons.
enum TzelPreviewIcon {
    piPrint, piOpen, piSave, piPdf, piMail, piFind, piZoomIn, piZoomOut, piFullScreen, piOutline, piThumbnails,
    piPageSettings, piEdit, piFirst, piPrior, piNext, piLast, piCollapse, piExpand
};

/// The icon of a preview button, drawn at 16 × 16 (and twice that).
QIcon zelPreviewIcon(TzelPreviewIcon icon);
