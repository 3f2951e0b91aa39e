#include "engine/render/canvas/zelrecordingcanvas.h"

namespace R = TzelCanvasRecords;

namespace {

template <class... F>
struct Overload : F... {
    using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

} // namespace

RecordingCanvas::RecordingCanvas(double dpiX, double dpiY, bool printer)
    : FDpiX(dpiX)
    , FDpiY(dpiY)
    , FPrinter(printer)
{
}

void RecordingCanvas::Replay(Canvas &target) const
{
    const auto draw = Overload{
        [&](const R::Save &) { target.Save(); },
        [&](const R::Restore &) { target.Restore(); },
        [&](const R::ClipRect &r) { target.IntersectClip(r.Rect); },
        [&](const R::ClipPath &r) { target.IntersectClip(r.Path); },
        [&](const R::Translate &r) { target.Translate(r.Dx, r.Dy); },
        [&](const R::Rotate &r) { target.Rotate(r.Degrees); },
        [&](const R::FillRect &r) { target.FillRect(r.Rect, r.Brush); },
        [&](const R::Rect &r) { target.DrawRect(r.Rect, r.Pen, r.Brush); },
        [&](const R::RoundedRect &r) { target.DrawRoundedRect(r.Rect, r.Rx, r.Ry, r.Pen, r.Brush); },
        [&](const R::Ellipse &r) { target.DrawEllipse(r.Rect, r.Pen, r.Brush); },
        [&](const R::Line &r) { target.DrawLine(r.From, r.To, r.Pen); },
        [&](const R::Polyline &r) { target.DrawPolyline(r.Points, r.Pen); },
        [&](const R::Polygon &r) { target.DrawPolygon(r.Points, r.Pen, r.Brush); },
        [&](const R::Image &r) { target.DrawImage(r.Target, r.Picture, r.Smooth); },
        [&](const R::Text &r) { target.DrawText(r.Run); },
    };
    for (const TzelCanvasRecord &record : FRecords)
        std::visit(draw, record);
}

void RecordingCanvas::Save()
{
    FRecords.emplace_back(R::Save{});
}

void RecordingCanvas::Restore()
{
    FRecords.emplace_back(R::Restore{});
}

void RecordingCanvas::IntersectClip(const QRectF &rect)
{
    FRecords.emplace_back(R::ClipRect{rect});
}

void RecordingCanvas::IntersectClip(const QPainterPath &path)
{
    FRecords.emplace_back(R::ClipPath{path});
}

void RecordingCanvas::Translate(double dx, double dy)
{
    FRecords.emplace_back(R::Translate{dx, dy});
}

void RecordingCanvas::Rotate(double degrees)
{
    FRecords.emplace_back(R::Rotate{degrees});
}

void RecordingCanvas::FillRect(const QRectF &rect, const TzelCanvasBrush &brush)
{
    FRecords.emplace_back(R::FillRect{rect, brush});
}

void RecordingCanvas::DrawRect(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush)
{
    FRecords.emplace_back(R::Rect{rect, pen, brush});
}

void RecordingCanvas::DrawRoundedRect(const QRectF &rect, double rx, double ry, const TzelCanvasPen &pen,
                                      const TzelCanvasBrush &brush)
{
    FRecords.emplace_back(R::RoundedRect{rect, rx, ry, pen, brush});
}

void RecordingCanvas::DrawEllipse(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush)
{
    FRecords.emplace_back(R::Ellipse{rect, pen, brush});
}

void RecordingCanvas::DrawLine(const QPointF &from, const QPointF &to, const TzelCanvasPen &pen)
{
    FRecords.emplace_back(R::Line{from, to, pen});
}

void RecordingCanvas::DrawPolyline(const QPolygonF &points, const TzelCanvasPen &pen)
{
    FRecords.emplace_back(R::Polyline{points, pen});
}

void RecordingCanvas::DrawPolygon(const QPolygonF &points, const TzelCanvasPen &pen, const TzelCanvasBrush &brush)
{
    FRecords.emplace_back(R::Polygon{points, pen, brush});
}

void RecordingCanvas::DrawImage(const QRectF &target, const QImage &image, bool smooth)
{
    FRecords.emplace_back(R::Image{target, image, smooth});
}

void RecordingCanvas::DrawText(const TzelCanvasText &text)
{
    FRecords.emplace_back(R::Text{text});
}
