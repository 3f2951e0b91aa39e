#include "engine/render/draw/zelfillpainter.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/canvas/zelcolor.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"

#include <algorithm>
#include <cmath>

namespace {

// Gradients step through this many colours, whatever the size of the area.
constexpr int gradientSteps = 256;
// Elliptic gradients draw one ellipse more than their colour steps.
constexpr int ellipseSteps = 155;

struct Rgb
{
    int R, G, B;
};

// Named desktop colours resolve first, so that channels can be mixed.
Rgb rgbOf(int color)
{
    const QColor c = zelQColor(color);
    return {c.red(), c.green(), c.blue()};
}

int modelColor(const Rgb &c)
{
    return c.R | c.G << 8 | c.B << 16;
}

// Step of Steps on the way from Start to End, each channel by integer division.
int stepColor(const Rgb &start, const Rgb &end, int step, int steps)
{
    const auto channel = [&](int from, int to) { return from + step * (to - from) / steps; };
    return modelColor({channel(start.R, end.R), channel(start.G, end.G), channel(start.B, end.B)});
}

void fillArea(Canvas &canvas, int x, int y, int x1, int y1, int color)
{
    if (x1 > x && y1 > y)
        canvas.FillRect(QRectF(x, y, x1 - x, y1 - y), TzelCanvasBrush{color, bsSolid});
}

void drawBrush(const TzelBrushFill &fill, Canvas &canvas, const QRect &area)
{
    if (fill.BackColor != clNone)
        canvas.FillRect(area, TzelCanvasBrush{fill.BackColor, bsSolid});
    if (fill.Style != bsSolid && fill.Style != bsClear)
        canvas.FillRect(area, TzelCanvasBrush{fill.ForeColor, fill.Style});
}

// Stripes across the area, the colour running along X (Along) or Y; Mirrored
// runs it from both edges to the centre line.
void drawStripes(Canvas &canvas, const QRect &area, bool alongX, bool mirrored, const Rgb &start, const Rgb &end)
{
    const int x = area.x(), y = area.y(), x1 = x + area.width(), y1 = y + area.height();
    int length = alongX ? area.width() : area.height();
    if (mirrored)
        length = (length + 1) / 2;
    for (int i = 0; i < gradientSteps; ++i) {
        const int a = i * length / gradientSteps;
        const int b = (i + 1) * length / gradientSteps;
        if (a == b)
            continue;
        const int color = stepColor(start, end, i, gradientSteps - 1);
        if (alongX) {
            fillArea(canvas, x + a, y, x + b, y1, color);
            if (mirrored)
                fillArea(canvas, x1 - b, y, x1 - a, y1, color);
        } else {
            fillArea(canvas, x, y + a, x1, y + b, color);
            if (mirrored)
                fillArea(canvas, x, y1 - b, x1, y1 - a, color);
        }
    }
}

void drawRings(Canvas &canvas, const QRect &area, const Rgb &start, const Rgb &end)
{
    const int x = area.x(), y = area.y(), x1 = x + area.width(), y1 = y + area.height();
    const int halfWidth = area.width() / 2, halfHeight = area.height() / 2;
    for (int i = 0; i < gradientSteps; ++i) {
        const int dx = i * halfWidth / gradientSteps, dy = i * halfHeight / gradientSteps;
        fillArea(canvas, x + dx, y + dy, x1 - dx, y1 - dy, stepColor(start, end, i, gradientSteps - 1));
    }
}

// Ellipses from a quarter beyond the area's edges down to its centre point.
void drawEllipses(Canvas &canvas, const QRect &area, const Rgb &start, const Rgb &end)
{
    const double w = area.width(), h = area.height();
    const double stepX = (w / 4 + w / 2) / ellipseSteps, stepY = (h / 4 + h / 2) / ellipseSteps;
    const TzelCanvasPen noPen{clNone, 1, TzelPenStyle::Clear};
    canvas.Save();
    canvas.IntersectClip(QRectF(area));
    for (int i = 0; i <= ellipseSteps; ++i) {
        const double growX = w / 4 - i * stepX, growY = h / 4 - i * stepY;
        const QRectF ellipse(area.x() - growX, area.y() - growY, w + 2 * growX, h + 2 * growY);
        canvas.DrawEllipse(ellipse, noPen, TzelCanvasBrush{stepColor(start, end, i, ellipseSteps), bsSolid});
    }
    canvas.Restore();
}

void drawGradient(const TzelGradientFill &fill, Canvas &canvas, const QRect &area)
{
    const Rgb start = rgbOf(fill.StartColor), end = rgbOf(fill.EndColor);
    switch (fill.GradientStyle) {
    case gsHorizontal:
        drawStripes(canvas, area, true, false, start, end);
        break;
    case gsVertical:
        drawStripes(canvas, area, false, false, start, end);
        break;
    case gsVertCenter:
        drawStripes(canvas, area, true, true, start, end);
        break;
    case gsHorizCenter:
        drawStripes(canvas, area, false, true, start, end);
        break;
    case gsRectangle:
        drawRings(canvas, area, start, end);
        break;
    case gsElliptic:
        drawEllipses(canvas, area, start, end);
        break;
    }
}

void drawGlass(const TzelGlassFill &fill, Canvas &canvas, const QRect &area)
{
    if (fill.Color == clNone)
        return;
    canvas.FillRect(area, TzelCanvasBrush{fill.Color, bsSolid});
    const Rgb base = rgbOf(fill.Color);
    const auto lighten = [&](int c) { return std::min(255, c + int(std::lround((255 - c) * fill.Blend))); };
    const Rgb light{lighten(base.R), lighten(base.G), lighten(base.B)};

    const int x = area.x(), y = area.y(), x1 = x + area.width(), y1 = y + area.height();
    const int midX = x + area.width() / 2, midY = y + area.height() / 2;
    switch (fill.Orientation) {
    case foVertical:
        fillArea(canvas, x, y, midX, y1, modelColor(light));
        break;
    case foHorizontal:
        fillArea(canvas, x, y, x1, midY, modelColor(light));
        break;
    case foVerticalMirror:
        fillArea(canvas, midX, y, x1, y1, modelColor(light));
        break;
    case foHorizontalMirror:
        fillArea(canvas, x, midY, x1, y1, modelColor(light));
        break;
    }
    if (fill.Hatch) {
        const auto darken = [](int c) { return std::max(0, c - 6); };
        const Rgb hatch{darken(light.R), darken(light.G), darken(light.B)};
        canvas.FillRect(area, TzelCanvasBrush{modelColor(hatch), bsBDiagonal});
    }
}

} // namespace

void zelDrawFill(const TzelCustomFill &fill, Canvas &canvas, const QRect &area)
{
    if (area.isEmpty())
        return;
    switch (fill.FillType()) {
    case ftBrush:
        drawBrush(static_cast<const TzelBrushFill &>(fill), canvas, area);
        break;
    case ftGradient:
        drawGradient(static_cast<const TzelGradientFill &>(fill), canvas, area);
        break;
    case ftGlass:
        drawGlass(static_cast<const TzelGlassFill &>(fill), canvas, area);
        break;
    }
}
