#include "engine/render/text/zelmemotext.h"

#include "engine/render/text/zeldrawtext.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelmemolayout.h"

#include <cmath>

namespace {

// The one layout every text object uses. The report cannot own it (the
// model knows nothing of drawing), so it is shared by all reports and used
// only inside TzelDrawText's process-wide section. It is never freed: faces
// must not be released after the application object is gone.
TzelDrawText &sharedLayout()
{
    static TzelDrawText &layout = *new TzelDrawText;
    return layout;
}

// Holds the layout section for one measurement or drawing.
class LayoutSection
{
public:
    LayoutSection() { TzelDrawText::Lock(); }
    ~LayoutSection() { TzelDrawText::Unlock(); }
    LayoutSection(const LayoutSection &) = delete;
    LayoutSection &operator=(const LayoutSection &) = delete;
};

// The memo's text area in device pixels (right and bottom exclusive) at
// scale (sx, sy) and offset (ox, oy): the object less its gaps, its frame
// lines and its shadow.
QRect textRect(const TzelCustomMemoView &memo, double sx, double sy, double ox, double oy)
{
    const TzelFrame &frame = memo.Frame();
    const double width = frame.Width();
    const double shadow = frame.ShadowSize();
    const double x = ox + sx * memo.AbsLeft();
    const double y = oy + sy * memo.AbsTop();
    double left = x + sx * memo.GapX;
    double top = y + sy * memo.GapY;
    double right = x + sx * (memo.Width() - shadow) - sx * memo.GapX + 1;
    double bottom = y + sy * (memo.Height() - shadow) - sy * memo.GapY + 1;
    if (frame.Typ.Contains(ftLeft))
        left += qRound((sx * width - 1) / 2);
    if (frame.Typ.Contains(ftTop))
        top += qRound((sy * width - 1) / 2);
    if (frame.Typ.Contains(ftRight))
        right -= sx * width / 2;
    if (frame.Typ.Contains(ftBottom))
        bottom -= sy * width / 2;
    const QPoint topLeft(qRound(left), qRound(top));
    return QRect(topLeft, QPoint(qRound(right), qRound(bottom)) - QPoint(1, 1));
}

bool isSideways(const TzelCustomMemoView &memo)
{
    return memo.ReducedAngle() == 90 || memo.ReducedAngle() == 270;
}

// The shared layout with Memo's font, options and gaps.
TzelDrawText &layoutFor(const TzelCustomMemoView &memo)
{
    TzelDrawText &layout = sharedLayout();
    layout.SetFont(memo.Font());
    layout.SetOptions(memo.WordWrap, memo.AllowHTMLTags, memo.ReducedAngle(), memo.Wysiwyg, memo.Clipped,
                      memo.WordBreak, memo.RTLReading);
    layout.SetGaps(memo.LineSpacing, memo.CharSpacing, memo.ParagraphGap);
    return layout;
}

// Lays Memo's whole text out for measuring: in its own text area, or in a
// practically unbounded one when the width follows the text or lines run
// up or down.
TzelDrawText &measured(const TzelCustomMemoView &memo)
{
    TzelDrawText &layout = layoutFor(memo);
    const QRect area = memo.AutoWidth || isSideways(memo) ? QRect(0, 0, 10000, 10000) : textRect(memo, 1, 1, 0, 0);
    layout.SetDimensions(QRectF(area), area, 1, 1, 1);
    layout.SetText(memo.Text(), memo.FirstParaBreak);
    return layout;
}

} // namespace

void zelDrawMemoText(const TzelCustomMemoView &memo, const TzelViewDrawState &state)
{
    if (!state.Target)
        return;
    LayoutSection section;
    TzelDrawText &layout = layoutFor(memo);
    layout.SetDimensions(QRectF(textRect(memo, 1, 1, 0, 0)),
                         textRect(memo, state.ScaleX, state.ScaleY, state.OffsetX, state.OffsetY), state.PrintScale,
                         state.ScaleX, state.ScaleY);
    layout.SetText(memo.Text(), memo.FirstParaBreak);
    layout.SetParaBreaks(memo.FirstParaBreak, memo.LastParaBreak);
    TzelCanvasPen underline;
    underline.Color = memo.Frame().Color();
    underline.Width = state.FrameWidth;
    layout.DrawText(*state.Target, memo.HAlign, memo.UnderlinesTextMode, memo.VAlign, underline);
}

namespace {

// The memo's text extent down the page (Vertical) or across it, plus the gaps,
// the frame lines on both sides and the shadow.
double calcExtent(const TzelCustomMemoView &memo, bool vertical)
{
    LayoutSection section;
    const TzelDrawText &layout = measured(memo);
    const TzelFrame &frame = memo.Frame();
    double extra = 2 * (vertical ? memo.GapY : memo.GapX) + frame.ShadowSize();
    if (frame.Typ.Contains(vertical ? ftTop : ftLeft))
        extra += (frame.Width() - 1) / 2;
    if (frame.Typ.Contains(vertical ? ftBottom : ftRight))
        extra += frame.Width() / 2;
    const bool alongLines = isSideways(memo) == vertical;
    return qRound((alongLines ? layout.CalcWidth() : layout.CalcHeight()) + extra);
}

} // namespace

double zelMemoCalcHeight(const TzelCustomMemoView &memo)
{
    return calcExtent(memo, true);
}

double zelMemoCalcWidth(const TzelCustomMemoView &memo)
{
    return calcExtent(memo, false);
}

void zelMemoInitPart(TzelCustomMemoView &memo)
{
    memo.FPartMemo = memo.Text();
    memo.FPartParaBreak = false;
    memo.FirstParaBreak = false;
    memo.LastParaBreak = false;
}

double zelMemoDrawPart(TzelCustomMemoView &memo)
{
    if (memo.FPartMemo.isEmpty()) {
        // The text is all printed: what is left of the memo stays blank.
        memo.SetText({});
        memo.FirstParaBreak = false;
        memo.LastParaBreak = false;
        return memo.Height();
    }
    LayoutSection section;
    TzelDrawText &layout = layoutFor(memo);
    const QRect area = textRect(memo, 1, 1, 0, 0);
    layout.SetDimensions(QRectF(area), area, 1, 1, 1);
    layout.SetText(memo.FPartMemo, memo.FPartParaBreak);
    const double unused = layout.UnusedSpace();
    if (unused <= 0)
        return memo.Height();
    bool paraBreak = false;
    const QString rest = layout.GetOutBoundsText(paraBreak);
    memo.FirstParaBreak = memo.FPartParaBreak;
    memo.LastParaBreak = paraBreak;
    memo.SetText(layout.GetInBoundsText());
    memo.FPartMemo = rest;
    memo.FPartParaBreak = paraBreak;
    return unused + 2 * memo.GapY;
}

void zelInstallMemoLayout()
{
    TzelMemoLayout layout;
    layout.CalcHeight = zelMemoCalcHeight;
    layout.CalcWidth = zelMemoCalcWidth;
    layout.InitPart = zelMemoInitPart;
    layout.DrawPart = zelMemoDrawPart;
    zelSetMemoLayout(layout);
}
