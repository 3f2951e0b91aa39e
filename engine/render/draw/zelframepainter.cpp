#include "engine/render/draw/zelframepainter.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/draw/zelpixelround.h"
#include "engine/render/draw/zelviewdrawstate.h"
#include "model/view/zelframe.h"

#include <algorithm>

namespace {

const TzelFrameLine &lineOf(const TzelFrame &frame, TzelFrameType side)
{
    switch (side) {
    case ftLeft:
        return frame.LeftLine();
    case ftRight:
        return frame.RightLine();
    case ftTop:
        return frame.TopLine();
    case ftBottom:
        break;
    }
    return frame.BottomLine();
}

// Dash and gap lengths in pixels; they stay the same at any width, so a
// thick dashed line keeps the rhythm of a thin one.
QList<double> dashesOf(TzelFrameStyle style)
{
    switch (style) {
    case fsDash:
        return {18, 6};
    case fsDot:
        return {3, 3};
    case fsDashDot:
        return {9, 6, 3, 6};
    case fsDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {1, 1};  // dots and squares one pixel wide
    }
}

// One framed side in device pixels. Across is the half-open range the line's
// width covers, Along the closed range of its length; a line ends half its
// width beyond the corner where the neighbouring side is framed too.
class SideBand
{
public:
    SideBand(const TzelFrame &frame, TzelFrameType side, int width, const TzelViewDrawState &state)
        : FVertical(side == ftLeft || side == ftRight), FOuterLow(side == ftLeft || side == ftTop), FWidth(width)
    {
        const int half = width / 2;
        const int edge = side == ftLeft ? state.X : side == ftRight ? state.X1 : side == ftTop ? state.Y : state.Y1;
        FAcross0 = edge - half;
        FStartFramed = frame.Typ.Contains(FVertical ? ftTop : ftLeft);
        FEndFramed = frame.Typ.Contains(FVertical ? ftBottom : ftRight);
        const int start = FVertical ? state.Y : state.X, end = FVertical ? state.Y1 : state.X1;
        FAlong0 = FStartFramed ? start - half : start;
        FAlong1 = FEndFramed ? end - half + width - 1 : end;
    }

    void Draw(Canvas &canvas, const TzelFrameLine &line) const
    {
        switch (line.Style()) {
        case fsSolid:
            canvas.FillRect(Rect(FAcross0, FAcross0 + FWidth, FAlong0, FAlong1 + 1), Brush(line));
            break;
        case fsDouble:
            DrawDouble(canvas, line);
            break;
        case fsAltDot:
        case fsSquare:
            if (FWidth <= 1)
                DrawDashed(canvas, line);
            else
                DrawDots(canvas, line);
            break;
        default:
            DrawDashed(canvas, line);
            break;
        }
    }

private:
    QRectF Rect(int across0, int across1, int along0, int along1) const
    {
        return FVertical ? QRectF(across0, along0, across1 - across0, along1 - along0)
                         : QRectF(along0, across0, along1 - along0, across1 - across0);
    }

    QPointF Point(int across, int along) const { return FVertical ? QPointF(across, along) : QPointF(along, across); }

    static TzelCanvasBrush Brush(const TzelFrameLine &line) { return {line.Color(), bsSolid}; }

    // A thin line on the outer pixel and another inside it with a gap of one
    // width between them; the inner one stops at the neighbours' inner lines.
    void DrawDouble(Canvas &canvas, const TzelFrameLine &line) const
    {
        const int outer = FOuterLow ? FAcross0 : FAcross0 + FWidth - 1;
        const int inner = FOuterLow ? outer + FWidth + 1 : outer - FWidth - 1;
        const int innerStart = FStartFramed ? FAlong0 + FWidth + 1 : FAlong0;
        const int innerEnd = FEndFramed ? FAlong1 - FWidth - 1 : FAlong1;
        canvas.FillRect(Rect(outer, outer + 1, FAlong0, FAlong1 + 1), Brush(line));
        if (innerEnd >= innerStart)
            canvas.FillRect(Rect(inner, inner + 1, innerStart, innerEnd + 1), Brush(line));
    }

    // Parallel one-pixel lines fill the width, so the pattern does not grow with it.
    void DrawDashed(Canvas &canvas, const TzelFrameLine &line) const
    {
        const TzelCanvasPen pen = zelFramePen(line.Color(), line.Style(), 1);
        for (int across = FAcross0; across < FAcross0 + FWidth; ++across)
            canvas.DrawLine(Point(across, FAlong0), Point(across, FAlong1), pen);
    }

    // Round dots or squares one width across, one width apart.
    void DrawDots(Canvas &canvas, const TzelFrameLine &line) const
    {
        const TzelCanvasPen noPen{clNone, 1, TzelPenStyle::Clear};
        for (int along = FAlong0; along <= FAlong1; along += 2 * FWidth) {
            const QRectF dot = Rect(FAcross0, FAcross0 + FWidth, along, std::min(along + FWidth, FAlong1 + 1));
            if (line.Style() == fsAltDot)
                canvas.DrawEllipse(dot, noPen, Brush(line));
            else
                canvas.FillRect(dot, Brush(line));
        }
    }

    bool FVertical;
    bool FOuterLow;
    int FWidth;
    int FAcross0 = 0;
    int FAlong0 = 0;
    int FAlong1 = 0;
    bool FStartFramed = false;
    bool FEndFramed = false;
};

void drawShadow(const TzelFrame &frame, const TzelViewDrawState &state)
{
    if (frame.ShadowColor == clNone)
        return;
    const int width = zelRoundPixel(state.ScaleX * frame.ShadowWidth);
    const int height = zelRoundPixel(state.ScaleY * frame.ShadowWidth);
    const TzelCanvasBrush brush{frame.ShadowColor, bsSolid};
    state.Target->FillRect(QRectF(state.X1, state.Y + height, width, state.DY()), brush);
    state.Target->FillRect(QRectF(state.X + width, state.Y1, state.DX(), height), brush);
}

} // namespace

int zelFrameSideWidth(const TzelFrame &frame, TzelFrameType side, double scaleX)
{
    const TzelFrameLine &line = lineOf(frame, side);
    if (!frame.Typ.Contains(side) || frame.Color() == clNone || frame.Width() <= 0 || line.Color() == clNone ||
        line.Width() <= 0)
        return 0;
    return std::max(1, zelRoundPixel(scaleX * line.Width()));
}

void zelDrawFrame(const TzelFrame &frame, const TzelViewDrawState &state)
{
    if (frame.DropShadow)
        drawShadow(frame, state);
    for (const TzelFrameType side : {ftLeft, ftRight, ftTop, ftBottom}) {
        const int width = zelFrameSideWidth(frame, side, state.ScaleX);
        if (width > 0)
            SideBand(frame, side, width, state).Draw(*state.Target, lineOf(frame, side));
    }
}

TzelCanvasPen zelFramePen(int color, TzelFrameStyle style, int width)
{
    TzelCanvasPen pen{color, double(width)};
    if (style == fsSolid || style == fsDouble)
        return pen;
    pen.Style = TzelPenStyle::Custom;
    // A one-pixel dash covers its first and last pixel only with square
    // ends; wider dashes keep their length only with flat ones.
    pen.Cap = width <= 1 ? TzelPenCap::Square : TzelPenCap::Flat;
    pen.Dashes = dashesOf(style);
    if (width > 1 && style == fsAltDot) {
        pen.Cap = TzelPenCap::Round;
        pen.Dashes = {0, 2.0 * width};
    } else if (width > 1 && style == fsSquare) {
        pen.Dashes = {double(width), double(width)};
    }
    return pen;
}
