#pragma once
/// \file

#include "model/page/zelreporttypes.h"
#include "model/report/zelcustompreview.h"
#include "preview/zelobjectover.h"
#include "preview/zelpreviewoutline.h"
#include "preview/zelpreviewsearch.h"
#include "preview/zelpreviewtab.h"

#include <QElapsedTimer>
#include <functional>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTabBar;
class TzelCustomExportFilter;
class TzelPreviewWorkspace;
class TzelSearchForm;

/// The control that shows a report's prepared pages: pages in rows on a grey
/// workspace at a chosen zoom, the current page framed, a thumbnail strip or
/// the outline on the left, the search pane on the right. It reads the pages
/// from the report's prepared pages and follows a build as it goes, showing
/// the first pages while later ones are still being made.
class TzelPreview : public QWidget, public TzelCustomPreview
{
    Q_OBJECT

public:
    /// Creates an empty preview control; a report arrives through Init.
    explicit TzelPreview(QWidget *parent = nullptr);
    ~TzelPreview() override;

    bool Init(TzelReport *report, TzelCustomPreviewPages *pages) override;
    void UnInit(TzelReport *report) override;
    void InternalOnProgressStart() override;
    void InternalOnProgress(int progress) override;
    void InternalOnProgressStop() override;
    void PreviewPagesChanged() override;
    void CloseHostWindow() override;

    /// The report shown, or nullptr.
    TzelReport *Report() const { return FReport; }
    /// Its prepared pages, or nullptr.
    TzelCustomPreviewPages *PreviewPages() const { return FPages; }
    /// The main workspace.
    TzelPreviewWorkspace *Workspace() const { return FWorkspace; }
    /// The thumbnail workspace.
    TzelPreviewWorkspace *Thumbnails() const { return FThumbnail; }
    /// The outline pane.
    TzelPreviewOutline *Outline() const { return FOutline; }
    /// The search pane.
    TzelSearchForm *SearchForm() const { return FSearchForm; }

    /// Goes to the first, next, previous or last page.
    void First();
    /// Goes to the next page.
    void Next();
    /// Goes to the previous page.
    void Prior();
    /// Goes to the last page.
    void Last();
    /// The current page, 1-based; setting it is clamped to 1…PageCount.
    int PageNo() const { return FPageNo; }
    /// Sets PageNo.
    void SetPageNo(int value);
    /// Number of pages laid out (0 without pages).
    int PageCount() const;
    /// Pixels per report unit; at least 0.25, and setting it switches to zmDefault.
    double Zoom() const { return FZoom; }
    /// Sets Zoom.
    void SetZoom(double value);
    /// How the zoom follows the view.
    TzelZoomMode ZoomMode() const { return FZoomMode; }
    /// Sets ZoomMode.
    void SetZoomMode(TzelZoomMode value);
    /// Scrolls so that point Top (report units) of page PageN is at the view's top.
    void SetPosition(int pageN, int top);
    /// The point of the current page at the view's top, in report units.
    int GetTopPosition() const;
    /// Scrolls or, with Ctrl, zooms for a wheel turn of Delta (120 a step).
    void MouseWheelScroll(int delta, Qt::KeyboardModifiers modifiers, bool horizontal = false);
    /// Handles a key of the control (arrows, pages, F3 and the command keys).
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    /// The page kept while the zoom changes (-1 none).
    void SetSavedPageNo(int value) { FSavedPageNo = value; }

    /// Freezes the view on a snapshot; True for the outermost lock.
    bool Lock();
    /// Ends a lock; the last one lays the pages out again when DoUpdate.
    void Unlock(bool doUpdate = true);
    /// Whether a Lock is in force.
    bool Locked() const { return FLocks > 0; }
    /// Shows Text in a panel over the pages, at once.
    void ShowMessage(const QString &text);
    /// Hides the message shown by ShowMessage.
    void HideMessage();

    /// Whether a build is running (page commands do nothing then).
    bool Running() const { return FRunning; }
    /// Saves the pages as a prepared report, asking for the name.
    void SaveToFile();
    /// Saves the pages as the prepared report FileName.
    void SaveToFile(const QString &fileName);
    /// Loads a prepared report, asking for the name.
    void LoadFromFile();
    /// Loads the prepared report FileName.
    void LoadFromFile(const QString &fileName);
    /// Exports the pages through Filter.
    void Export(TzelCustomExportFilter *filter);
    /// Inserts an empty page after the current one.
    void AddPage();
    /// Deletes the current page.
    void DeletePage();
    /// Forgets every page.
    void Clear();
    /// Stops a running build.
    void Cancel();
    /// Builds the report again, keeping the page, zoom and scroll position.
    void RefreshReport();

    /// Shows or hides the search pane.
    void Find();
    /// Repeats the last search when it may be repeated.
    void FindNext();
    /// Searches Text from the first page (FromTop) or the current one; True when found.
    bool FindText(const QString &text, bool fromTop, bool caseSensitive);
    /// Lists every occurrence of Text in the search pane.
    void FindAll(const QString &text, bool caseSensitive);
    /// Whether the last search found something.
    bool FindTextFound() const { return FSearch.Found(); }
    /// Forgets the found text and draws again.
    void FindTextClear();
    /// Shows a found place: goes to its page and scrolls it into view.
    void ShowHit(const TzelSearchHit &hit);

    /// Shows Report's current pages in a new tab captioned TabCaption (or
    /// TabName) and selects it; with FreeObjects the tab owns the report.
    /// DetailPage names the page a detail tab builds.
    void AddPreviewTab(TzelReport *report, const QString &tabName, const QString &detailPage = QString(),
                       bool freeObjects = false, const QString &tabCaption = QString());
    /// Selects the tab showing Report's current pages, or else adds one named
    /// TabName (or after the report's file, or its name).
    void AddPreviewTabOrSwitch(TzelReport *report, const QString &tabName = QString(),
                               const QString &detailPage = QString(), bool freeObjects = false,
                               const QString &tabCaption = QString());
    /// Closes tab Index; its left neighbour (or the next, for the first) is selected.
    void RemoveTab(int index);
    /// Whether a tab has Name, or shows Report.
    bool HasTab(const QString &name) const;
    /// Whether a tab shows Report.
    bool HasTab(const TzelReport *report) const;
    /// Whether more than one tab is open (the tab strip shows then).
    bool HasVisibleTabs() const { return FTabItems.size() > 1; }
    /// Selects tab Index, the tab named Name, or the tab showing Report.
    void SwitchToTab(int index);
    /// Shows the tab named Name.
    void SwitchToTab(const QString &name);
    /// Shows the tab of Report.
    void SwitchToTab(const TzelReport *report);
    /// Closes every tab.
    void ClearAllTabs();
    /// Number of tabs, and the selected one (-1 without tabs).
    int TabCount() const { return int(FTabItems.size()); }
    /// Index of the tab shown.
    int CurTab() const { return FCurTab; }
    /// The tab strip.
    QTabBar *TabBar() const { return FTabs; }
    /// Every further report shown opens a tab of its own.
    bool EachReportInTab = false;

    /// The panes.
    bool OutlineVisible() const;
    /// Sets OutlineVisible.
    void SetOutlineVisible(bool value);
    /// Whether the thumbnail pane is shown.
    bool ThumbnailVisible() const;
    /// Sets ThumbnailVisible.
    void SetThumbnailVisible(bool value);
    /// Whether the search pane is shown.
    bool FindFmVisible() const;
    /// Sets FindFmVisible.
    void SetFindFmVisible(bool value);
    /// Width of the outline pane in pixels.
    int OutlineWidth() const { return FOutlineWidth; }
    /// Sets OutlineWidth.
    void SetOutlineWidth(int value);
    /// Hides or shows the scroll bars of the workspace.
    void SetHideScrolls(bool value);
    /// Fills the outline from the pages.
    void UpdateOutline();
    /// Show the hints of objects under the mouse.
    bool UseReportHints = true;
    /// The preview buttons of the report's options (all without a report).
    TzelPreviewButtons Buttons() const;

signals:
    /// The current page changed.
    void PageChanged(int pageNo);
    /// The zoom or the zoom mode changed.
    void ZoomChanged();
    /// A build started (True) or stopped (False).
    void RunningChanged(bool running);
    /// A pane was shown or hidden.
    void PanesChanged();
    /// A text for the status bar: a progress message, or a hint.
    void MessageText(const QString &text, bool isHint);
    /// The report asks the window around the control to close.
    void CloseRequested();
    /// Tab Index was selected.
    void TabChanged(int index);
    /// The pages were clicked, or double-clicked.
    void Clicked();
    /// A page was double-clicked.
    void DoubleClicked();
    /// The user asked to save the prepared report (Ctrl+S); the window carries it out.
    void SaveRequested();
    /// The user asked to open a prepared report (Ctrl+O); the window carries it out.
    void OpenRequested();

protected:
    /// Keeps the message centred and, in a fitting zoom mode, fits the pages again.
    void resizeEvent(QResizeEvent *event) override;

private:
    void Relayout();
    bool FinalPass() const;
    void UpdateZoomFromMode();
    void SetPageNoFromScroll(int top);
    /// Makes page PageNo current with the view at Offset, instead of where
    /// going to the page would scroll it.
    void ShowPageAt(int pageNo, QPoint offset);
    /// Shows no page and no outline.
    void ClearPageLists();
    void ScrollToPage();
    TzelObjectOverResult ObjectOver(int pageIndex, QPointF position, TzelPageMouseEvent event, Qt::MouseButton button,
                                    Qt::KeyboardModifiers modifiers);
    void WorkspaceMouseDown(QMouseEvent *event, int pageIndex);
    void WorkspaceMouseUp(QMouseEvent *event, int pageIndex, bool dragged);
    void WorkspaceMouseMove(QMouseEvent *event, int pageIndex);
    void WorkspaceMouseLeft();
    void FollowLink(const TzelHyperlink &link);
    void OpenDetail(const TzelHyperlink &link);
    bool BuildDetailPage(const QString &pageName, TzelCustomPreviewPages *pages);
    void SaveTabState();
    void ReleaseReport(TzelReport *report);
    int FindTab(const std::function<bool(const TzelPreviewTabItem &)> &match) const;
    void ResetView();
    void ThumbnailMouseUp(int pageIndex);
    void LayoutMessage();
    void BindPages(TzelReport *report, TzelCustomPreviewPages *pages);

    TzelReport *FReport = nullptr;
    TzelCustomPreviewPages *FPages = nullptr;
    TzelPreviewWorkspace *FWorkspace;
    TzelPreviewWorkspace *FThumbnail;
    TzelPreviewOutline *FOutline;
    TzelSearchForm *FSearchForm;
    QStackedWidget *FLeftPane;
    QSplitter *FSplitter;
    QWidget *FMessagePanel;
    QLabel *FMessageLabel;
    QTabBar *FTabs;
    std::vector<std::unique_ptr<TzelPreviewTabItem>> FTabItems;
    int FCurTab = -1;
    bool FCalledFromPreview = false;
    TzelPreviewSearch FSearch;
    TzelObjectOver FObjectOver;
    QElapsedTimer FLastClick;
    QElapsedTimer FBuildTime;
    int FPageNo = 1;
    int FSavedPageNo = -1;
    double FZoom = 1;
    TzelZoomMode FZoomMode = zmDefault;
    int FLocks = 0;
    bool FRunning = false;
    bool FRefreshing = false;
    bool FInitialized = false;
    bool FAllowF3 = false;
    bool FDisableUpdate = false;
    int FTick = 5;
    int FOutlineWidth = 120;
    bool FOutlineShown = false;
    bool FThumbnailShown = false;
};
