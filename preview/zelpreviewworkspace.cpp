#include "preview/zelpreviewworkspace.h"

#include "engine/render/canvas/zelqpaintercanvas.h"
#include "engine/render/draw/zelpreparedpage.h"
#include "model/report/zelcustompreviewpages.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <cmath>

namespace {

constexpr int smallStep = 8;
constexpr int largeStep = 300;
constexpr double thumbnailZoom = 0.1;
// Pages drawn once are kept as pictures up to this size (a dozen A4 pages
// at 100 %), so that scrolling repaints without building the pages again.
constexpr qint64 imageBudget = 48LL * 1024 * 1024;
// A screen shows a few pages at most: these stay whatever their size.
constexpr size_t minimumImages = 3;
// Drawing looks at this many pages before and after the one at the view's top.
constexpr int slotsBefore = 60;
constexpr int slotsAfter = 340;

} // namespace

TzelPreviewWorkspace::TzelPreviewWorkspace(bool isThumbnail, QWidget *parent)
    : QAbstractScrollArea(parent), FIsThumbnail(isThumbnail)
{
    if (isThumbnail)
        FZoom = thumbnailZoom;
    setFocusPolicy(isThumbnail ? Qt::ClickFocus : Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(!isThumbnail);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(smallStep);
    verticalScrollBar()->setSingleStep(smallStep);
}

TzelPreviewWorkspace::~TzelPreviewWorkspace() = default;

void TzelPreviewWorkspace::SetPreviewPages(TzelCustomPreviewPages *pages)
{
    FPages = pages;
    ClearImages();
}

void TzelPreviewWorkspace::RebuildPageList(double zoom, int count)
{
    if (!FIsThumbnail)
        FZoom = zoom;
    FPageList.Clear();
    ClearImages();
    AppendPages(count);
}

void TzelPreviewWorkspace::AppendPages(int count)
{
    for (int i = FPageList.Count(); FPages && i < count; ++i) {
        const QPoint size = FPages->GetPageSize(i);
        FPageList.AddPage(int(std::lround(size.x() * FZoom)), int(std::lround(size.y() * FZoom)));
    }
    Relayout();
}

void TzelPreviewWorkspace::Relayout()
{
    FPageList.CalcBounds(ClientWidth());
    UpdateRanges();
    viewport()->update();
}

int TzelPreviewWorkspace::ClientWidth() const
{
    return width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 26;
}

QRect TzelPreviewWorkspace::PageRect(int index) const
{
    return FPageList.GetPageBounds(index, ClientWidth(), FZoom, RightToLeft);
}

void TzelPreviewWorkspace::SetPageNo(int value)
{
    if (value == FPageNo)
        return;
    FPageNo = value;
    viewport()->update();
}

QPoint TzelPreviewWorkspace::Offset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TzelPreviewWorkspace::SetOffset(QPoint position)
{
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void TzelPreviewWorkspace::ScrollBy(QPoint delta)
{
    SetOffset(Offset() + delta);
}

int TzelPreviewWorkspace::PageAt(QPoint point) const
{
    const QPoint p = point + Offset();
    const int x = RightToLeft ? ClientWidth() - p.x() : p.x();
    return FPageList.FindPage(x, p.y());
}

void TzelPreviewWorkspace::SetHideScrolls(bool hide)
{
    const Qt::ScrollBarPolicy policy = hide ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
}

void TzelPreviewWorkspace::SetFoundRect(int pageIndex, const QRectF &rect)
{
    FFoundPage = pageIndex;
    FFoundRect = rect;
    viewport()->update();
}

void TzelPreviewWorkspace::Lock()
{
    if (FLocked)
        return;
    FCachedView = viewport()->grab();
    FLocked = true;
}

void TzelPreviewWorkspace::Unlock()
{
    FLocked = false;
    FCachedView = QPixmap();
    viewport()->update();
}

void TzelPreviewWorkspace::ClearImages()
{
    FImages.clear();
    FImageBytes = 0;
    viewport()->update();
}

void TzelPreviewWorkspace::UpdateRanges()
{
    const QSize range = FPageList.Count() ? FPageList.ScrollRange() : QSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, range.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, range.height() - view.height()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setPageStep(largeStep);
}

const QImage &TzelPreviewWorkspace::PageImage(int index)
{
    for (auto it = FImages.begin(); it != FImages.end(); ++it)
        if (it->Index == index) {
            FImages.splice(FImages.begin(), FImages, it);
            return FImages.front().Image;
        }
    const TzelPageItem &item = FPageList.Items(index);
    QImage image(std::max(1, item.Width), std::max(1, item.Height), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainterCanvas canvas(image);
        zelDrawPreparedPage(*FPages, index, canvas, FZoom, FZoom, 0, 0);
    }
    ++FPagesDrawn;
    FImageBytes += image.sizeInBytes();
    FImages.push_front({index, std::move(image)});
    // Keep the pages of one screen, drop the oldest beyond the budget.
    while (FImageBytes > imageBudget && FImages.size() > minimumImages) {
        FImageBytes -= FImages.back().Image.sizeInBytes();
        FImages.pop_back();
    }
    return FImages.front().Image;
}

void TzelPreviewWorkspace::DrawPageNumber(QPainter &painter, const QRect &rect, int index) const
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    painter.setFont(font);
    const QString text = QStringLiteral(" %1 ").arg(index + 1);
    const QRect box = painter.fontMetrics().boundingRect(text).translated(rect.topLeft() + QPoint(1, 1));
    const QRect cell(rect.left() + 1, rect.top() + 1, box.width(), painter.fontMetrics().height());
    painter.fillRect(cell, BackColor);
    painter.setPen(Qt::white);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void TzelPreviewWorkspace::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    if (FLocked && !FCachedView.isNull()) {
        painter.drawPixmap(0, 0, FCachedView);
        return;
    }
    const QRect client = viewport()->rect();
    if (!FPages || FPageList.Count() == 0) {
        painter.fillRect(client, BackColor);
        return;
    }
    const QPoint offset = Offset();
    const int top = std::max(0, FPageList.FindPage(offset.y()));
    const int first = std::max(0, top - slotsBefore);
    const int last = std::min(FPageList.Count() - 1, top + slotsAfter);
    QRegion background(event->rect());
    QList<std::pair<int, QRect>> visible;
    for (int i = first; i <= last; ++i) {
        const QRect rect = PageRect(i).translated(-offset);
        if (rect.intersects(event->rect())) {
            visible.append({i, rect});
            background -= rect;
        }
    }
    painter.setClipRegion(background);
    painter.fillRect(client, BackColor);
    painter.setClipping(false);

    const QRect current = PageRect(FPageNo - 1).translated(-offset);
    painter.setPen(QPen(ActiveFrameColor, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(current.adjusted(-1, -1, 1, 1));

    for (const auto &[index, rect] : visible) {
        painter.drawImage(rect.topLeft(), PageImage(index));
        painter.setPen(FrameColor);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        if (FIsThumbnail)
            DrawPageNumber(painter, rect, index);
        if (index == FFoundPage) {
            const QRect found = QRectF(rect.left() + FFoundRect.left() * FZoom - 1, rect.top() + FFoundRect.top() * FZoom,
                                       FFoundRect.width() * FZoom + 2, FFoundRect.height() * FZoom)
                                    .toAlignedRect();
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.fillRect(found, Qt::white);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
}

void TzelPreviewWorkspace::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void TzelPreviewWorkspace::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy);
    if (dy)
        emit VerticalScrolled(verticalScrollBar()->value());
}

void TzelPreviewWorkspace::mousePressEvent(QMouseEvent *event)
{
    emit MouseDown(event, FLocked ? -1 : PageAt(event->position().toPoint()));
    if (FLocked || FPageList.Count() == 0)
        return;
    if (event->button() == Qt::LeftButton) {
        FDown = true;
        FDragged = false;
        FLastPoint = event->position().toPoint();
    }
}

void TzelPreviewWorkspace::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (FDown) {
        if (!FIsThumbnail) {
            ScrollBy(FLastPoint - point);
            FDragged = FDragged || point != FLastPoint;
        }
        FLastPoint = point;
        return;
    }
    if (!FLocked && FPageList.Count())
        emit MouseMoved(event, PageAt(point));
}

void TzelPreviewWorkspace::mouseReleaseEvent(QMouseEvent *event)
{
    FDown = false;
    emit MouseUp(event, FLocked ? -1 : PageAt(event->position().toPoint()), std::exchange(FDragged, false));
}

void TzelPreviewWorkspace::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit DoubleClicked(event);
}

void TzelPreviewWorkspace::wheelEvent(QWheelEvent *event)
{
    emit WheelTurned(event);
    event->accept();
}

void TzelPreviewWorkspace::keyPressEvent(QKeyEvent *event)
{
    emit KeyPressed(event);
    if (!event->isAccepted())
        QAbstractScrollArea::keyPressEvent(event);
}

bool TzelPreviewWorkspace::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        emit MouseLeft();
    return QAbstractScrollArea::viewportEvent(event);
}
