#include "preview/zelpreview.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "model/band/zelgroupheader.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustomexportfilter.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelpreviewpageslist.h"
#include "model/report/zelreport.h"
#include "model/view/zelview.h"
#include "preview/zelpreviewworkspace.h"
#include "preview/zelsearchform.h"

#include <QApplication>
#include <QScopeGuard>
#include <QStyleHints>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>
#include <numeric>

namespace {

constexpr double minZoom = 0.25;
// During a build the pages are laid out one by one up to this count, then
// at the cadence the first page's time sets.
constexpr int progressiveLayoutPages = 50;

} // namespace

TzelPreview::TzelPreview(QWidget *parent)
    : QWidget(parent), FWorkspace(new TzelPreviewWorkspace(false)), FThumbnail(new TzelPreviewWorkspace(true)),
      FOutline(new TzelPreviewOutline), FSearchForm(new TzelSearchForm(this)), FLeftPane(new QStackedWidget),
      FSplitter(new QSplitter(Qt::Horizontal, this)), FMessagePanel(new QFrame(this)),
      FMessageLabel(new QLabel(FMessagePanel)), FTabs(new QTabBar(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FTabs->setFixedHeight(22);
    FTabs->setTabsClosable(true);
    FTabs->setDocumentMode(true);
    FTabs->hide();
    // While a build runs the tabs stay as they are: the build writes into the current one.
    connect(FTabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index != FCurTab && !FRunning)
            SwitchToTab(index);
    });
    connect(FTabs, &QTabBar::tabCloseRequested, this, [this](int index) {
        if (index == FCurTab && !FRunning)
            RemoveTab(index);
    });
    layout->addWidget(FTabs);
    layout->addWidget(FSplitter);
    FLeftPane->addWidget(FOutline);
    FLeftPane->addWidget(FThumbnail);
    FSplitter->addWidget(FLeftPane);
    FSplitter->addWidget(FWorkspace);
    FSplitter->addWidget(FSearchForm);
    FSplitter->setHandleWidth(4);
    FSplitter->setStretchFactor(1, 1);
    FSplitter->setCollapsible(1, false);
    FLeftPane->hide();
    FSearchForm->hide();
    FSearchForm->setMinimumWidth(50);
    connect(FSplitter, &QSplitter::splitterMoved, this, [this] { Relayout(); });

    static_cast<QFrame *>(FMessagePanel)->setFrameShape(QFrame::Panel);
    FMessagePanel->setAutoFillBackground(true);
    FMessageLabel->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(FMessagePanel))->addWidget(FMessageLabel);
    FMessagePanel->hide();

    connect(FWorkspace, &TzelPreviewWorkspace::VerticalScrolled, this, &TzelPreview::SetPageNoFromScroll);
    connect(FWorkspace, &TzelPreviewWorkspace::MouseDown, this, &TzelPreview::WorkspaceMouseDown);
    connect(FWorkspace, &TzelPreviewWorkspace::MouseUp, this, &TzelPreview::WorkspaceMouseUp);
    connect(FWorkspace, &TzelPreviewWorkspace::MouseLeft, this, &TzelPreview::WorkspaceMouseLeft);
    connect(FWorkspace, &TzelPreviewWorkspace::MouseMoved, this, &TzelPreview::WorkspaceMouseMove);
    connect(FWorkspace, &TzelPreviewWorkspace::DoubleClicked, this, &TzelPreview::DoubleClicked);
    connect(FWorkspace, &TzelPreviewWorkspace::WheelTurned, this, [this](QWheelEvent *e) {
        const bool horizontal = e->angleDelta().y() == 0;
        MouseWheelScroll(horizontal ? e->angleDelta().x() : e->angleDelta().y(), e->modifiers(), horizontal);
    });
    connect(FWorkspace, &TzelPreviewWorkspace::KeyPressed, this,
            [this](QKeyEvent *e) { e->setAccepted(HandleKey(e->key(), e->modifiers())); });
    connect(FThumbnail, &TzelPreviewWorkspace::MouseUp, this,
            [this](QMouseEvent *, int pageIndex, bool) { ThumbnailMouseUp(pageIndex); });
    connect(FThumbnail, &TzelPreviewWorkspace::WheelTurned, this,
            [this](QWheelEvent *e) { FThumbnail->ScrollBy(QPoint(0, e->angleDelta().y() > 0 ? -20 : 20)); });
    connect(FOutline, &TzelPreviewOutline::ItemChosen, this, [this](int pageNo, int top) {
        SetPosition(pageNo, top);
        FWorkspace->setFocus();
    });
    setFocusProxy(FWorkspace);
}

TzelPreview::~TzelPreview()
{
    // The window around the control is gone or going: it hears nothing more.
    blockSignals(true);
    ClearAllTabs();
    if (FReport && FReport->Preview() == this)
        FReport->SetPreview(nullptr);
}

// ---------------------------------------------------------------- binding

void TzelPreview::BindPages(TzelReport *report, TzelCustomPreviewPages *pages)
{
    FReport = report;
    FPages = pages;
    if (report) {
        report->SetPreview(this);
        if (pages)
            report->PreviewPagesList()->SetCurrent(pages);
    }
    FWorkspace->SetPreviewPages(pages);
    FThumbnail->SetPreviewPages(pages);
    FSearch.Invalidate();
    FSearch.ClearFound();
    FObjectOver.Forget();
    FWorkspace->SetFoundRect(-1, {});
    FAllowF3 = false;
}

bool TzelPreview::Init(TzelReport *report, TzelCustomPreviewPages *pages)
{
    // A detail the control builds itself must not rebind the view meanwhile.
    if (FCalledFromPreview)
        return true;
    if (!FInitialized) {
        const TzelPreviewOptions &options = report->PreviewOptions();
        FZoomMode = options.ZoomMode;
        FZoom = std::max(minZoom, options.Zoom);
        FWorkspace->RightToLeft = FThumbnail->RightToLeft = options.RTLPreview || layoutDirection() == Qt::RightToLeft;
        SetOutlineWidth(options.OutlineWidth);
        if (options.ThumbnailVisible)
            SetThumbnailVisible(true);
        else if (options.OutlineVisible)
            SetOutlineVisible(true);
        FInitialized = true;
    }
    if (FTabItems.empty() || EachReportInTab) {
        AddPreviewTabOrSwitch(report);
        return true;
    }
    TzelPreviewTabItem &tab = *FTabItems[size_t(FCurTab)];
    TzelReport *previous = std::exchange(tab.Report, report);
    tab.PreviewPages = pages;
    BindPages(report, pages);
    if (previous != report)
        ReleaseReport(previous);
    Relayout();
    UpdateOutline();
    SetPageNo(1);
    return true;
}

void TzelPreview::UnInit(TzelReport *report)
{
    for (int i = TabCount() - 1; i >= 0; --i)
        if (FTabItems[size_t(i)]->Report == report) {
            // The report goes: the tab must not free it again.
            (void)FTabItems[size_t(i)]->Owned.release();
            RemoveTab(i);
        }
    if (FReport == report)
        ResetView();
}

void TzelPreview::ResetView()
{
    if (FReport && FReport->Preview() == this)
        FReport->SetPreview(nullptr);
    BindPages(nullptr, nullptr);
    ClearPageLists();
    FInitialized = false;
    FRunning = false;
    FPageNo = 1;
}

void TzelPreview::ClearPageLists()
{
    FWorkspace->RebuildPageList(FZoom, 0);
    FThumbnail->RebuildPageList(FZoom, 0);
    FOutline->Fill(nullptr, false);
}

void TzelPreview::CloseHostWindow()
{
    emit CloseRequested();
}

void TzelPreview::PreviewPagesChanged()
{
    FObjectOver.Forget();
    FWorkspace->ClearImages();
    FThumbnail->ClearImages();
    FSearch.Invalidate();
}

TzelPreviewButtons TzelPreview::Buttons() const
{
    return FReport ? FReport->PreviewOptions().Buttons : TzelPreviewOptions::DefaultButtons;
}

// ---------------------------------------------------------------- layout and zoom

int TzelPreview::PageCount() const
{
    return FWorkspace->PageList().Count();
}

bool TzelPreview::FinalPass() const
{
    return !FReport || !FReport->Engine() || FReport->Engine()->FinalPass();
}

void TzelPreview::UpdateZoomFromMode()
{
    if (!FPages || FPages->Count() == 0 || (FZoomMode != zmWholePage && FZoomMode != zmPageWidth))
        return;
    const QPoint size = FPages->GetPageSize(std::clamp(FPageNo - 1, 0, FPages->Count() - 1));
    if (size.x() <= 0 || size.y() <= 0)
        return;
    const int scrollBar = FWorkspace->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (FZoomMode == zmWholePage) {
        const double width = std::max(1, FWorkspace->width() - (FPages->Count() >= 2 ? scrollBar : 0) - 26);
        const double height = std::max(1, FWorkspace->height() - 26);
        FZoom = size.x() / width > size.y() / height ? width / size.x() : height / size.y();
    } else {
        FZoom = (FWorkspace->width() - scrollBar - 26) / double(size.x());
    }
}

void TzelPreview::Relayout()
{
    if (Locked())
        return;
    UpdateZoomFromMode();
    // While a build runs the page being made is left out (it is not
    // finished), and a first pass shows nothing: its pages are thrown away.
    int shown = FPages ? FPages->Count() : 0;
    if (FRunning)
        shown = FinalPass() ? std::max(0, shown - 1) : 0;
    FWorkspace->RebuildPageList(FZoom, shown);
    if (!FRunning)
        FThumbnail->RebuildPageList(FZoom, shown);
    FAllowF3 = false;
    FSearch.Invalidate();
    if (FZoomMode == zmWholePage)
        ScrollToPage();
    emit ZoomChanged();
}

void TzelPreview::SetZoom(double value)
{
    FZoom = std::max(minZoom, value);
    FZoomMode = zmDefault;
    Relayout();
}

void TzelPreview::SetZoomMode(TzelZoomMode value)
{
    FZoomMode = value;
    Relayout();
}

void TzelPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (FMessagePanel->isVisible())
        LayoutMessage();
    if (FZoomMode == zmWholePage || FZoomMode == zmPageWidth)
        Relayout();
}

// ---------------------------------------------------------------- navigation

void TzelPreview::SetPageNo(int value)
{
    const int count = PageCount();
    value = count == 0 ? 1 : std::clamp(value, 1, count);
    FPageNo = value;
    FWorkspace->SetPageNo(value);
    FThumbnail->SetPageNo(value);
    if (!FDisableUpdate)
        ScrollToPage();
    emit PageChanged(FPageNo);
}

void TzelPreview::ScrollToPage()
{
    const bool disabled = std::exchange(FDisableUpdate, true);
    for (TzelPreviewWorkspace *workspace : {FWorkspace, FThumbnail})
        if (FPageNo - 1 < workspace->PageList().Count())
            workspace->SetOffset(QPoint(workspace->Offset().x(), workspace->PageRect(FPageNo - 1).top() - 10));
    FDisableUpdate = disabled;
}

void TzelPreview::ShowPageAt(int pageNo, QPoint offset)
{
    const bool disabled = std::exchange(FDisableUpdate, true);
    FWorkspace->SetOffset(offset);
    SetPageNo(pageNo);
    FDisableUpdate = disabled;
}

void TzelPreview::SetPageNoFromScroll(int top)
{
    if (FDisableUpdate || PageCount() == 0)
        return;
    ShowPageAt(FSavedPageNo != -1 ? FSavedPageNo : FWorkspace->PageList().FindPage(top) + 1, FWorkspace->Offset());
}

void TzelPreview::First() { SetPageNo(1); }
void TzelPreview::Next() { SetPageNo(FPageNo + 1); }
void TzelPreview::Prior() { SetPageNo(FPageNo - 1); }
void TzelPreview::Last() { SetPageNo(PageCount()); }

static double TopMarginUnits(TzelCustomPreviewPages *pages, int index)
{
    TzelReportPage *page = pages ? pages->GetPage(index) : nullptr;
    return page ? page->TopMargin * qz01cm : 0;
}

void TzelPreview::SetPosition(int pageN, int top)
{
    const int count = PageCount();
    if (count == 0)
        return;
    pageN = std::clamp(pageN, 1, count);
    const double margin = top != 0 ? TopMarginUnits(FPages, pageN - 1) : 0;
    const int y = FWorkspace->PageRect(pageN - 1).top() + int(std::lround((margin + top) * FZoom)) - 10;
    ShowPageAt(pageN, QPoint(FWorkspace->Offset().x(), y));
    FThumbnail->SetOffset(QPoint(0, FThumbnail->PageRect(pageN - 1).top() - 10));
}

int TzelPreview::GetTopPosition() const
{
    if (PageCount() == 0)
        return 0;
    const int top = FWorkspace->PageRect(FPageNo - 1).top();
    return int(std::lround((FWorkspace->Offset().y() - top + 10) / FZoom - TopMarginUnits(FPages, FPageNo - 1)));
}

void TzelPreview::MouseWheelScroll(int delta, Qt::KeyboardModifiers modifiers, bool horizontal)
{
    if (delta == 0)
        return;
    if (modifiers & Qt::ControlModifier) {
        SetZoom(std::max(0.3, FZoom + (delta > 0 ? 0.1 : -0.1)));
        return;
    }
    const int step = delta > 0 ? -20 : 20;
    FWorkspace->ScrollBy(horizontal ? QPoint(step, 0) : QPoint(0, step));
}

bool TzelPreview::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const TzelPreviewButtons buttons = Buttons();
    switch (key) {
    case Qt::Key_Up: FWorkspace->ScrollBy({0, -8}); return true;
    case Qt::Key_Down: FWorkspace->ScrollBy({0, 8}); return true;
    case Qt::Key_Left: FWorkspace->ScrollBy({-8, 0}); return true;
    case Qt::Key_Right: FWorkspace->ScrollBy({8, 0}); return true;
    case Qt::Key_PageUp: ctrl ? Prior() : FWorkspace->ScrollBy({0, -300}); return true;
    case Qt::Key_PageDown: ctrl ? Next() : FWorkspace->ScrollBy({0, 300}); return true;
    case Qt::Key_Home: First(); return true;
    case Qt::Key_End: Last(); return true;
    case Qt::Key_F3:
        if (buttons.Contains(pbFind))
            FindNext();
        return true;
    case Qt::Key_S:
        if (ctrl && buttons.Contains(pbSave))
            emit SaveRequested();
        return ctrl;
    case Qt::Key_F:
        if (ctrl && buttons.Contains(pbFind))
            Find();
        return ctrl;
    case Qt::Key_O:
        if (ctrl && buttons.Contains(pbLoad))
            emit OpenRequested();
        return ctrl;
    default: return false;
    }
}

// ---------------------------------------------------------------- mouse

TzelObjectOverResult TzelPreview::ObjectOver(int pageIndex, QPointF position, TzelPageMouseEvent event,
                                             Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    // While a build runs the pages would be rebuilt for every event: objects rest then.
    if (pageIndex < 0 || !FPages || FRunning || Locked())
        return {};
    const QRect rect = FWorkspace->PageRect(pageIndex).translated(-FWorkspace->Offset());
    const TzelObjectOverResult result =
        FObjectOver.Handle(FReport, *FPages, pageIndex, (position - rect.topLeft()) / FZoom, event, button, modifiers);
    if (result.Redraw)
        FWorkspace->ClearImages();
    return result;
}

void TzelPreview::WorkspaceMouseDown(QMouseEvent *event, int pageIndex)
{
    if (event->button() != Qt::RightButton)
        ObjectOver(pageIndex, event->position(), TzelPageMouseEvent::Down, event->button(), event->modifiers());
}

void TzelPreview::WorkspaceMouseUp(QMouseEvent *event, int pageIndex, bool dragged)
{
    emit Clicked();
    if (Locked() || PageCount() == 0 || pageIndex < 0)
        return;
    ShowPageAt(pageIndex + 1, FWorkspace->Offset());
    if (dragged || event->button() == Qt::RightButton)
        return;
    ObjectOver(pageIndex, event->position(), TzelPageMouseEvent::Up, event->button(), event->modifiers());
    // A second click within the double-click time is a double click.
    const bool twice = FLastClick.isValid() && FLastClick.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval();
    if (twice)
        FLastClick.invalidate();
    else
        FLastClick.start();
    const TzelObjectOverResult result =
        ObjectOver(pageIndex, event->position(), twice ? TzelPageMouseEvent::DoubleClick : TzelPageMouseEvent::Click,
                   event->button(), event->modifiers());
    if (result.FollowLink)
        FollowLink(result.Link);
    else if (result.ToggleDrill && FReport) {
        if (!FReport->DrillState.removeOne(result.DrillName))
            FReport->DrillState.append(result.DrillName);
        RefreshReport();
    }
}

void TzelPreview::FollowLink(const TzelHyperlink &link)
{
    switch (link.Kind) {
    case hkURL: QDesktopServices::openUrl(QUrl::fromUserInput(link.Value)); break;
    case hkPageNumber: SetPageNo(link.Value.toInt()); break;
    case hkAnchor: SetPageNo(FPages->GetAnchorPage(link.Value)); break;
    case hkDetailReport:
    case hkDetailPage: OpenDetail(link); break;
    default: break;
    }
}

void TzelPreview::WorkspaceMouseMove(QMouseEvent *event, int pageIndex)
{
    TzelObjectOverResult result;
    if (pageIndex >= 0)
        result = ObjectOver(pageIndex, event->position(), TzelPageMouseEvent::Move, Qt::NoButton, event->modifiers());
    else
        WorkspaceMouseLeft();
    FWorkspace->viewport()->setCursor(result.Cursor);
    const QString hint = UseReportHints ? result.Hint : QString();
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), hint, FWorkspace);
    emit MessageText(hint, true);
}

void TzelPreview::WorkspaceMouseLeft()
{
    if (FObjectOver.FireMouseLeave(FReport, FPages))
        FWorkspace->ClearImages();
}

void TzelPreview::ThumbnailMouseUp(int pageIndex)
{
    if (pageIndex >= 0 && !Locked())
        SetPageNo(pageIndex + 1);
}

// ---------------------------------------------------------------- build progress

void TzelPreview::InternalOnProgressStart()
{
    // A detail page the control builds itself shows when it is done.
    if (FRefreshing || FCalledFromPreview)
        return;
    // The engine fills the outline now: the pane lets go of it until the end.
    ClearPageLists();
    if (FReport)
        FReport->DrillState.clear();
    FRunning = true;
    emit RunningChanged(true);
}

void TzelPreview::InternalOnProgress(int progress)
{
    if (FCalledFromPreview)
        return;
    if (FRefreshing) {
        emit PageChanged(FPageNo);
    } else {
        const bool finalPass = FinalPass();
        // Progress counts the page being made; the pages before it are done.
        const int done = std::max(0, progress - 1);
        if (finalPass && done <= progressiveLayoutPages && done > PageCount()) {
            if (done == 1) {
                FBuildTime.start();
                // The zoom modes fit the first page.
                Relayout();
                SetPageNo(1);
            } else {
                FWorkspace->AppendPages(done);
            }
            if (done == 2) {
                const qint64 elapsed = FBuildTime.elapsed();
                FTick = elapsed < 5 ? 50 : elapsed < 10 ? 20 : 5;
            }
        } else if (!finalPass || progress % FTick == 0) {
            // The first pass shows no pages, only how many are made.
            if (finalPass)
                FWorkspace->AppendPages(done);
            emit PageChanged(FPageNo);
        }
        emit MessageText(zelFormat(zelRes("prRunning"), {QString::number(progress)}), false);
    }
    QCoreApplication::processEvents();
}

void TzelPreview::InternalOnProgressStop()
{
    if (FRefreshing || FCalledFromPreview)
        return;
    FRunning = false;
    Relayout();
    UpdateOutline();
    emit PageChanged(FPageNo);
    emit RunningChanged(false);
}

// ---------------------------------------------------------------- locking

bool TzelPreview::Lock()
{
    if (++FLocks > 1)
        return false;
    FWorkspace->Lock();
    FThumbnail->Lock();
    return true;
}

void TzelPreview::Unlock(bool doUpdate)
{
    if (FLocks == 0 || --FLocks > 0)
        return;
    HideMessage();
    FWorkspace->Unlock();
    FThumbnail->Unlock();
    if (doUpdate)
        Relayout();
}

void TzelPreview::LayoutMessage()
{
    FMessagePanel->setGeometry((width() - 260) / 2, (height() - 75) / 3, 260, 75);
}

void TzelPreview::ShowMessage(const QString &text)
{
    FMessageLabel->setText(text);
    LayoutMessage();
    FMessagePanel->show();
    FMessagePanel->raise();
    FMessagePanel->repaint();
}

void TzelPreview::HideMessage()
{
    FMessagePanel->hide();
}

// ---------------------------------------------------------------- commands

namespace {

QString PreparedReportFilter()
{
    return zelRes("clZP3files") + QStringLiteral(" (*.zp3)|*.zp3");
}

// Unlocks the preview however the command ends.
struct LockGuard
{
    explicit LockGuard(TzelPreview &preview, const QString &message = QString()) : Preview(preview)
    {
        Preview.Lock();
        if (!message.isEmpty())
            Preview.ShowMessage(message);
    }
    ~LockGuard() { Preview.Unlock(Update); }
    TzelPreview &Preview;
    bool Update = true;
};

void ShowError(const QString &message)
{
    TzelDialogService::Instance().MessageBox(message, zelRes("mbError"), TzelDialogService::mbOK,
                                             TzelDialogService::miError);
}

} // namespace

void TzelPreview::SaveToFile()
{
    if (FRunning || !FPages)
        return;
    TzelDialogService::FileRequest request;
    request.Save = true;
    request.OverwritePrompt = true;
    request.Filter = PreparedReportFilter();
    request.DefaultExt = QStringLiteral("zp3");
    if (FReport && !FReport->FileName().isEmpty())
        request.FileName = QFileInfo(FReport->FileName()).completeBaseName() + QStringLiteral(".zp3");
    const TzelDialogService::FileResult result = TzelDialogService::Instance().FileDialog(request);
    if (result.Accepted)
        SaveToFile(result.FileName);
}

void TzelPreview::SaveToFile(const QString &fileName)
{
    if (FRunning || !FPages)
        return;
    LockGuard lock(*this, zelRes("clSaving"));
    try {
        FPages->SaveToFile(fileName);
    } catch (const TzelException &e) {
        ShowError(e.message());
    }
}

void TzelPreview::LoadFromFile()
{
    if (FRunning || !FPages)
        return;
    TzelDialogService::FileRequest request;
    request.Filter = PreparedReportFilter();
    request.DefaultExt = QStringLiteral("zp3");
    const TzelDialogService::FileResult result = TzelDialogService::Instance().FileDialog(request);
    if (result.Accepted)
        LoadFromFile(result.FileName);
}

void TzelPreview::LoadFromFile(const QString &fileName)
{
    if (FRunning || !FPages)
        return;
    {
        LockGuard lock(*this, zelRes("clLoading"));
        try {
            FPages->LoadFromFile(fileName, true);
        } catch (const TzelException &e) {
            ShowError(e.message());
        }
        PreviewPagesChanged();
    }
    FPageNo = 1;
    Relayout();
    UpdateOutline();
    SetPageNo(1);
}

void TzelPreview::Export(TzelCustomExportFilter *filter)
{
    if (FRunning || !FPages || !filter)
        return;
    FPages->CurPreviewPage = FPageNo - 1;
    LockGuard lock(*this);
    lock.Update = false;
    if (!FPages->Export(filter) && FReport && !FReport->Errors().IsEmpty())
        FReport->ReportErrors();
}

void TzelPreview::AddPage()
{
    if (FRunning || !FPages)
        return;
    FPages->AddEmptyPage(FPageNo);
    PreviewPagesChanged();
    Relayout();
}

void TzelPreview::DeletePage()
{
    if (FRunning || !FPages || FPages->Count() < 2)
        return;
    FPages->DeletePage(FPageNo - 1);
    PreviewPagesChanged();
    if (FPageNo >= FPages->Count() + 1)
        --FPageNo;
    Relayout();
    SetPageNo(FPageNo);
}

void TzelPreview::Clear()
{
    if (FRunning || !FPages)
        return;
    {
        LockGuard lock(*this);
        lock.Update = false;
        FPages->Clear();
    }
    PreviewPagesChanged();
    ClearPageLists();
    SetPageNo(1);
}

void TzelPreview::Cancel()
{
    if (FReport && FRunning)
        FReport->Terminated = true;
}

void TzelPreview::RefreshReport()
{
    if (FRunning || !FReport)
        return;
    const QPoint offset = FWorkspace->Offset();
    const int pageNo = FPageNo;
    const double zoom = FZoom;
    const TzelZoomMode mode = FZoomMode;
    FRefreshing = true;
    {
        LockGuard lock(*this);
        lock.Update = false;
        FRunning = true;
        emit RunningChanged(true);
        const auto done = qScopeGuard([this] { FRunning = FRefreshing = false; });
        // A detail tab builds its page again, into its own pages.
        const TzelPreviewTabItem *tab = FCurTab > 0 ? FTabItems[size_t(FCurTab)].get() : nullptr;
        if (tab && !tab->DetailPage.isEmpty())
            BuildDetailPage(tab->DetailPage, tab->PreviewPages);
        else
            FReport->PrepareReport(true);
    }
    FZoom = zoom;
    FZoomMode = mode;
    PreviewPagesChanged();
    Relayout();
    UpdateOutline();
    ShowPageAt(pageNo, offset);
    emit RunningChanged(false);
}

// ---------------------------------------------------------------- search

void TzelPreview::Find()
{
    SetFindFmVisible(!FindFmVisible());
}

void TzelPreview::FindNext()
{
    if (!FAllowF3 || !FPages)
        return;
    if (FSearch.FindNext(*FPages)) {
        ShowHit(FSearch.Hit());
        FAllowF3 = true;
        return;
    }
    FAllowF3 = false;
    FWorkspace->SetFoundRect(-1, {});
    TzelDialogService::Instance().MessageBox(zelRes("clStrNotFound"), zelRes("mbInfo"), TzelDialogService::mbOK,
                                             TzelDialogService::miInformation);
}

bool TzelPreview::FindText(const QString &text, bool fromTop, bool caseSensitive)
{
    if (FRunning || !FPages)
        return false;
    // Asked again on the page of its last hit, the search goes on after it.
    const bool goOn = !fromTop && FSearch.Found() && FSearch.Text() == text && FSearch.CaseSensitive() == caseSensitive
                      && FSearch.Hit().PageIndex == FPageNo - 1;
    if (!goOn)
        FSearch.Start(text, caseSensitive, fromTop ? 0 : FPageNo - 1);
    FAllowF3 = true;
    FindNext();
    return FSearch.Found();
}

void TzelPreview::FindAll(const QString &text, bool caseSensitive)
{
    if (FRunning || !FPages)
        return;
    FSearch.Start(text, caseSensitive, 0);
    FAllowF3 = false;
    FSearchForm->ShowHits(FSearch.FindAll(*FPages));
}

void TzelPreview::FindTextClear()
{
    FSearch.ClearFound();
    FAllowF3 = false;
    FWorkspace->SetFoundRect(-1, {});
}

void TzelPreview::ShowHit(const TzelSearchHit &hit)
{
    if (hit.PageIndex < 0 || hit.PageIndex >= PageCount())
        return;
    FWorkspace->SetFoundRect(hit.PageIndex, hit.Rect);
    const QRect page = FWorkspace->PageRect(hit.PageIndex);
    const QRect found = QRectF(page.left() + hit.Rect.left() * FZoom, page.top() + hit.Rect.top() * FZoom,
                               hit.Rect.width() * FZoom, hit.Rect.height() * FZoom).toAlignedRect();
    const QRect view(FWorkspace->Offset(), FWorkspace->viewport()->size());
    QPoint offset = FWorkspace->Offset();
    if (found.top() < view.top() || found.bottom() > view.bottom())
        offset.setY(found.top() - 20);
    if (found.left() < view.left() || found.right() > view.right())
        offset.setX(found.left() - 20);
    ShowPageAt(hit.PageIndex + 1, offset);
}

// ---------------------------------------------------------------- panes

bool TzelPreview::OutlineVisible() const { return FOutlineShown; }
bool TzelPreview::ThumbnailVisible() const { return FThumbnailShown; }
bool TzelPreview::FindFmVisible() const { return !FSearchForm->isHidden(); }

void TzelPreview::SetOutlineVisible(bool value)
{
    FOutlineShown = value;
    if (value)
        FThumbnailShown = false;
    FLeftPane->setCurrentWidget(FOutline);
    FLeftPane->setVisible(FOutlineShown || FThumbnailShown);
    Relayout();
    emit PanesChanged();
}

void TzelPreview::SetThumbnailVisible(bool value)
{
    FThumbnailShown = value;
    if (value)
        FOutlineShown = false;
    FLeftPane->setCurrentWidget(FThumbnail);
    FLeftPane->setVisible(FOutlineShown || FThumbnailShown);
    Relayout();
    if (value)
        ScrollToPage();
    emit PanesChanged();
}

void TzelPreview::SetFindFmVisible(bool value)
{
    FSearchForm->setVisible(value);
    if (value)
        FSearchForm->FocusText();
    else
        FWorkspace->setFocus();
    Relayout();
    emit PanesChanged();
}

void TzelPreview::SetOutlineWidth(int value)
{
    FOutlineWidth = value;
    QList<int> sizes = FSplitter->sizes();
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    FSplitter->setSizes({value, std::max(1, total - 2 * value), std::max(value, 183)});
}

void TzelPreview::SetHideScrolls(bool value)
{
    FWorkspace->SetHideScrolls(value);
}

void TzelPreview::UpdateOutline()
{
    FOutline->Fill(FRunning ? nullptr : FPages, FReport && FReport->PreviewOptions().OutlineExpand);
}
