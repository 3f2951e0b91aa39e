#pragma once
/// \file

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/canvas/zelcanvasrecord.h"

#include <vector>

/// A canvas that keeps every call as a record: replayed onto another canvas it
/// draws the same, and its records can be read one by one (text runs for
/// search, shapes and text for vector exports). It stands for a device of the
/// given resolution, 96 dots per inch unless told otherwise.
class RecordingCanvas : public Canvas
{
public:
    /// An empty recording of a device with the given resolution.
    explicit RecordingCanvas(double dpiX = 96, double dpiY = 96, bool printer = false);

    /// The records in the order drawn.
    const std::vector<TzelCanvasRecord> &Records() const { return FRecords; }
    /// Draws every record onto Target.
    void Replay(Canvas &target) const;
    /// Forgets every record.
    void Clear() { FRecords.clear(); }

    double DpiX() const override { return FDpiX; }
    /// Device pixels per inch, vertically.
    double DpiY() const override { return FDpiY; }
    bool IsPrinter() const override { return FPrinter; }
    void Save() override;
    /// Brings back the clip and transform of the last Save.
    void Restore() override;
    void IntersectClip(const QRectF &rect) override;
    void IntersectClip(const QPainterPath &path) override;
    void Translate(double dx, double dy) override;
    void Rotate(double degrees) override;
    void FillRect(const QRectF &rect, const TzelCanvasBrush &brush) override;
    void DrawRect(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush) override;
    void DrawRoundedRect(const QRectF &rect, double rx, double ry, const TzelCanvasPen &pen,
                         const TzelCanvasBrush &brush) override;
    void DrawEllipse(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush) override;
    void DrawLine(const QPointF &from, const QPointF &to, const TzelCanvasPen &pen) override;
    void DrawPolyline(const QPolygonF &points, const TzelCanvasPen &pen) override;
    void DrawPolygon(const QPolygonF &points, const TzelCanvasPen &pen, const TzelCanvasBrush &brush) override;
    void DrawImage(const QRectF &target, const QImage &image, bool smooth) override;
    void DrawText(const TzelCanvasText &text) override;

private:
    std::vector<TzelCanvasRecord> FRecords;
    double FDpiX;
    double FDpiY;
    bool FPrinter;
};
