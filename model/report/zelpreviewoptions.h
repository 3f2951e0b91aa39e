#pragma once
/// \file

#include "model/reflect/zelpersistent.h"
#include "model/page/zelreporttypes.h"

/// Options of the preview window.
class TzelPreviewOptions : public TzelPersistent
{
    ZEL_CLASS(TzelPreviewOptions, TzelPersistent)

    /// Every button up to pbExportQuick, plus pbCopy and pbSelection.
    static constexpr TzelPreviewButtons DefaultButtons = TzelPreviewButtons::FromBits(
        ((1u << (unsigned(pbExportQuick) + 1)) - 1) | (1u << pbCopy) | (1u << pbSelection));

    bool AllowEdit = true;          ///< the user may edit pages in the designer
    bool AllowPreviewEdit = true;   ///< the user may edit objects in place
    TzelPreviewButtons Buttons = DefaultButtons; ///< buttons shown on the tool bar
    bool DoubleBuffered = true;     ///< paint through an off-screen bitmap
    bool Maximized = true;          ///< the window opens maximised
    bool MDIChild = false;          ///< the window is an MDI child
    bool Modal = true;              ///< the window is shown modally
    bool OutlineExpand = true;      ///< the outline opens expanded
    bool OutlineVisible = false;    ///< the outline pane is shown
    int OutlineWidth = 120;         ///< width of the outline pane
    int PagesInCache = 50;          ///< rebuilt pages kept in memory
    bool ThumbnailVisible = false;  ///< the thumbnail pane is shown
    bool ShowCaptions = false;      ///< tool bar buttons show captions
    double Zoom = 1.0;              ///< zoom factor
    TzelZoomMode ZoomMode = zmDefault; ///< zoom mode
    bool PictureCacheInFile = false; ///< the picture cache lives in a temporary file
    bool RTLPreview = false;        ///< pages are shown right to left

    /// Resets the options a new template starts with.
    void Clear();

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelPreviewOptions> &p);
};
