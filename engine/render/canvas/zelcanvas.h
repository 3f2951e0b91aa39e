#pragma once
/// \file

#include "engine/render/canvas/zelcanvastypes.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>

/// The one drawing interface every view, page and export draws through.
///
/// Coordinates are device pixels; pixel (x, y) covers [x, x+1) x [y, y+1).
/// Filled areas cover their rectangle's pixels: a fill of (0, 0, 2, 2) paints
/// four pixels. Lines and outlines run through pixel centres: a line from
/// (0, 0) to (4, 0) paints the pixels 0 to 4 of row 0, and the outline of a
/// rectangle lies on its outermost pixels, thicker pens spreading to both
/// sides. Shapes are not antialiased, text is.
class Canvas
{
public:
    virtual ~Canvas();

    /// Device pixels per inch, horizontally and vertically.
    virtual double DpiX() const = 0;
    /// Device pixels per inch, vertically.
    virtual double DpiY() const = 0;
    /// Whether the device is a printer or a paged file (text then sizes by its resolution).
    virtual bool IsPrinter() const = 0;

    /// Saves the clip and the transform; Restore brings back the last saved.
    virtual void Save() = 0;
    /// Brings back the clip and transform of the last Save.
    virtual void Restore() = 0;
    /// Narrows the clip to Rect, in current coordinates.
    virtual void IntersectClip(const QRectF &rect) = 0;
    /// Narrows the clip to the inside of Path, in current coordinates.
    virtual void IntersectClip(const QPainterPath &path) = 0;
    /// Moves the origin of the coordinates by (Dx, Dy).
    virtual void Translate(double dx, double dy) = 0;
    /// Turns the coordinates by Degrees counter-clockwise about the origin.
    virtual void Rotate(double degrees) = 0;

    /// Fills Rect with Brush.
    virtual void FillRect(const QRectF &rect, const TzelCanvasBrush &brush) = 0;
    /// Fills Rect with Brush and outlines it with Pen.
    virtual void DrawRect(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush) = 0;
    /// The same with corners rounded by radii Rx and Ry.
    virtual void DrawRoundedRect(const QRectF &rect, double rx, double ry, const TzelCanvasPen &pen,
                                 const TzelCanvasBrush &brush) = 0;
    /// The ellipse inside Rect, filled and outlined.
    virtual void DrawEllipse(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush) = 0;
    /// A line from From to To, both ends drawn.
    virtual void DrawLine(const QPointF &from, const QPointF &to, const TzelCanvasPen &pen) = 0;
    /// Lines through Points in order.
    virtual void DrawPolyline(const QPolygonF &points, const TzelCanvasPen &pen) = 0;
    /// The closed polygon through Points, filled and outlined.
    virtual void DrawPolygon(const QPolygonF &points, const TzelCanvasPen &pen, const TzelCanvasBrush &brush) = 0;
    /// Image stretched over Target; Smooth resamples instead of repeating pixels.
    virtual void DrawImage(const QRectF &target, const QImage &image, bool smooth) = 0;
    /// A run of text.
    virtual void DrawText(const TzelCanvasText &text) = 0;
};
