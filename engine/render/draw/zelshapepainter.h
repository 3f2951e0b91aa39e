#pragma once
/// \file

struct TzelViewDrawState;
class TzelShapeView;

/// Draws Shape after begin-draw: its fill inside the outline, then the
/// outline in the frame's colour, style and width (twice for a double frame).
void zelDrawShape(const TzelShapeView &shape, const TzelViewDrawState &state);
