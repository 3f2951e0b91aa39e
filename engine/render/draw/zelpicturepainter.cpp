#include "engine/render/draw/zelpicturepainter.h"

#include "base/core/zelexception.h"
#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/canvas/zelcolor.h"
#include "engine/render/draw/zelframepainter.h"
#include "engine/render/draw/zelpixelround.h"
#include "engine/render/draw/zelviewpainter.h"
#include "model/view/zelpictureview.h"

#include <QMutex>
#include <algorithm>

namespace {

// Side of the designer's placeholder box, in pixels.
constexpr int placeholderSize = 16;

// The pixels of Picture; none when it is empty or does not decode, so that
// a damaged picture never stops a page from drawing.
QImage decodePixels(const TzelPicture &picture)
{
    TzelImage pixels;
    try {
        pixels = picture.Image();
    } catch (const TzelException &) {
        return {};
    }
    if (pixels.IsEmpty())
        return {};
    return QImage(pixels.Pixels.data(), pixels.Width, pixels.Height, qsizetype(pixels.Stride()),
                  QImage::Format_RGBA8888)
        .copy();
}

// The same bytes give the same image, decoded once: a vector device (PDF)
// then embeds a picture repeated on every page once, as it knows an image
// by its identity. The last few pictures are kept.
QImage decode(const TzelPicture &picture)
{
    if (picture.IsEmpty())
        return {};
    constexpr qsizetype kept = 16;
    static QMutex lock;
    static QList<std::pair<QByteArray, QImage>> recent; // most recent first
    const QMutexLocker locker(&lock);
    for (qsizetype i = 0; i < recent.size(); ++i)
        if (recent[i].first == picture.Data()) {
            recent.move(i, 0);
            return recent.first().second;
        }
    QImage image = decodePixels(picture);
    recent.prepend({picture.Data(), image});
    if (recent.size() > kept)
        recent.removeLast();
    return image;
}

// Image with every pixel of colour Color made fully transparent.
QImage withoutColor(const QImage &image, int color)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = zelQColor(color).rgb() & RGB_MASK;
    for (int y = 0; y < masked.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((row[x] & RGB_MASK) == key)
                row[x] = 0;
    }
    return masked;
}

// Where the picture goes: stretched over the object (keeping its proportions
// when asked) or at its own size times the scale, centred when asked.
QRect targetOf(const TzelPictureView &view, const QImage &image, const TzelViewDrawState &state)
{
    int width = state.DX(), height = state.DY();
    if (view.Stretched) {
        if (view.KeepAspectRatio) {
            const double factor = std::min(double(state.DX()) / image.width(), double(state.DY()) / image.height());
            width = zelRoundPixel(image.width() * factor);
            height = zelRoundPixel(image.height() * factor);
        }
    } else {
        width = zelRoundPixel(image.width() * state.ScaleX);
        height = zelRoundPixel(image.height() * state.ScaleY);
    }
    QRect target(state.X, state.Y, width, height);
    if (view.Center)
        target.moveTo(state.X + (state.DX() - width) / 2, state.Y + (state.DY() - height) / 2);
    return target;
}

void drawPlaceholder(const TzelViewDrawState &state)
{
    const int size = std::min({placeholderSize, state.DX(), state.DY()});
    const QRectF box(state.X + (state.DX() - size) / 2, state.Y + (state.DY() - size) / 2, size, size);
    const TzelCanvasPen pen{clGray, 1};
    state.Target->DrawRect(box, pen, TzelCanvasBrush{clWhite, bsSolid});
    const double right = box.right() - 1, bottom = box.bottom() - 1;
    state.Target->DrawLine(box.topLeft(), QPointF(right, bottom), pen);
    state.Target->DrawLine(QPointF(box.left(), bottom), QPointF(right, box.top()), pen);
}

void drawImage(const TzelPictureView &view, const TzelViewDrawState &state)
{
    QImage image = decode(view.Picture());
    if (image.isNull()) {
        if (state.Designing)
            drawPlaceholder(state);
        return;
    }
    if (view.Transparent && view.TransparentColor != clNone)
        image = withoutColor(image, view.TransparentColor);
    Canvas &canvas = *state.Target;
    canvas.Save();
    canvas.IntersectClip(QRectF(state.X, state.Y, state.DX(), state.DY()));
    canvas.DrawImage(targetOf(view, image, state), image, view.HightQuality);
    canvas.Restore();
}

} // namespace

void zelDrawPicture(const TzelPictureView &picture, const TzelViewDrawState &state)
{
    zelDrawBackground(picture, state);
    drawImage(picture, state);
    zelDrawFrame(picture.Frame(), state);
    zelDrawCornerMarks(picture, state);
}
