#pragma once
/// \file

#include "engine/render/draw/zelviewdrawstate.h"

class Canvas;
class TzelClassInfo;
class TzelComponent;
class TzelFrame;
class TzelView;

// The drawing of one view: begin-draw works out its device rectangle, then
// the painter registered for its class (or the nearest base class) draws it.

/// Draws a view whose State has been through begin-draw.
using TzelViewPainter = void (*)(const TzelView &view, const TzelViewDrawState &state);

/// Makes Painter draw the views of class Info and of its subclasses that have
/// no painter of their own; the built-in views are registered at first use.
void zelRegisterViewPainter(const TzelClassInfo &info, TzelViewPainter painter);

/// Sets the device rectangle and frame width of State for Box, framed by
/// Frame, from State's scale and offset; a drop shadow takes its width off
/// the right and bottom. Views and bands alike.
void zelBeginDraw(const TzelComponent &box, const TzelFrame &frame, TzelViewDrawState &state);
/// The same for View with its own frame.
void zelBeginDraw(const TzelView &view, TzelViewDrawState &state);
/// Paints View's fill over its rectangle widened to the middle of its frame lines.
void zelDrawBackground(const TzelView &view, const TzelViewDrawState &state);
/// In the designer, off the data page, marks the corners of a view not framed on all sides.
void zelDrawCornerMarks(const TzelView &view, const TzelViewDrawState &state);
/// The drawing of a plain view: background, corner marks, frame.
void zelDrawPlainView(const TzelView &view, const TzelViewDrawState &state);

/// Begins drawing View in State and hands it to the painter of its class.
void zelDrawView(const TzelView &view, TzelViewDrawState &state);
/// Draws View on Canvas, ScaleX and ScaleY device pixels per report unit,
/// the page's top-left corner at (OffsetX, OffsetY); Designing adds the
/// designer's marks and placeholders (not for views on the data page). This
/// is the entry of the preview, printing and the command-line tool.
void zelDrawView(const TzelView &view, Canvas &canvas, double scaleX, double scaleY, double offsetX,
                 double offsetY, bool designing);
