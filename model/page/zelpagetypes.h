#pragma once
/// \file

#include "model/reflect/zelenuminfo.h"

// Enumerations of pages.

/// Paper orientation.
ZEL_ENUM(TzelPrinterOrientation, poPortrait, poLandscape)

/// Border of a dialog page's window.
ZEL_ENUM(TzelFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
/// Where a dialog page's window opens.
ZEL_ENUM(TzelFormPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
         poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
/// How a dialog page's window opens: normal, minimized or maximized.
ZEL_ENUM(TzelWindowState, wsNormal, wsMinimized, wsMaximized)
