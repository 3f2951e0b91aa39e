#pragma once
/// \file

#include "base/core/zelset.h"
#include "model/reflect/zelenuminfo.h"

// Enumerations and sets of views, frames and fills. Value names are stored in
// templates, so their order never changes.

/// How a view moves when an object above it grows.
ZEL_ENUM(TzelShiftMode, smDontShift, smAlways, smWhenOverlapped)

/// Where a view appears.
ZEL_ENUM(TzelVisibilityType, vsPreview, vsExport, vsPrint)
/// A set of TzelVisibilityType.
using TzelVisibilityTypes = TzelSet<TzelVisibilityType>;

/// How a stretching view takes its height while the report is built.
ZEL_ENUM(TzelStretchMode, smDontStretch, smActualHeight, smMaxHeight)

/// Horizontal alignment of text.
ZEL_ENUM(TzelHAlign, haLeft, haRight, haCenter, haBlock)

/// Vertical alignment of text.
ZEL_ENUM(TzelVAlign, vaTop, vaBottom, vaCenter)

/// What a text object shows for a value equal to the one above it.
ZEL_ENUM(TzelDuplicateMode, dmShow, dmHide, dmClear, dmMerge)

/// Which lines of a text object are underlined.
ZEL_ENUM(TzelUnderlinesTextMode, ulmNone, ulmUnderlinesAll, ulmUnderlinesText, ulmUnderlinesTextAndEmptyLines)

/// Brush patterns.
ZEL_ENUM(TzelBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

/// Kinds of fill.
ZEL_ENUM(TzelFillType, ftBrush, ftGradient, ftGlass)

/// Directions of a gradient fill.
ZEL_ENUM(TzelGradientStyle, gsHorizontal, gsVertical, gsElliptic, gsRectangle, gsVertCenter, gsHorizCenter)

/// Orientation of a glass fill's highlight.
ZEL_ENUM(TzelFillOrientation, foVertical, foHorizontal, foVerticalMirror, foHorizontalMirror)

/// Sides of a frame.
ZEL_ENUM(TzelFrameType, ftLeft, ftRight, ftTop, ftBottom)
/// A set of TzelFrameType.
using TzelFrameTypes = TzelSet<TzelFrameType>;

/// Pen patterns of frame lines.
ZEL_ENUM(TzelFrameStyle, fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare)

/// Targets of a hyperlink.
ZEL_ENUM(TzelHyperlinkKind, hkURL, hkAnchor, hkPageNumber, hkDetailReport, hkDetailPage, hkCustom, hkNone)

/// Mouse events that switch an interactive highlight on.
ZEL_ENUM(TzelInteractiveHighlightEvent, ihNone, ihClick, ihEnter, ieLeave)

/// Kinds of display format.
ZEL_ENUM(TzelFormatKind, fkText, fkNumeric, fkDateTime, fkBoolean)

/// Outlines of a shape.
ZEL_ENUM(TzelShapeKind, skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2)

/// When a view's content is computed: at once, or when a later stage ends.
ZEL_ENUM(TzelProcessAt, paDefault, paReportFinished, paReportPageFinished, paPageFinished, paColumnFinished,
         paDataFinished, paGroupFinished, paCustom)
