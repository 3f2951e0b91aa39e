#pragma once
/// \file

#include "preview/zelpagelist.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <list>

class TzelCustomPreviewPages;

/// A scrolling surface showing prepared pages in rows on a grey background:
/// the preview's main view and its thumbnail strip. It draws the pages near
/// the view, frames the current one, and leaves what a click or a key means
/// to its owner, to which it reports through signals.
class TzelPreviewWorkspace : public QAbstractScrollArea
{
    Q_OBJECT

public:
    /// A workspace; a thumbnail workspace numbers its pages and only selects them.
    explicit TzelPreviewWorkspace(bool isThumbnail, QWidget *parent = nullptr);
    ~TzelPreviewWorkspace() override;

    /// The pages drawn, or nullptr.
    void SetPreviewPages(TzelCustomPreviewPages *pages);
    /// The layout of the pages at the current zoom.
    TzelPageList &PageList() { return FPageList; }
    /// Refills the page list with the first Count pages at Zoom (a thumbnail
    /// workspace keeps its own) and lays it out.
    void RebuildPageList(double zoom, int count);
    /// Adds pages up to Count to the list (a build in progress) and lays them out.
    void AppendPages(int count);
    /// Lays the pages out again for the current width and sets the scroll ranges.
    void Relayout();
    /// Pixels per report unit.
    double Zoom() const { return FZoom; }
    /// The width pages are laid out in: the view's width less a scroll bar and 26.
    int ClientWidth() const;
    /// Page Index's rectangle in workspace coordinates (mirrored right to left).
    QRect PageRect(int index) const;
    /// The 1-based page framed as current; setting it repaints the frames.
    int PageNo() const { return FPageNo; }
    /// Sets PageNo.
    void SetPageNo(int value);
    /// The scroll position: the workspace point at the view's top-left.
    QPoint Offset() const;
    /// Scrolls so that the workspace point Position is at the view's top-left.
    void SetOffset(QPoint position);
    /// Scrolls by Delta pixels, clamped.
    void ScrollBy(QPoint delta);
    /// The index of the page under the view point Point, -1 when none.
    int PageAt(QPoint point) const;

    /// Right-to-left layout.
    bool RightToLeft = false;
    QColor BackColor = QColor(0x80, 0x80, 0x80); ///< background around the pages
    QColor FrameColor = QColor(0x60, 0x60, 0x60); ///< frame of a page
    QColor ActiveFrameColor = QColor(0xFF, 0xC7, 0x3C); ///< frame of the current page
    /// Hide the scroll bars.
    void SetHideScrolls(bool hide);

    /// A found text to show inverted: page index and rectangle in report units; -1 clears.
    void SetFoundRect(int pageIndex, const QRectF &rect);

    /// Shows a snapshot of the view instead of the pages until Unlock.
    void Lock();
    /// Ends the Lock and repaints.
    void Unlock();
    /// Whether a Lock is in force.
    bool IsLocked() const { return FLocked; }
    /// Forgets the drawn pages (they changed, or the zoom did).
    void ClearImages();
    /// The number of pages drawn since the workspace was made (for measuring).
    qint64 PagesDrawn() const { return FPagesDrawn; }

signals:
    /// The vertical scroll position changed.
    void VerticalScrolled(int top);
    /// A button went down on page Index (-1 none).
    void MouseDown(QMouseEvent *event, int pageIndex);
    /// A button was released on page Index (-1 none) at Point; Moved: the view was dragged.
    void MouseUp(QMouseEvent *event, int pageIndex, bool dragged);
    /// The mouse moved without a button over page Index (-1 none).
    void MouseMoved(QMouseEvent *event, int pageIndex);
    /// The mouse left the view.
    void MouseLeft();
    /// A double click.
    void DoubleClicked(QMouseEvent *event);
    /// The wheel turned.
    void WheelTurned(QWheelEvent *event);
    /// A key was pressed while the workspace had the focus.
    void KeyPressed(QKeyEvent *event);

protected:
    /// Paints the visible pages; while locked, the view cached at Lock.
    void paintEvent(QPaintEvent *event) override;
    /// Lays out the pages for the new size.
    void resizeEvent(QResizeEvent *event) override;
    /// Scrolls the viewport; a vertical move emits VerticalScrolled.
    void scrollContentsBy(int dx, int dy) override;
    /// Emits MouseDown with the page under the pointer; the left button starts dragging the view.
    void mousePressEvent(QMouseEvent *event) override;
    /// Drags the view while the button is down.
    void mouseMoveEvent(QMouseEvent *event) override;
    /// Ends a drag and emits MouseUp, saying whether the view was dragged.
    void mouseReleaseEvent(QMouseEvent *event) override;
    /// Emits DoubleClicked.
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    /// Emits WheelTurned; the owner scrolls or zooms.
    void wheelEvent(QWheelEvent *event) override;
    /// Emits KeyPressed; a key the owner leaves unhandled scrolls.
    void keyPressEvent(QKeyEvent *event) override;
    /// Emits MouseLeft when the pointer leaves the viewport.
    bool viewportEvent(QEvent *event) override;

private:
    const QImage &PageImage(int index);
    void DrawPageNumber(QPainter &painter, const QRect &rect, int index) const;
    void UpdateRanges();

    struct CachedPage
    {
        int Index;
        QImage Image;
    };

    TzelCustomPreviewPages *FPages = nullptr;
    TzelPageList FPageList;
    bool FIsThumbnail;
    double FZoom = 1;
    int FPageNo = 1;
    bool FLocked = false;
    QPixmap FCachedView;
    bool FDown = false;
    bool FDragged = false;
    QPoint FLastPoint;
    int FFoundPage = -1;
    QRectF FFoundRect;
    std::list<CachedPage> FImages; // most recently drawn first
    qint64 FImageBytes = 0;
    qint64 FPagesDrawn = 0;
};
