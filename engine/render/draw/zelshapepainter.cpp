#include "engine/render/draw/zelshapepainter.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/draw/zelfillpainter.h"
#include "engine/render/draw/zelframepainter.h"
#include "engine/render/draw/zelpixelround.h"
#include "engine/render/draw/zelviewdrawstate.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelshapeview.h"

#include <QPainterPath>
#include <algorithm>
#include <cstdlib>

namespace {

// The outline of a closed shape whose outermost pixels are X0..X1, Y0..Y1.
struct Outline
{
    TzelShapeKind Kind;
    int X0, Y0, X1, Y1;
    double Radius;  // of rounded corners

    QRectF Box() const { return QRectF(X0, Y0, X1 - X0 + 1, Y1 - Y0 + 1); }

    QPolygonF Polygon() const
    {
        const int midX = (X0 + X1) / 2, midY = (Y0 + Y1) / 2;
        if (Kind == skTriangle)
            return {QPointF(X1, Y1), QPointF(X0, Y1), QPointF(midX, Y0)};
        return {QPointF(midX, Y0), QPointF(X1, midY), QPointF(midX, Y1), QPointF(X0, midY)};
    }

    // The inside, for clipping a fill. Polygon corners name pixels, whose
    // centres lie half a pixel further on.
    QPainterPath Path() const
    {
        QPainterPath path;
        switch (Kind) {
        case skRectangle:
            path.addRect(Box());
            break;
        case skRoundRectangle:
            path.addRoundedRect(Box(), Radius, Radius);
            break;
        case skEllipse:
            path.addEllipse(Box());
            break;
        default:
            path.addPolygon(Polygon().translated(0.5, 0.5));
            path.closeSubpath();
            break;
        }
        return path;
    }

    void Draw(Canvas &canvas, const TzelCanvasPen &pen, const TzelCanvasBrush &brush) const
    {
        switch (Kind) {
        case skRectangle:
            canvas.DrawRect(Box(), pen, brush);
            break;
        case skRoundRectangle:
            canvas.DrawRoundedRect(Box(), Radius, Radius, pen, brush);
            break;
        case skEllipse:
            canvas.DrawEllipse(Box(), pen, brush);
            break;
        default:
            canvas.DrawPolygon(Polygon(), pen, brush);
            break;
        }
    }

    // The inner outline of a double frame; Width is the frame width in pixels.
    Outline Inset(int width) const
    {
        int leftTop = 2 * width, right = 2 * width, bottom = 2 * width;
        if (Kind == skTriangle) {
            leftTop = 4 * width;
            right = 4 * width;
            bottom = 2 * width;
        } else if (Kind == skDiamond) {
            leftTop = right = bottom = 3 * width;
        }
        return {Kind, X0 + leftTop, Y0 + leftTop, X1 - right, Y1 - bottom, Radius};
    }
};

// A diagonal as parallel one-pixel lines, side by side across its steeper direction.
void drawDiagonal(Canvas &canvas, const QPoint &from, const QPoint &to, const TzelCanvasPen &pen, int width)
{
    TzelCanvasPen thin = pen;
    thin.Width = 1;
    const bool steep = std::abs(to.y() - from.y()) > std::abs(to.x() - from.x());
    const int lines = std::max(width, 1);
    for (int i = 0; i < lines; ++i) {
        const int shift = i - lines / 2;
        const QPointF offset = steep ? QPointF(shift, 0) : QPointF(0, shift);
        canvas.DrawLine(QPointF(from) + offset, QPointF(to) + offset, thin);
    }
}

} // namespace

void zelDrawShape(const TzelShapeView &shape, const TzelViewDrawState &state)
{
    Canvas &canvas = *state.Target;
    const TzelFrame &frame = shape.Frame();
    const int width = state.FrameWidth;
    const TzelCanvasPen pen = frame.Color() == clNone ? TzelCanvasPen{clNone, 1, TzelPenStyle::Clear}
                                                      : zelFramePen(frame.Color(), frame.Style(), width);
    if (shape.Shape == skDiagonal1) {
        drawDiagonal(canvas, QPoint(state.X, state.Y1), QPoint(state.X1, state.Y), pen, width);
        return;
    }
    if (shape.Shape == skDiagonal2) {
        drawDiagonal(canvas, QPoint(state.X, state.Y), QPoint(state.X1, state.Y1), pen, width);
        return;
    }

    const int corner = shape.Curve != 0 ? zelRoundPixel(shape.Curve * state.ScaleX * 10)
                                        : std::min(state.DX(), state.DY()) / 4;
    const Outline outline{shape.Shape, state.X, state.Y, state.X1, state.Y1, corner / 2.0};
    const TzelCanvasBrush noBrush{clNone, bsClear};
    TzelCanvasBrush brush = noBrush;
    if (shape.FillType() == ftBrush) {
        const auto &fill = static_cast<const TzelBrushFill &>(shape.Fill());
        brush = {fill.BackColor, fill.Style};
    } else {
        canvas.Save();
        canvas.IntersectClip(outline.Path());
        zelDrawFill(shape.Fill(), canvas, outline.Box().toRect());
        canvas.Restore();
    }
    outline.Draw(canvas, pen, brush);
    if (frame.Style() == fsDouble)
        outline.Inset(width).Draw(canvas, pen, noBrush);
}
