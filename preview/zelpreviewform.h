#pragma once

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

// The preview window: one preview control under a tool bar (print, open,
// save and export, find, zoom, panes, page navigation, close) with a status
// bar for the page, progress and hints, a context menu with the same
// commands, and full-screen mode.
class TzelPreviewForm : public QDialog
{
    Q_OBJECT

public:
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
    QAction *PrintB, *OpenB, *SaveB, *PdfB, *EmailB, *FindB, *ZoomPlusB, *ZoomMinusB, *FullScreenBtn,
        *OutlineB, *ThumbB, *PageSettingsB, *DesignerB, *FirstB, *PriorB, *NextB, *LastB;
    QComboBox *ZoomCB;
    QLineEdit *PageE;
    QLabel *OfNL;
    QToolButton *CancelB;
    QMenu *ExportPopup;
    QMenu *RightMenu;
    QStatusBar *StatusBar;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
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
    QList<QAction *> FSeparators; // Sep1, Sep2, Sep5
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
