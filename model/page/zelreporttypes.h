#pragma once
/// \file

#include "base/core/zelset.h"
#include "model/reflect/zelenuminfo.h"

// Enumerations shared by the report options, the preview and printing.

/// How reported errors reach the user.
ZEL_ENUM(TzelSilentMode, simMessageBoxes, simSilent, simReThrow)
/// How the preview zooms pages.
ZEL_ENUM(TzelZoomMode, zmDefault, zmWholePage, zmPageWidth, zmManyPages)
/// How pages are laid on sheets when printing.
ZEL_ENUM(TzelPrintMode, pmDefault, pmSplit, pmJoin, pmScale)
/// Which pages of a range are printed.
ZEL_ENUM(TzelPrintPages, ppAll, ppOdd, ppEven)
/// Duplex printing.
ZEL_ENUM(TzelDuplexMode, dmNone, dmVertical, dmHorizontal, dmSimplex)

/// The preview's buttons.
ZEL_ENUM(TzelPreviewButton, pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools,
         pbEdit, pbNavigator, pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail, pbCopy, pbPaste, pbSelection,
         pbInplaceEdit)
/// A set of preview buttons.
using TzelPreviewButtons = TzelSet<TzelPreviewButton>;
