#pragma once
/// \file

#include "engine/render/canvas/zelcanvastypes.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <variant>

/// The records of a RecordingCanvas: one per call, holding its arguments.
namespace TzelCanvasRecords {

/// A recorded call of Canvas::Save.
struct Save {};
/// A recorded call of Canvas::Restore.
struct Restore {};
/// A recorded call of Canvas::IntersectClip with a rectangle.
struct ClipRect { QRectF Rect; };
/// A recorded call of Canvas::IntersectClip with a path.
struct ClipPath { QPainterPath Path; };
/// A recorded call of Canvas::Translate.
struct Translate { double Dx; double Dy; };
/// A recorded call of Canvas::Rotate.
struct Rotate { double Degrees; };
/// A recorded call of Canvas::FillRect.
struct FillRect { QRectF Rect; TzelCanvasBrush Brush; };
/// A recorded call of Canvas::DrawRect.
struct Rect { QRectF Rect; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
/// A recorded call of Canvas::DrawRoundedRect.
struct RoundedRect { QRectF Rect; double Rx; double Ry; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
/// A recorded call of Canvas::DrawEllipse.
struct Ellipse { QRectF Rect; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
/// A recorded call of Canvas::DrawLine.
struct Line { QPointF From; QPointF To; TzelCanvasPen Pen; };
/// A recorded call of Canvas::DrawPolyline.
struct Polyline { QPolygonF Points; TzelCanvasPen Pen; };
/// A recorded call of Canvas::DrawPolygon.
struct Polygon { QPolygonF Points; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
/// A recorded call of Canvas::DrawImage.
struct Image { QRectF Target; QImage Picture; bool Smooth; };
/// A recorded call of Canvas::DrawText.
struct Text { TzelCanvasText Run; };

/// \var TzelCanvasRecords::ClipRect::Rect
/// The rectangle, in current coordinates.

/// \var TzelCanvasRecords::ClipPath::Path
/// The path, in current coordinates.

/// \var TzelCanvasRecords::Translate::Dx
/// The horizontal shift.

/// \var TzelCanvasRecords::Translate::Dy
/// The vertical shift.

/// \var TzelCanvasRecords::Rotate::Degrees
/// The angle in degrees.

/// \var TzelCanvasRecords::FillRect::Rect
/// The rectangle, in current coordinates.

/// \var TzelCanvasRecords::FillRect::Brush
/// The fill.

/// \var TzelCanvasRecords::Rect::Rect
/// The rectangle, in current coordinates.

/// \var TzelCanvasRecords::Rect::Pen
/// The outline.

/// \var TzelCanvasRecords::Rect::Brush
/// The fill.

/// \var TzelCanvasRecords::RoundedRect::Rect
/// The rectangle, in current coordinates.

/// \var TzelCanvasRecords::RoundedRect::Rx
/// The horizontal corner radius.

/// \var TzelCanvasRecords::RoundedRect::Ry
/// The vertical corner radius.

/// \var TzelCanvasRecords::RoundedRect::Pen
/// The outline.

/// \var TzelCanvasRecords::RoundedRect::Brush
/// The fill.

/// \var TzelCanvasRecords::Ellipse::Rect
/// The rectangle, in current coordinates.

/// \var TzelCanvasRecords::Ellipse::Pen
/// The outline.

/// \var TzelCanvasRecords::Ellipse::Brush
/// The fill.

/// \var TzelCanvasRecords::Line::From
/// The start point.

/// \var TzelCanvasRecords::Line::To
/// The end point.

/// \var TzelCanvasRecords::Line::Pen
/// The outline.

/// \var TzelCanvasRecords::Polyline::Points
/// The points, in order.

/// \var TzelCanvasRecords::Polyline::Pen
/// The outline.

/// \var TzelCanvasRecords::Polygon::Points
/// The points, in order.

/// \var TzelCanvasRecords::Polygon::Pen
/// The outline.

/// \var TzelCanvasRecords::Polygon::Brush
/// The fill.

/// \var TzelCanvasRecords::Image::Target
/// The rectangle the picture fills.

/// \var TzelCanvasRecords::Image::Picture
/// The picture.

/// \var TzelCanvasRecords::Image::Smooth
/// Whether the picture is scaled smoothly.

/// \var TzelCanvasRecords::Text::Run
/// The text run with its font and place.

} // namespace TzelCanvasRecords

/// One recorded drawing call.
using TzelCanvasRecord =
    std::variant<TzelCanvasRecords::Save, TzelCanvasRecords::Restore, TzelCanvasRecords::ClipRect,
                 TzelCanvasRecords::ClipPath, TzelCanvasRecords::Translate, TzelCanvasRecords::Rotate,
                 TzelCanvasRecords::FillRect, TzelCanvasRecords::Rect, TzelCanvasRecords::RoundedRect,
                 TzelCanvasRecords::Ellipse, TzelCanvasRecords::Line, TzelCanvasRecords::Polyline,
                 TzelCanvasRecords::Polygon, TzelCanvasRecords::Image, TzelCanvasRecords::Text>;
