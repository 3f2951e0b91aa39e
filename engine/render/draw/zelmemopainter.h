#pragma once
/// \file

struct TzelViewDrawState;
class TzelCustomMemoView;

/// Draws Memo after begin-draw: background, corner marks, frame, then its text.
void zelDrawMemo(const TzelCustomMemoView &memo, const TzelViewDrawState &state);
