#pragma once
/// \file

#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class TzelCustomExportFilter;
class TzelPreview;
class TzelReport;

/// The preview window: one preview control under a tool bar (open, save and
/// export, find, zoom, panes, page navigation, close) with a status
/// bar for the page, progress and hints, a context menu with the same
/// commands, and full-screen mode.
class TzelPreviewForm : public QDialog
{
    Q_OBJECT

public:
    /// Creates the window with its tool bar and an empty preview.
    explicit TzelPreviewForm(QWidget *parent = nullptr);
    ~TzelPreviewForm() override;

    /// Binds the window to Report: the control shows its pages, the tool bar
    /// shows the buttons of its preview options.
    void Init(TzelReport *report);
    /// The control.
    TzelPreview *Preview() const { return FPreview; }
    /// The report shown.
    TzelReport *Report() const;
    /// Writes Value into the hint panel (IsHint) or the progress panel.
    void SetMessageText(const QString &value, bool isHint);
    /// Enters or leaves full-screen mode.
    void SwitchToFullScreen();
    /// Whether the window is being closed.
    bool IsClosing() const { return FIsClosing; }
    /// The window frees itself when closed.
    bool FreeOnClose = false;

    /// Applies the zoom box's text: a percentage, "Page width" or "Whole page".
    void ApplyZoomText(const QString &text);
    /// Goes to the page the page box names.
    void ApplyPageText(const QString &text);

    // The tool bar, named as the user sees it (tests reach it through these).
    QAction *OpenB;         ///< opens a prepared report
    QAction *SaveB;         ///< drops down the save and export menu
    QAction *PdfB;          ///< exports to PDF at once
    QAction *FindB;         ///< shows or hides the search pane
    QAction *ZoomPlusB;     ///< zooms in by a quarter
    QAction *ZoomMinusB;    ///< zooms out by a quarter
    QAction *FullScreenBtn; ///< enters or leaves full-screen mode
    QAction *OutlineB;      ///< shows or hides the outline
    QAction *ThumbB;        ///< shows or hides the thumbnails
    QAction *FirstB;        ///< goes to the first page
    QAction *PriorB;        ///< goes to the previous page
    QAction *NextB;         ///< goes to the next page
    QAction *LastB;         ///< goes to the last page
    QComboBox *ZoomCB; ///< the zoom box
    QLineEdit *PageE; ///< the page number box
    QLabel *OfNL; ///< the "of N" page count label
    QToolButton *CancelB; ///< stops a build in progress
    QMenu *ExportPopup; ///< the menu of export filters
    QMenu *RightMenu; ///< the context menu of the pages
    QStatusBar *StatusBar; ///< the status bar

protected:
    /// Escape cancels a running build or closes, F11 switches full-screen mode; other keys go to the preview.
    void keyPressEvent(QKeyEvent *event) override;
    /// Refuses to close while a build runs; frees the window when FreeOnClose.
    void closeEvent(QCloseEvent *event) override;
    /// Escape and the close box cancel a running build instead of closing.
    void reject() override;
    /// Shows RightMenu.
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void CreateToolBar();
    void UpdateButtons();
    void BuildExportMenu();
    void BuildContextMenu();
    void EnableCommands();
    void UpdatePageState(int pageNo);
    void RefreshZoomBox();
    void ExportWith(TzelCustomExportFilter *filter);

    TzelPreview *FPreview;
    QToolBar *FToolBar;
    QList<QAction *> FSeparators; // before the zoom, the panes and the navigator
    QAction *FZoomBox = nullptr;
    QAction *FPageBox = nullptr;
    QAction *FCancelAction = nullptr;
    QLabel *FPagePanel;
    QLabel *FProgressPanel;
    QLabel *FHintPanel;
    TzelCustomExportFilter *FPDFExport = nullptr;
    bool FIsClosing = false;
    bool FFullScreen = false;
    Qt::WindowStates FOldState;
};
