#include "engine/render/draw/zelviewpainter.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/draw/zelfillpainter.h"
#include "engine/render/draw/zelframepainter.h"
#include "engine/render/draw/zellinepainter.h"
#include "engine/render/draw/zelmemopainter.h"
#include "engine/render/draw/zelpicturepainter.h"
#include "engine/render/draw/zelpixelround.h"
#include "engine/render/draw/zelshapepainter.h"
#include "model/page/zeldatapage.h"
#include "model/view/zelcustomlineview.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelshapeview.h"

#include <unordered_map>

namespace {

// Corner marks are this many pixels long.
constexpr int cornerMarkLength = 4;

template <class T, void (*Draw)(const T &, const TzelViewDrawState &)>
void drawAs(const TzelView &view, const TzelViewDrawState &state)
{
    Draw(static_cast<const T &>(view), state);
}

std::unordered_map<const TzelClassInfo *, TzelViewPainter> &painters()
{
    static std::unordered_map<const TzelClassInfo *, TzelViewPainter> registered{
        {&TzelView::StaticClassInfo(), zelDrawPlainView},
        {&TzelCustomMemoView::StaticClassInfo(), drawAs<TzelCustomMemoView, zelDrawMemo>},
        {&TzelShapeView::StaticClassInfo(), drawAs<TzelShapeView, zelDrawShape>},
        {&TzelCustomLineView::StaticClassInfo(), drawAs<TzelCustomLineView, zelDrawLine>},
        {&TzelPictureView::StaticClassInfo(), drawAs<TzelPictureView, zelDrawPicture>},
    };
    return registered;
}

TzelViewPainter painterOf(const TzelView &view)
{
    const auto &registered = painters();
    for (const TzelClassInfo *info = &view.ClassInfo(); info; info = info->Base()) {
        const auto found = registered.find(info);
        if (found != registered.end())
            return found->second;
    }
    return zelDrawPlainView;
}

bool isOnDataPage(const TzelView &view)
{
    for (const TzelComponent *parent = view.Parent(); parent; parent = parent->Parent())
        if (parent->InheritsFrom(TzelDataPage::StaticClassInfo()))
            return true;
    return false;
}

} // namespace

void zelRegisterViewPainter(const TzelClassInfo &info, TzelViewPainter painter)
{
    painters()[&info] = painter;
}

void zelBeginDraw(const TzelComponent &box, const TzelFrame &frame, TzelViewDrawState &state)
{
    const double left = box.AbsLeft(), top = box.AbsTop();
    state.X = zelRoundPixel(state.OffsetX + state.ScaleX * left);
    state.Y = zelRoundPixel(state.OffsetY + state.ScaleY * top);
    state.X1 = zelRoundPixel(state.OffsetX + state.ScaleX * (left + box.Width()));
    state.Y1 = zelRoundPixel(state.OffsetY + state.ScaleY * (top + box.Height()));
    if (frame.DropShadow) {
        state.X1 -= zelRoundPixel(state.ScaleX * frame.ShadowWidth);
        state.Y1 -= zelRoundPixel(state.ScaleY * frame.ShadowWidth);
    }
    state.FrameWidth = zelRoundPixel(state.ScaleX * frame.Width());
}

void zelBeginDraw(const TzelView &view, TzelViewDrawState &state)
{
    zelBeginDraw(view, view.Frame(), state);
}

void zelDrawBackground(const TzelView &view, const TzelViewDrawState &state)
{
    const auto sideWidth = [&](TzelFrameType side) { return zelFrameSideWidth(view.Frame(), side, state.ScaleX); };
    // An odd line has its middle pixel on the right and bottom edges, so the
    // fill covers it there.
    const int x = state.X - sideWidth(ftLeft) / 2;
    const int y = state.Y - sideWidth(ftTop) / 2;
    const int x1 = state.X1 + (sideWidth(ftRight) + 1) / 2;
    const int y1 = state.Y1 + (sideWidth(ftBottom) + 1) / 2;
    zelDrawFill(view.Fill(), *state.Target, QRect(x, y, x1 - x, y1 - y));
}

void zelDrawCornerMarks(const TzelView &view, const TzelViewDrawState &state)
{
    if (!state.Designing || state.OnDataPage || view.Frame().Typ == TzelFrameTypes{ftLeft, ftRight, ftTop, ftBottom})
        return;
    const TzelCanvasPen pen{clBlack, 1};
    const int reach = cornerMarkLength - 1;
    for (const int cx : {state.X, state.X1}) {
        for (const int cy : {state.Y, state.Y1}) {
            const int dx = cx == state.X ? reach : -reach, dy = cy == state.Y ? reach : -reach;
            state.Target->DrawPolyline(QPolygonF{QPointF(cx, cy + dy), QPointF(cx, cy), QPointF(cx + dx, cy)}, pen);
        }
    }
}

void zelDrawPlainView(const TzelView &view, const TzelViewDrawState &state)
{
    zelDrawBackground(view, state);
    zelDrawCornerMarks(view, state);
    zelDrawFrame(view.Frame(), state);
}

void zelDrawView(const TzelView &view, TzelViewDrawState &state)
{
    zelBeginDraw(view, state);
    painterOf(view)(view, state);
}

void zelDrawView(const TzelView &view, Canvas &canvas, double scaleX, double scaleY, double offsetX,
                 double offsetY, bool designing)
{
    TzelViewDrawState state;
    state.Target = &canvas;
    state.ScaleX = scaleX;
    state.ScaleY = scaleY;
    state.OffsetX = offsetX;
    state.OffsetY = offsetY;
    state.Designing = designing;
    state.OnDataPage = isOnDataPage(view);
    zelDrawView(view, state);
}
