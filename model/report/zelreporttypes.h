#pragma once

// Enumerations shared by the report options, the preview and printing.

/// How reported errors reach the user.
enum TzelSilentMode { simMessageBoxes, simSilent, simReThrow };
/// How the preview zooms pages.
enum TzelZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
/// How pages are laid on sheets when printing.
enum TzelPrintMode { pmDefault, pmSplit, pmJoin, pmScale };
/// Which pages of a range are printed.
enum TzelPrintPages { ppAll, ppOdd, ppEven };
/// Duplex printing.
enum TzelDuplexMode { dmNone, dmVertical, dmHorizontal, dmSimplex };

/// The preview's buttons; a set of them is a bit mask with bit n for value n.
enum TzelPreviewButton {
    pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit,
    pbNavigator, pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail, pbCopy, pbPaste, pbSelection,
    pbInplaceEdit
};
/// A set of preview buttons.
using TzelPreviewButtons = unsigned;

/// The bit of Button in a TzelPreviewButtons set.
constexpr TzelPreviewButtons zelButton(TzelPreviewButton button) { return 1u << unsigned(button); }
