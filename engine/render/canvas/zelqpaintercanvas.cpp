#include "engine/render/canvas/zelqpaintercanvas.h"

#include "engine/render/canvas/zelcolor.h"
#include "engine/render/canvas/zelfontresolver.h"

#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

// Lines and outlines run through pixel centres.
constexpr QPointF centre(0.5, 0.5);

Qt::PenStyle qtPenStyle(TzelPenStyle style)
{
    switch (style) {
    case TzelPenStyle::Solid:
        return Qt::SolidLine;
    case TzelPenStyle::Dash:
        return Qt::DashLine;
    case TzelPenStyle::Dot:
        return Qt::DotLine;
    case TzelPenStyle::DashDot:
        return Qt::DashDotLine;
    case TzelPenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case TzelPenStyle::Clear:
        return Qt::NoPen;
    case TzelPenStyle::Custom:
        return Qt::CustomDashLine;
    }
    return Qt::SolidLine;
}

Qt::PenCapStyle qtCap(TzelPenCap cap)
{
    switch (cap) {
    case TzelPenCap::Square:
        return Qt::SquareCap;
    case TzelPenCap::Flat:
        return Qt::FlatCap;
    case TzelPenCap::Round:
        return Qt::RoundCap;
    }
    return Qt::SquareCap;
}

QPen qtPen(const TzelCanvasPen &pen)
{
    if (!pen.IsVisible())
        return QPen(Qt::NoPen);
    const double width = std::max(1.0, pen.Width);
    QPen result(zelQColor(pen.Color), width, qtPenStyle(pen.Style), qtCap(pen.Cap), Qt::MiterJoin);
    if (pen.Style == TzelPenStyle::Custom && !pen.Dashes.isEmpty()) {
        // Qt measures dashes in pen widths; ours are pixels.
        QList<qreal> dashes;
        for (double d : pen.Dashes)
            dashes << std::max(d / width, 0.01);
        if (dashes.size() % 2)
            dashes << dashes.last();
        result.setDashPattern(dashes);
    }
    return result;
}

Qt::BrushStyle qtBrushStyle(TzelBrushStyle style)
{
    switch (style) {
    case bsSolid:
        return Qt::SolidPattern;
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QBrush qtBrush(const TzelCanvasBrush &brush)
{
    if (!brush.IsVisible())
        return QBrush(Qt::NoBrush);
    return QBrush(zelQColor(brush.Color), qtBrushStyle(brush.Style));
}

// The outline through the centres of a rectangle's outermost pixels.
QRectF outlineOf(const QRectF &rect)
{
    return rect.adjusted(0.5, 0.5, -0.5, -0.5);
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter &painter, double dpiX, double dpiY, bool printer)
    : FPainter(&painter)
    , FDpiX(dpiX)
    , FDpiY(dpiY)
    , FPrinter(printer)
{
    Begin();
}

QPainterCanvas::QPainterCanvas(QImage &image, double dpiX, double dpiY)
    : FOwnPainter(std::make_unique<QPainter>(&image))
    , FPainter(FOwnPainter.get())
    , FDpiX(dpiX)
    , FDpiY(dpiY)
    , FPrinter(false)
{
    Begin();
}

QPainterCanvas::QPainterCanvas(QPagedPaintDevice &device)
    : FOwnPainter(std::make_unique<QPainter>(&device))
    , FPainter(FOwnPainter.get())
    , FDpiX(device.logicalDpiX())
    , FDpiY(device.logicalDpiY())
    , FPrinter(true)
{
    Begin();
}

QPainterCanvas::~QPainterCanvas() = default;

void QPainterCanvas::Begin()
{
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, true);
}

void QPainterCanvas::Save()
{
    FPainter->save();
}

void QPainterCanvas::Restore()
{
    FPainter->restore();
}

void QPainterCanvas::IntersectClip(const QRectF &rect)
{
    FPainter->setClipRect(rect, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void QPainterCanvas::IntersectClip(const QPainterPath &path)
{
    FPainter->setClipPath(path, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void QPainterCanvas::Translate(double dx, double dy)
{
    FPainter->translate(dx, dy);
}

void QPainterCanvas::Rotate(double degrees)
{
    // Qt turns clockwise on a y-down device.
    FPainter->rotate(-degrees);
}

void QPainterCanvas::FillPath(const QPainterPath &path, const TzelCanvasBrush &brush)
{
    if (brush.IsVisible())
        FPainter->fillPath(path, qtBrush(brush));
}

void QPainterCanvas::StrokePath(const QPainterPath &path, const TzelCanvasPen &pen)
{
    if (pen.IsVisible())
        FPainter->strokePath(path, qtPen(pen));
}

void QPainterCanvas::FillRect(const QRectF &rect, const TzelCanvasBrush &brush)
{
    if (brush.IsVisible())
        FPainter->fillRect(rect, qtBrush(brush));
}

void QPainterCanvas::DrawRect(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush)
{
    FillRect(rect, brush);
    QPainterPath outline;
    outline.addRect(outlineOf(rect));
    StrokePath(outline, pen);
}

void QPainterCanvas::DrawRoundedRect(const QRectF &rect, double rx, double ry, const TzelCanvasPen &pen,
                                     const TzelCanvasBrush &brush)
{
    QPainterPath area;
    area.addRoundedRect(rect, rx, ry);
    FillPath(area, brush);
    QPainterPath outline;
    outline.addRoundedRect(outlineOf(rect), rx, ry);
    StrokePath(outline, pen);
}

void QPainterCanvas::DrawEllipse(const QRectF &rect, const TzelCanvasPen &pen, const TzelCanvasBrush &brush)
{
    QPainterPath area;
    area.addEllipse(rect);
    FillPath(area, brush);
    QPainterPath outline;
    outline.addEllipse(outlineOf(rect));
    StrokePath(outline, pen);
}

void QPainterCanvas::DrawLine(const QPointF &from, const QPointF &to, const TzelCanvasPen &pen)
{
    if (!pen.IsVisible())
        return;
    FPainter->setPen(qtPen(pen));
    FPainter->drawLine(from + centre, to + centre);
}

void QPainterCanvas::DrawPolyline(const QPolygonF &points, const TzelCanvasPen &pen)
{
    if (!pen.IsVisible() || points.size() < 2)
        return;
    FPainter->setPen(qtPen(pen));
    FPainter->setBrush(Qt::NoBrush);
    FPainter->drawPolyline(points.translated(centre));
}

void QPainterCanvas::DrawPolygon(const QPolygonF &points, const TzelCanvasPen &pen, const TzelCanvasBrush &brush)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points.translated(centre));
    path.closeSubpath();
    FillPath(path, brush);
    StrokePath(path, pen);
}

void QPainterCanvas::DrawImage(const QRectF &target, const QImage &image, bool smooth)
{
    if (image.isNull() || target.isEmpty())
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    FPainter->drawImage(target, image);
    FPainter->restore();
}

void QPainterCanvas::DrawText(const TzelCanvasText &text)
{
    if (text.Text.isEmpty())
        return;
    const auto face = TzelFontResolver::Face(text.Font.Name, text.Font.PixelSize, text.Font.Style);
    const QRawFont &raw = face->RawFont();
    const qsizetype n = text.Text.size();
    QList<double> advances = text.Advances;
    if (advances.size() != n) {
        advances.resize(n);
        face->Advances(text.Text, advances.data());
    }
    double total = 0;
    for (double a : advances)
        total += a;

    // A run that lies inside its clip rectangle needs neither the clip nor
    // a transformed painter: most runs do, and each clip costs a vector
    // device (PDF, SVG) a saved state and a path.
    const bool clip = (text.Flags & tfClipped) &&
                      !text.Clip.contains(QRectF(text.Origin, QSizeF(total, face->CellHeight())));
    const bool transformed = clip || text.Angle != 0;
    const QPointF base = transformed ? QPointF(0, 0) : text.Origin;

    // One glyph per character, one per surrogate pair; characters the face
    // lacks are drawn with the system's fallback faces at the same place.
    const QList<quint32> glyphs = raw.glyphIndexesForString(text.Text);
    const bool rtl = text.Flags & tfRTLReading;
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(n);
    positions.reserve(n);
    QList<std::pair<QString, QPointF>> missing;
    double x = rtl ? total : 0;
    qsizetype g = 0;
    for (qsizetype i = 0; i < n && g < glyphs.size(); ++i, ++g) {
        const bool pair = QChar::isHighSurrogate(text.Text[i].unicode()) && i + 1 < n
                          && QChar::isLowSurrogate(text.Text[i + 1].unicode());
        const double advance = advances[i] + (pair ? advances[i + 1] : 0);
        const QPointF at = base + QPointF(rtl ? x - advance : x, face->Ascent());
        if (glyphs[g] == 0)
            missing << std::pair(text.Text.mid(i, pair ? 2 : 1), at);
        else {
            indexes << glyphs[g];
            positions << at;
        }
        x += rtl ? -advance : advance;
        if (pair)
            ++i;
    }

    if (transformed) {
        FPainter->save();
        if (clip)
            FPainter->setClipRect(text.Clip, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        FPainter->translate(text.Origin);
        if (text.Angle != 0)
            FPainter->rotate(-text.Angle);
    }
    FPainter->setPen(zelQColor(text.Font.Color));
    if (!indexes.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        FPainter->drawGlyphRun(QPointF(0, 0), run);
    }
    if (!missing.isEmpty()) {
        QFont fallback(face->Family());
        fallback.setPixelSize(std::max(1, int(text.Font.PixelSize + 0.5)));
        fallback.setBold(text.Font.Style.Contains(fsBold));
        fallback.setItalic(text.Font.Style.Contains(fsItalic));
        FPainter->setFont(fallback);
        for (const auto &[chars, at] : std::as_const(missing))
            FPainter->drawText(at, chars);
    }
    // Lines of the whole run, at the face's own positions and thickness.
    if (text.Font.Style.Contains(fsUnderline) || text.Font.Style.Contains(fsStrikeOut)) {
        const double thickness = std::max(1.0, raw.lineThickness());
        const auto line = [&](double y) {
            FPainter->fillRect(QRectF(base.x(), base.y() + y, total, thickness), zelQColor(text.Font.Color));
        };
        if (text.Font.Style.Contains(fsUnderline))
            line(face->Ascent() + raw.underlinePosition());
        if (text.Font.Style.Contains(fsStrikeOut))
            line(face->Ascent() - raw.xHeight() / 2 - thickness / 2);
    }
    if (transformed)
        FPainter->restore();
}
