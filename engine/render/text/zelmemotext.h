#pragma once
/// \file

#include "engine/render/draw/zelviewdrawstate.h"

class TzelCustomMemoView;

// The text of a memo laid out and drawn through the report's TzelDrawText:
// its text rectangle, gaps, alignment, rotation, underlines and tags.

/// Draws Memo's text into its text rectangle; State has been through begin-draw.
void zelDrawMemoText(const TzelCustomMemoView &memo, const TzelViewDrawState &state);
/// The height the memo needs for its whole text (units, rounded), extras included.
double zelMemoCalcHeight(const TzelCustomMemoView &memo);
/// The width the memo needs for its widest line (units, rounded), extras included.
double zelMemoCalcWidth(const TzelCustomMemoView &memo);
/// Starts printing Memo in parts: all its text is still to print, no paragraph is broken.
void zelMemoInitPart(TzelCustomMemoView &memo);
/// Lays the text still to print out in Memo's height: the lines that fit become its
/// text and the rest stays to print. Returns the height left unused below them plus
/// both vertical gaps, or the whole height when not even one line fits.
double zelMemoDrawPart(TzelCustomMemoView &memo);
/// Makes text objects measure and split their text with the functions above.
void zelInstallMemoLayout();
