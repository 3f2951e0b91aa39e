#pragma once

#include "engine/render/canvas/zelcanvastypes.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <variant>

// The records of a RecordingCanvas: one per call, holding its arguments.
namespace TzelCanvasRecords {

struct Save {};
struct Restore {};
struct ClipRect { QRectF Rect; };
struct ClipPath { QPainterPath Path; };
struct Translate { double Dx; double Dy; };
struct Rotate { double Degrees; };
struct FillRect { QRectF Rect; TzelCanvasBrush Brush; };
struct Rect { QRectF Rect; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
struct RoundedRect { QRectF Rect; double Rx; double Ry; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
struct Ellipse { QRectF Rect; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
struct Line { QPointF From; QPointF To; TzelCanvasPen Pen; };
struct Polyline { QPolygonF Points; TzelCanvasPen Pen; };
struct Polygon { QPolygonF Points; TzelCanvasPen Pen; TzelCanvasBrush Brush; };
struct Image { QRectF Target; QImage Picture; bool Smooth; };
struct Text { TzelCanvasText Run; };

} // namespace TzelCanvasRecords

/// One recorded drawing call.
using TzelCanvasRecord =
    std::variant<TzelCanvasRecords::Save, TzelCanvasRecords::Restore, TzelCanvasRecords::ClipRect,
                 TzelCanvasRecords::ClipPath, TzelCanvasRecords::Translate, TzelCanvasRecords::Rotate,
                 TzelCanvasRecords::FillRect, TzelCanvasRecords::Rect, TzelCanvasRecords::RoundedRect,
                 TzelCanvasRecords::Ellipse, TzelCanvasRecords::Line, TzelCanvasRecords::Polyline,
                 TzelCanvasRecords::Polygon, TzelCanvasRecords::Image, TzelCanvasRecords::Text>;
