#pragma once
/// \file

struct TzelViewDrawState;
class TzelCustomLineView;

/// Draws Line after begin-draw: a straight line as a one-sided frame, a
/// diagonal from corner to corner with its arrow heads.
void zelDrawLine(const TzelCustomLineView &line, const TzelViewDrawState &state);
