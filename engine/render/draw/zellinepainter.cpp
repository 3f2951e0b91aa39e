#include "engine/render/draw/zellinepainter.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/draw/zelframepainter.h"
#include "engine/render/draw/zelviewdrawstate.h"
#include "model/view/zelcustomlineview.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// Below this width in pixels a diagonal counts as vertical for its arrows.
constexpr int steepArrowWidth = 9;

// A line that is not diagonal: the left side of a box without width, or the
// top side of a box without height.
void drawStraight(const TzelCustomLineView &line, const TzelViewDrawState &state)
{
    TzelViewDrawState straight = state;
    TzelFrame frame = line.Frame();
    if (std::abs(line.Width()) <= std::abs(line.Height())) {
        straight.X1 = straight.X;
        if (straight.Y1 < straight.Y)
            std::swap(straight.Y, straight.Y1);
        frame.Typ = {ftLeft};
    } else {
        straight.Y1 = straight.Y;
        if (straight.X1 < straight.X)
            std::swap(straight.X, straight.X1);
        frame.Typ = {ftTop};
    }
    zelDrawFrame(frame, straight);
}

void drawArrow(const TzelCustomLineView &line, const TzelViewDrawState &state, const QPointF &tip,
               const QPointF &tail)
{
    const double length = line.ArrowLength * state.ScaleX, width = line.ArrowWidth * state.ScaleX;
    QPointF base, across;
    if (std::abs(state.X1 - state.X) < steepArrowWidth) {
        if (tail.y() == tip.y())
            return;
        base = QPointF(tip.x(), tip.y() + (tail.y() > tip.y() ? length : -length));
        across = QPointF(width, 0);
    } else {
        const QPointF direction = tail - tip;
        const double distance = std::hypot(direction.x(), direction.y());
        base = tip + direction * (length / distance);
        across = QPointF(-direction.y(), direction.x()) * (width / distance);
    }
    const QPointF wing1 = base + across, wing2 = base - across;
    const int color = line.Frame().Color();
    if (line.ArrowSolid)
        state.Target->DrawPolygon(QPolygonF{tip, wing1, wing2}, TzelCanvasPen{color, 1},
                                  TzelCanvasBrush{color, bsSolid});
    else
        state.Target->DrawPolyline(QPolygonF{wing1, tip, wing2}, TzelCanvasPen{color, double(state.FrameWidth)});
}

} // namespace

void zelDrawLine(const TzelCustomLineView &line, const TzelViewDrawState &state)
{
    if (!line.Diagonal) {
        drawStraight(line, state);
        return;
    }
    const TzelFrame &frame = line.Frame();
    if (frame.Color() == clNone)
        return;
    const QPointF start(state.X, state.Y), end(state.X1, state.Y1);
    state.Target->DrawLine(start, end, zelFramePen(frame.Color(), frame.Style(), state.FrameWidth));
    if (line.ArrowStart)
        drawArrow(line, state, start, end);
    if (line.ArrowEnd)
        drawArrow(line, state, end, start);
}
