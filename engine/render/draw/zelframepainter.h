#pragma once
/// \file

#include "engine/render/canvas/zelcanvastypes.h"
#include "model/view/zelviewtypes.h"

struct TzelViewDrawState;
class TzelFrame;

/// Draws Frame around the device rectangle of State: the drop-shadow bars,
/// then the framed sides in the order left, right, top, bottom.
void zelDrawFrame(const TzelFrame &frame, const TzelViewDrawState &state);

/// The width in pixels of side Side of Frame at horizontal scale ScaleX, or
/// 0 when the side is not drawn.
int zelFrameSideWidth(const TzelFrame &frame, TzelFrameType side, double scaleX);

/// The pen an outline of style Style draws with: Color, Width pixels wide,
/// dashes of fixed pixel lengths; a double style draws solid.
TzelCanvasPen zelFramePen(int color, TzelFrameStyle style, int width);
