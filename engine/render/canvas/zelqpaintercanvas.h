#pragma once
/// \file

#include "engine/render/canvas/zelcanvas.h"

#include <memory>

class QPagedPaintDevice;
class QPainter;

/// The canvas on a QPainter: an image, a widget being painted, a printer or a
/// PDF writer. Shapes are drawn without antialiasing, text with it; text goes
/// out as glyph runs, so a PDF keeps it extractable.
class QPainterCanvas : public Canvas
{
public:
    /// Draws with Painter (already begun, not owned) on a device of the given resolution.
    QPainterCanvas(QPainter &painter, double dpiX, double dpiY, bool printer);
    /// Draws on Image, taken to have the given resolution.
    explicit QPainterCanvas(QImage &image, double dpiX = 96, double dpiY = 96);
    /// Draws on a printer or PDF writer at its own resolution.
    explicit QPainterCanvas(QPagedPaintDevice &device);
    ~QPainterCanvas() override;

    /// The painter drawn with.
    QPainter &Painter() const { return *FPainter; }

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
    void Begin();
    void FillPath(const QPainterPath &path, const TzelCanvasBrush &brush);
    void StrokePath(const QPainterPath &path, const TzelCanvasPen &pen);

    std::unique_ptr<QPainter> FOwnPainter;
    QPainter *FPainter;
    double FDpiX;
    double FDpiY;
    bool FPrinter;
};
