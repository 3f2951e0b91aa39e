#include "engine/render/draw/zeldesignpage.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/draw/zelfillpainter.h"
#include "engine/render/draw/zelframepainter.h"
#include "engine/render/draw/zelpixelround.h"
#include "engine/render/draw/zelviewpainter.h"
#include "model/band/zelband.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/view/zelview.h"

namespace {

// Colours of the designer's own marks: paper edges and captions.
constexpr int marginColor = 0xC0C0C0;
constexpr int captionColor = 0xF2E4D8;
constexpr int captionTextColor = 0x404040;

void drawCaption(const TzelBand &band, Canvas &canvas, double scale, const TzelViewDrawState &state)
{
    const int height = zelRoundPixel(zelBandCaptionHeight * scale);
    const QRectF strip(state.X, state.Y - height, std::max(state.DX(), 1), height);
    canvas.FillRect(strip, TzelCanvasBrush{captionColor, bsSolid});
    TzelCanvasText caption;
    caption.Text = band.BandName() + QStringLiteral(": ") + band.Name();
    caption.Font = TzelCanvasFont{QStringLiteral("Tahoma"), 11 * scale, {}, captionTextColor};
    caption.Origin = QPointF(strip.left() + 4 * scale, strip.top() + (height - 14 * scale) / 2);
    caption.Flags = tfClipped;
    caption.Clip = strip;
    canvas.DrawText(caption);
}

void drawBand(const TzelBand &band, Canvas &canvas, double scale, QPointF origin)
{
    TzelViewDrawState state;
    state.Target = &canvas;
    state.ScaleX = state.ScaleY = scale;
    state.OffsetX = origin.x();
    state.OffsetY = origin.y();
    state.Designing = true;
    zelBeginDraw(band, band.Frame(), state);
    drawCaption(band, canvas, scale, state);
    zelDrawFill(band.Fill(), canvas, QRect(state.X, state.Y, state.DX(), state.DY()));
    zelDrawFrame(band.Frame(), state);
    // The band's lower edge, where the designer drags its height.
    canvas.DrawLine(QPointF(state.X, state.Y1), QPointF(state.X1 - 1, state.Y1),
                    TzelCanvasPen{.Color = marginColor, .Style = TzelPenStyle::Dot});
    for (const TzelComponent *child : band.Objects())
        if (const auto *view = dynamic_cast<const TzelView *>(child); view && view->Visible())
            zelDrawView(*view, canvas, scale, scale, origin.x(), origin.y(), true);
}

} // namespace

QSize zelDesignPageSize(const TzelReportPage &page, double scale)
{
    return QSize(zelRoundPixel(page.PaperWidth() * qz01cm * scale),
                 zelRoundPixel(page.PaperHeight() * qz01cm * scale));
}

void zelDrawDesignPage(const TzelReportPage &page, Canvas &canvas, double scale)
{
    const QSize size = zelDesignPageSize(page, scale);
    canvas.FillRect(QRectF(0, 0, size.width(), size.height()), TzelCanvasBrush{clWhite, bsSolid});
    const QPointF origin(page.LeftMargin * qz01cm * scale, page.TopMargin * qz01cm * scale);
    const QRectF printable(origin, QPointF(size.width() - page.RightMargin * qz01cm * scale,
                                           size.height() - page.BottomMargin * qz01cm * scale));
    canvas.DrawRect(printable.toAlignedRect(), TzelCanvasPen{.Color = marginColor, .Style = TzelPenStyle::Dot}, {});

    for (const TzelComponent *child : page.Objects()) {
        if (const auto *band = dynamic_cast<const TzelBand *>(child))
            drawBand(*band, canvas, scale, origin);
        else if (const auto *view = dynamic_cast<const TzelView *>(child); view && view->Visible())
            zelDrawView(*view, canvas, scale, scale, origin.x(), origin.y(), true);
    }
}
