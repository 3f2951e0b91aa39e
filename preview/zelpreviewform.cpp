#include "preview/zelpreviewform.h"

#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "engine/export/zelpdfexport.h"
#include "model/report/zelcustomengine.h"
#include "model/band/zelgroupheader.h"
#include "model/report/zelcustomexportfilter.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "preview/zelpreview.h"
#include "preview/zelpreviewicons.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QStringList zoomPercents = {QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"),
                                  QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%")};

} // namespace

TzelPreviewForm::TzelPreviewForm(QWidget *parent)
    : QDialog(parent), FPreview(new TzelPreview(this)), FToolBar(new QToolBar(this)), FPagePanel(new QLabel),
      FProgressPanel(new QLabel), FHintPanel(new QLabel)
{
    setWindowTitle(zelRes("100"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(819, 622);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FToolBar);
    layout->addWidget(FPreview, 1);
    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(false);
    FPagePanel->setFixedWidth(200);
    StatusBar->addWidget(FPagePanel);
    StatusBar->addWidget(FProgressPanel, 1);
    StatusBar->addWidget(FHintPanel, 1);
    layout->addWidget(StatusBar);
    CreateToolBar();
    ExportPopup = new QMenu(this);
    RightMenu = new QMenu(this);

    // Loading, clearing and deleting pages end on a page change: commands follow the pages.
    connect(FPreview, &TzelPreview::PageChanged, this, [this](int pageNo) {
        UpdatePageState(pageNo);
        EnableCommands();
    });
    connect(FPreview, &TzelPreview::DoubleClicked, this, [this] {
        if (FFullScreen)
            SwitchToFullScreen();
    });
    connect(FPreview, &TzelPreview::ZoomChanged, this, &TzelPreviewForm::RefreshZoomBox);
    connect(FPreview, &TzelPreview::TabChanged, this, [this] {
        EnableCommands();
        UpdatePageState(FPreview->PageNo());
    });
    connect(FPreview, &TzelPreview::MessageText, this, &TzelPreviewForm::SetMessageText);
    connect(FPreview, &TzelPreview::PanesChanged, this, [this] {
        OutlineB->setChecked(FPreview->OutlineVisible());
        ThumbB->setChecked(FPreview->ThumbnailVisible());
        FindB->setChecked(FPreview->FindFmVisible());
    });
    connect(FPreview, &TzelPreview::RunningChanged, this, [this](bool running) {
        CancelB->setText(zelRes(running ? "clCancel" : "clClose"));
        if (!running)
            SetMessageText(QString(), false);
        EnableCommands();
    });
    connect(FPreview, &TzelPreview::CloseRequested, this, [this] { QTimer::singleShot(0, this, &QDialog::close); });
    connect(FPreview, &TzelPreview::SaveRequested, this, [this] { FPreview->SaveToFile(); });
    connect(FPreview, &TzelPreview::OpenRequested, OpenB, &QAction::trigger);
}

TzelPreviewForm::~TzelPreviewForm()
{
    if (TzelReport *report = Report(); report && report->Preview() == FPreview)
        report->SetPreview(nullptr);
}

TzelReport *TzelPreviewForm::Report() const
{
    return FPreview->Report();
}

void TzelPreviewForm::CreateToolBar()
{
    FToolBar->setIconSize(QSize(16, 16));
    FToolBar->setMovable(false);
    const auto button = [this](const char *caption, const char *hint, TzelPreviewIcon icon, auto slot) {
        QAction *action = FToolBar->addAction(zelPreviewIcon(icon), zelRes(caption));
        action->setToolTip(zelRes(hint));
        action->setData(zelRes(hint));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    OpenB = button("103", "104", piOpen, [this] {
        FPreview->LoadFromFile();
        const QString name = Report() ? Report()->ReportOptions().Name : QString();
        setWindowTitle(name.isEmpty() ? zelRes("100") : name);
    });
    SaveB = button("105", "106", piSave, [this] {
        if (auto *widget = qobject_cast<QToolButton *>(FToolBar->widgetForAction(SaveB)))
            widget->showMenu();
    });
    PdfB = button("154", "151", piPdf, [this] { ExportWith(FPDFExport); });
    FindB = button("109", "110", piFind, [this](bool) { FPreview->SetFindFmVisible(FindB->isChecked()); });
    FindB->setCheckable(true);
    FSeparators << FToolBar->addSeparator();
    ZoomPlusB = button("124", "125", piZoomIn, [this] { FPreview->SetZoom(FPreview->Zoom() + 0.25); });
    ZoomCB = new QComboBox;
    ZoomCB->setEditable(true);
    ZoomCB->setFixedWidth(80);
    ZoomCB->setToolTip(zelRes("119"));
    ZoomCB->setInsertPolicy(QComboBox::NoInsert);
    // Typing takes digits (and the percent sign); the modes are chosen from the list.
    ZoomCB->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9% ]*")), ZoomCB));
    FZoomBox = FToolBar->addWidget(ZoomCB);
    connect(ZoomCB, &QComboBox::textActivated, this, &TzelPreviewForm::ApplyZoomText);
    connect(ZoomCB->lineEdit(), &QLineEdit::returnPressed, this, [this] { ApplyZoomText(ZoomCB->currentText()); });
    ZoomMinusB = button("126", "127", piZoomOut, [this] { FPreview->SetZoom(FPreview->Zoom() - 0.25); });
    FullScreenBtn = button("149", "150", piFullScreen, [this] { SwitchToFullScreen(); });
    FSeparators << FToolBar->addSeparator();
    OutlineB = button("128", "129", piOutline, [this] { FPreview->SetOutlineVisible(OutlineB->isChecked()); });
    OutlineB->setCheckable(true);
    ThumbB = button("130", "131", piThumbnails, [this] { FPreview->SetThumbnailVisible(ThumbB->isChecked()); });
    ThumbB->setCheckable(true);
    FSeparators << FToolBar->addSeparator();
    FirstB = button("134", "135", piFirst, [this] { FPreview->First(); });
    PriorB = button("136", "137", piPrior, [this] { FPreview->Prior(); });
    auto *pagePanel = new QWidget;
    auto *pageLayout = new QHBoxLayout(pagePanel);
    pageLayout->setContentsMargins(2, 0, 4, 0);
    PageE = new QLineEdit;
    PageE->setFixedWidth(48);
    PageE->setToolTip(zelRes("142"));
    PageE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), PageE));
    OfNL = new QLabel;
    pageLayout->addWidget(PageE);
    pageLayout->addWidget(OfNL);
    pagePanel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    FPageBox = FToolBar->addWidget(pagePanel);
    connect(PageE, &QLineEdit::returnPressed, this, [this] { ApplyPageText(PageE->text()); });
    NextB = button("138", "139", piNext, [this] { FPreview->Next(); });
    LastB = button("140", "141", piLast, [this] { FPreview->Last(); });
    auto *spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    FToolBar->addWidget(spacer);
    CancelB = new QToolButton;
    CancelB->setText(zelRes("clClose"));
    CancelB->setMinimumWidth(68);
    CancelB->setAutoRaise(true);
    FCancelAction = FToolBar->addWidget(CancelB);
    connect(CancelB, &QToolButton::clicked, this, [this] {
        if (FPreview->Running())
            FPreview->Cancel();
        else
            close();
    });
}

void TzelPreviewForm::Init(TzelReport *report)
{
    FIsClosing = false;
    FPreview->Init(report, report->PreviewPages());
    UpdateButtons();
    const TzelPreviewOptions &options = report->PreviewOptions();
    if (options.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    FToolBar->setToolButtonStyle(options.ShowCaptions ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    ZoomCB->clear();
    ZoomCB->addItems(zoomPercents);
    ZoomCB->addItem(zelRes("zmPageWidth"));
    ZoomCB->addItem(zelRes("zmWholePage"));
    RefreshZoomBox();
    const QString name = report->ReportOptions().Name;
    setWindowTitle(name.isEmpty() ? zelRes("100") : name);
    BuildExportMenu();
    BuildContextMenu();
    EnableCommands();
    UpdatePageState(FPreview->PageNo());
}

void TzelPreviewForm::UpdateButtons()
{
    const TzelPreviewButtons buttons = FPreview->Buttons();
    const auto has = [&](TzelPreviewButton b) { return buttons.Contains(b); };
    OpenB->setVisible(has(pbLoad));
    SaveB->setVisible(has(pbSave) || has(pbExport));
    FindB->setVisible(has(pbFind));
    FSeparators[0]->setVisible(has(pbZoom));
    for (QAction *a : {ZoomPlusB, FZoomBox, ZoomMinusB})
        a->setVisible(has(pbZoom));
    FullScreenBtn->setVisible(has(pbZoom) && !has(pbNoFullScreen));
    FSeparators[1]->setVisible(has(pbOutline));
    OutlineB->setVisible(has(pbOutline));
    ThumbB->setVisible(has(pbOutline));
    FSeparators[2]->setVisible(has(pbNavigator));
    for (QAction *a : {FirstB, PriorB, FPageBox, NextB, LastB})
        a->setVisible(has(pbNavigator));
    FCancelAction->setVisible(!has(pbNoClose));
}

void TzelPreviewForm::BuildExportMenu()
{
    ExportPopup->clear();
    const TzelPreviewButtons buttons = FPreview->Buttons();
    if (buttons.Contains(pbSave)) {
        ExportPopup->addAction(zelRes("clZP3files") + QStringLiteral("..."), this, [this] { FPreview->SaveToFile(); });
        if (buttons.Contains(pbExport))
            ExportPopup->addSeparator();
    }
    FPDFExport = nullptr;
    for (TzelCustomExportFilter *filter : TzelCustomExportFilter::Filters()) {
        if (buttons.Contains(pbExport))
            ExportPopup->addAction(filter->GetDescription() + QStringLiteral("..."), this,
                                   [this, filter] { ExportWith(filter); });
        if (dynamic_cast<TzelPDFExport *>(filter))
            FPDFExport = filter;
    }
    PdfB->setVisible(FPDFExport && buttons.Contains(pbExportQuick));
    SaveB->setMenu(ExportPopup);
    if (auto *widget = qobject_cast<QToolButton *>(FToolBar->widgetForAction(SaveB)))
        widget->setPopupMode(QToolButton::InstantPopup);
}

void TzelPreviewForm::BuildContextMenu()
{
    RightMenu->clear();
    int separators = 0;
    for (QAction *action : FToolBar->actions()) {
        if (action->isSeparator()) {
            if (++separators == 2)
                break;
            RightMenu->addSeparator();
            continue;
        }
        if (action->isCheckable() || !action->isVisible() || action->data().toString().isEmpty())
            continue;
        QAction *item = RightMenu->addAction(action->icon(), action->data().toString());
        if (action == SaveB)
            item->setMenu(ExportPopup);
        else
            connect(item, &QAction::triggered, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    }
    if (TzelReport *report = Report()) {
        bool drillDown = false;
        for (TzelComponent *c : report->AllObjects())
            if (auto *header = dynamic_cast<TzelGroupHeader *>(c); header && header->DrillDown)
                drillDown = true;
        if (drillDown) {
            RightMenu->addSeparator();
            const auto setAll = [this](bool expand) {
                if (!Report() || FPreview->Running())
                    return;
                for (TzelComponent *c : Report()->AllObjects())
                    if (auto *header = dynamic_cast<TzelGroupHeader *>(c); header && header->DrillDown)
                        header->ExpandDrillDown = expand;
                Report()->DrillState.clear();
                FPreview->RefreshReport();
                if (!expand)
                    FPreview->SetPosition(1, 0);
            };
            RightMenu->addAction(zelPreviewIcon(piCollapse), zelRes("601"), this, [setAll] { setAll(false); });
            RightMenu->addAction(zelPreviewIcon(piExpand), zelRes("600"), this, [setAll] { setAll(true); });
        }
    }
}

void TzelPreviewForm::contextMenuEvent(QContextMenuEvent *event)
{
    RightMenu->popup(event->globalPos());
}

void TzelPreviewForm::EnableCommands()
{
    const bool idle = !FPreview->Running();
    const bool pages = idle && FPreview->PreviewPages() && FPreview->PreviewPages()->Count() > 0;
    for (QAction *a : {SaveB, PdfB, FindB})
        a->setEnabled(pages);
    OpenB->setEnabled(idle);
    for (QAction *a : RightMenu->actions())
        if (a->text() == zelRes("600") || a->text() == zelRes("601"))
            a->setEnabled(idle);
}

void TzelPreviewForm::UpdatePageState(int pageNo)
{
    const int count = FPreview->PageCount();
    PageE->setText(QString::number(pageNo));
    const bool firstPass = FPreview->Running() && Report() && Report()->Engine() && !Report()->Engine()->FinalPass();
    // The first pass shows no page: the status counts the pages being made.
    if (firstPass)
        FPagePanel->setText(zelRes("clFirstPass") + QString::number(FPreview->PreviewPages()->Count()));
    else
        FPagePanel->setText(zelFormat(zelRes("clPageOf"), {QString::number(pageNo), QString::number(count)}));
    OfNL->setText(zelFormat(zelRes("clOf"), {QString::number(count)}));
}

void TzelPreviewForm::RefreshZoomBox()
{
    // The box is being edited when this runs from its own signal: set it afterwards.
    QTimer::singleShot(0, this, [this] {
        ZoomCB->setEditText(QString::number(std::lround(FPreview->Zoom() * 100)) + QLatin1Char('%'));
    });
}

void TzelPreviewForm::ApplyZoomText(const QString &text)
{
    FPreview->setFocus();
    FPreview->SetSavedPageNo(FPreview->PageNo());
    const int index = ZoomCB->findText(text);
    if (index == zoomPercents.size()) {
        FPreview->SetZoomMode(zmPageWidth);
    } else if (index == zoomPercents.size() + 1) {
        FPreview->SetZoomMode(zmWholePage);
    } else {
        QString number = text;
        number.remove(QLatin1Char('%')).remove(QLatin1Char(' '));
        bool ok = false;
        const double percent = number.toDouble(&ok);
        if (ok)
            FPreview->SetZoom(percent / 100);
    }
    RefreshZoomBox();
    const int saved = FPreview->PageNo();
    FPreview->SetSavedPageNo(-1);
    FPreview->SetPageNo(saved);
}

void TzelPreviewForm::ApplyPageText(const QString &text)
{
    bool ok = false;
    const int page = text.toInt(&ok);
    FPreview->SetPageNo(ok ? page : FPreview->PageNo());
    FPreview->setFocus();
}

void TzelPreviewForm::SetMessageText(const QString &value, bool isHint)
{
    QLabel *panel = isHint ? FHintPanel : FProgressPanel;
    if (panel->text() != value)
        panel->setText(value);
}

void TzelPreviewForm::SwitchToFullScreen()
{
    FFullScreen = !FFullScreen;
    FToolBar->setVisible(!FFullScreen);
    StatusBar->setVisible(!FFullScreen);
    if (FFullScreen) {
        FOldState = windowState();
        showFullScreen();
    } else {
        setWindowState(FOldState);
    }
}

void TzelPreviewForm::ExportWith(TzelCustomExportFilter *filter)
{
    if (!filter)
        return;
    // Each export asks for its file.
    filter->FileName.clear();
    FPreview->Export(filter);
}

void TzelPreviewForm::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (FPreview->Running())
            FPreview->Cancel();
        else
            close();
        return;
    case Qt::Key_F11: SwitchToFullScreen(); return;
    default:
        if (FPreview->HandleKey(event->key(), event->modifiers()))
            return;
        QDialog::keyPressEvent(event);
    }
}

void TzelPreviewForm::reject()
{
    // Escape and the window's close box: a running build is cancelled instead.
    if (FPreview->Running()) {
        FPreview->Cancel();
        return;
    }
    QDialog::reject();
}

void TzelPreviewForm::closeEvent(QCloseEvent *event)
{
    if (FPreview->Running()) {
        event->ignore();
        return;
    }
    FIsClosing = true;
    QDialog::closeEvent(event);
    if (event->isAccepted() && FreeOnClose)
        deleteLater();
}
