#pragma once
/// \file

#include "base/core/zelset.h"
#include "model/reflect/zelenuminfo.h"

// Enumerations and sets shared by every component.

/// Design-time restrictions.
ZEL_ENUM(TzelRestriction, rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit, rfDontEditInPreview,
         rfDontCopy)
/// A set of TzelRestriction.
using TzelRestrictions = TzelSet<TzelRestriction>;

/// Where an object may be edited after it was built.
ZEL_ENUM(TzelEditableFlag, ferAllowInPreview, ferAllowInExport)
/// A set of TzelEditableFlag.
using TzelEditableFlags = TzelSet<TzelEditableFlag>;

/// Edges of the parent an object keeps its distance to when the parent resizes.
ZEL_ENUM(TzelAnchorKind, fraLeft, fraTop, fraRight, fraBottom)
/// A set of TzelAnchorKind.
using TzelAnchors = TzelSet<TzelAnchorKind>;

/// Traits of a component class.
ZEL_ENUM(TzelComponentStyleItem, csContainer, csPreviewVisible, csDefaultDiff, csHandlesNestedProperties,
         csContained, csAcceptsZelComponents, csObjectsContainer)
/// A set of TzelComponentStyleItem.
using TzelComponentStyle = TzelSet<TzelComponentStyleItem>;

/// Pages a band or object is printed on.
ZEL_ENUM(TzelPrintOnType, ptFirstPage, ptLastPage, ptOddPages, ptEvenPages, ptRepeatedBand)
/// A set of TzelPrintOnType.
using TzelPrintOnTypes = TzelSet<TzelPrintOnType>;

/// Right-to-left and bottom-to-top mirroring of objects.
ZEL_ENUM(TzelMirrorControlMode, mcmRTLBands, mcmRTLObjects, mcmRTLAppearance, mcmRTLContent, mcmRTLSpecial,
         mcmBTTBands, mcmBTTObjects, mcmBTTAppearance, mcmBTTContent, mcmBTTSpecial, mcmOnlyAllowed)
/// A set of TzelMirrorControlMode.
using TzelMirrorControlModes = TzelSet<TzelMirrorControlMode>;

/// How a view aligns itself inside its parent.
ZEL_ENUM(TzelAlign, baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient, baHidden)

/// Font styles.
ZEL_ENUM(TzelFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
/// A set of TzelFontStyle.
using TzelFontStyles = TzelSet<TzelFontStyle>;
