#pragma once
/// \file

class Canvas;
class TzelCustomPreviewPages;

/// Draws page Index of Pages on Canvas, ScaleX and ScaleY device pixels per
/// report unit, the paper's top-left corner at (OffsetX, OffsetY): the
/// page's colour, frame and background picture over its printable area,
/// then every view that shows on this kind of canvas (vsPrint on a printer,
/// vsPreview elsewhere), with the page count in "[TOTALPAGES#]" and the
/// copy's name in "[COPYNAME#]". A screen canvas is clipped to the paper.
/// Nothing for an index out of range.
void zelDrawPreparedPage(TzelCustomPreviewPages &pages, int index, Canvas &canvas, double scaleX, double scaleY,
                         double offsetX, double offsetY, int copyNo = 1);
