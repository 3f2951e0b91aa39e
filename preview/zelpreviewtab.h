#pragma once
/// \file

#include "model/page/zelreporttypes.h"

#include <QPoint>
#include <QString>
#include <memory>

class TzelCustomPreviewPages;
class TzelReport;

/// One built report shown in a tab of the preview, with where the view
/// stood when another tab was chosen.
struct TzelPreviewTabItem
{
    QString Name;                          ///< the tab's name (HasTab, SwitchToTab)
    QPoint Offset;                         ///< the scroll position
    int PageNo = 1;                        ///< the current page
    int ThumbTop = 0;                      ///< the thumbnails' scroll position
    TzelReport *Report = nullptr;          ///< the report shown
    TzelCustomPreviewPages *PreviewPages = nullptr; ///< its pages shown here
    QString DetailPage;                    ///< the page a detail tab builds; empty for a whole report
    double Zoom = 1;                       ///< the zoom
    TzelZoomMode ZoomMode = zmDefault;     ///< the zoom mode
    std::unique_ptr<TzelReport> Owned;     ///< the report, when the tab owns it
};
