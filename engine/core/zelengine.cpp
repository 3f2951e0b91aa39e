// The engine's runs and passes, and its page and column operations.
#include "engine/core/zelengine.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/core/zeldatetime.h"
#include "base/resources/zelresources.h"
#include "engine/aggregate/zelaggregatelist.h"
#include "engine/core/zelshiftengine.h"
#include "model/band/zelchild.h"
#include "model/band/zelcolumnfooter.h"
#include "model/band/zelcolumnheader.h"
#include "model/band/zelfooter.h"
#include "model/band/zelgroupfooter.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zeldataband.h"
#include "model/band/zelheader.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelnullband.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreportsummary.h"
#include "model/band/zelreporttitle.h"
#include "model/component/zelunits.h"
#include "model/data/zeldataset.h"
#include "model/data/zelvariables.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/view/zelview.h"
#include "prepared/zelpostprocessor.h"

#include <QRectF>
#include <QSizeF>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <cmath>
#include <utility>

namespace {

// Height of Band and of the chain of its child bands.
double ChainHeight(TzelBand *band)
{
    double h = 0;
    for (TzelBand *b = band; b; b = static_cast<TzelBand *>(b->Child()))
        h += b->Height();
    return h;
}

} // namespace

TzelEngine::TzelEngine(TzelReport *report)
    : TzelCustomEngine(report), FShiftEngine(std::make_unique<TzelShiftEngine>()),
      FAggregates(std::make_unique<TzelAggregateList>(report))
{
    report->ValueHooks.SystemVariable = [this](const QString &name, Variant &value) {
        return SystemVariable(name, value);
    };
}

bool TzelEngine::SystemVariable(const QString &name, Variant &value)
{
    const QList<QString> &names = FReport->SystemVariables();
    switch (names.indexOf(name)) {
    case 0: // Date
        value = Variant::FromDate(zelDateTimeToSerial(QDateTime(StartDate(), QTime(0, 0))));
        return true;
    case 1: // Time
        value = Variant::FromDate(StartTime().msecsSinceStartOfDay() / 86400000.0);
        return true;
    case 2: // Page
        value = Variant(FPreviewPages ? FPreviewPages->GetLogicalPageNo() : 0);
        return true;
    case 3: // Page#
        value = Variant(FPreviewPages ? FPreviewPages->CurPage() + 1 : 0);
        return true;
    case 4: // TotalPages
        value = Variant(FPreviewPages ? FPreviewPages->GetLogicalTotalPages() : 0);
        return true;
    case 5: // TotalPages#
        value = Variant(TotalPages());
        return true;
    case 6: // Line
        value = Variant(CurLine());
        return true;
    case 7: // Line#
        value = Variant(CurLineThrough());
        return true;
    case 8: // CopyName#
        value = zelGlobalVariables().Value(QStringLiteral("CopyName0"));
        return true;
    case 9: // TableRow
        value = Variant(CurTableRow());
        return true;
    case 10: // TableColumn
        value = Variant(CurTableColumn());
        return true;
    default:
        return false;
    }
}

Variant TzelEngine::GetAggregateValue(const QString &name, const QString &expression, const Variant &band,
                                      int flags)
{
    // The counted band comes by name; 0 or an empty name means any.
    TzelBand *counted = nullptr;
    if (band.IsString() && !band.ToString().trimmed().isEmpty()) {
        counted = zelAs<TzelBand>(FReport->FindObject(band.ToString().trimmed()));
        if (!counted)
            return Variant::Null();
    }
    return FAggregates->GetValue(FCurBand, FCurVColumn, name, expression, counted, flags);
}

TzelEngine::~TzelEngine()
{
    FReport->ValueHooks.SystemVariable = nullptr;
}

template <class T> T *TzelEngine::FindBand() const
{
    return FPage ? static_cast<T *>(FPage->FindBand(T::StaticClassInfo())) : nullptr;
}

bool TzelEngine::Run(bool runDialogs, bool, TzelPage *page)
{
    if (!Initialize()) {
        Finalize();
        return false;
    }
    const auto finalize = qScopeGuard([this] { Finalize(); });
    bool result = false;
    try {
        FDataSetsOpen = true;
        FReport->DataSets().Initialize();
        FReport->DoNotifyEvent(FReport, FReport->OnStartReport);
        if (!runDialogs || RunDialogs()) {
            RunPasses(dynamic_cast<TzelReportPage *>(page));
            result = true;
        }
    } catch (...) {
        // The build's own error is the one reported; the end-of-report
        // procedure still runs, and its failure is only added.
        try {
            FReport->DoNotifyEvent(FReport, FReport->OnStopReport);
        } catch (const std::exception &e) {
            FReport->Errors().Add(QString::fromUtf8(e.what()));
        }
        throw;
    }
    FReport->DoNotifyEvent(FReport, FReport->OnStopReport);
    return result;
}

bool TzelEngine::RunDialogs()
{
    // Dialog pages are asked through the report's procedure; without one
    // there is no dialog to show and the build goes on.
    if (FReport->OnRunDialogs.trimmed().isEmpty())
        return true;
    QList<Variant> params{Variant(true)};
    FReport->DoParamEvent(FReport->OnRunDialogs, params);
    return params.first().ToBool();
}

void TzelEngine::RunPasses(TzelReportPage *onlyPage)
{
    for (TzelReportPage *p : onlyPage ? QList<TzelReportPage *>{onlyPage} : FReport->ReportPages()) {
        FPreviewPages->AddSourcePage(p);
        FAggregates->AddItems(p);
    }

    FFinalPass = !DoublePass();
    FTotalPages = 0;
    FPreviewPages->BeginPass();
    // A report added to pages built before continues in their last column.
    int lastColumn = 0;
    double lastColumnPos = 0;
    if (DoublePass() && FPreviewPages->Count() > 0)
        FPreviewPages->GetLastColumnPos(lastColumn, lastColumnPos);
    RunReportPages(onlyPage);
    if (DoublePass()) {
        FTotalPages = FPreviewPages->Count();
        FPreviewPages->SetCurPage(FPreviewPages->Count() - 1);
        FPreviewPages->ClearFirstPassPages();
        if (FPreviewPages->CurPage() >= 0)
            FPreviewPages->UpdatePageLastColumn(lastColumn, lastColumnPos, true);
        FAggregates->ClearValues();
        FFinalPass = true;
        RunReportPages(onlyPage);
    }
}

void TzelEngine::CheckDataSets(const QList<TzelReportPage *> &pages)
{
    // One data set cannot drive two loops at once.
    TzelDataSet *reportData = FReport->DataSet();
    for (TzelReportPage *page : pages) {
        if (reportData && reportData == page->DataSet()) {
            FReport->Errors().Add(zelRes("Cannot use the same dataset for Report.DataSet and Page.DataSet"));
            return;
        }
        for (TzelComponent *c : page->Objects()) {
            auto *band = zelAs<TzelMasterData>(c);
            if (!band || !band->DataSet())
                continue;
            if (band->DataSet() == reportData) {
                FReport->Errors().Add(zelRes("Cannot use the same dataset for Report.DataSet and Band.DataSet"));
                break;
            }
            if (band->DataSet() == page->DataSet()) {
                FReport->Errors().Add(zelRes("Cannot use the same dataset for Page.DataSet and Band.DataSet"));
                break;
            }
        }
    }
}

bool TzelEngine::CheckPage(TzelReportPage *page)
{
    const QSizeF printable = page->PrintableSize();
    if (printable.width() <= 0 || printable.height() <= 0) {
        FReport->Errors().Add(zelFormat(zelRes("clNoPrintableArea"), {page->Name()}));
        return false;
    }
    if (page->Columns() > 1) {
        bool positionsOk = page->ColumnPositions.size() >= page->Columns();
        for (int i = 0; positionsOk && i < page->Columns(); ++i)
            page->ColumnPositions[i].toDouble(&positionsOk);
        if (!positionsOk || page->ColumnWidth <= 0) {
            FReport->Errors().Add(
                zelFormat(zelRes("clNoColumnWidth"), {page->Name(), QString::number(page->Columns())}));
            return false;
        }
    }
    return true;
}

bool TzelEngine::Initialize()
{
    FPrevFooterHeight = 0;
    FPreviewPages->Initialize();
    FPreviewPages->AddPageAction = apAdd;
    const QDateTime now = QDateTime::currentDateTime();
    FStartDate = now.date();
    FStartTime = now.time();
    FRunning = true;
    FKeeping = FKeepHeader = FKeepFooter = false;
    FKeepBand = nullptr;
    FCurVColumn = 0;
    FLockResetAggregates = false;
    FDrillPath.clear();
    FOutlinedGroups.clear();
    FAggregates->Clear();
    FReport->SetEngineRunning(true);

    FReport->CurObject.clear();
    const QList<TzelReportPage *> pages = FReport->ReportPages();
    for (TzelReportPage *page : pages) {
        PrepareBandTree(page, false);
        PrepareBandTree(page, true);
    }
    bool anyPage = false;
    for (TzelReportPage *page : pages) {
        if (page->IsSubReport())
            continue;
        anyPage = anyPage || page->Visible();
        CheckPage(page);
    }
    CheckDataSets(pages);
    if (!anyPage)
        FReport->Errors().Add(zelRes("clNoReportPage"));
    FReport->InternalOnProgressStart(TzelProgress{});
    return FReport->Errors().IsEmpty();
}

void TzelEngine::Finalize()
{
    RestorePrinted(0);
    ReturnTakenOver();
    FVMaster = nullptr;
    for (auto it = FDrillVisibility.cbegin(); it != FDrillVisibility.cend(); ++it)
        it.key()->SetVisible(it.value());
    FDrillVisibility.clear();
    if (std::exchange(FDataSetsOpen, false)) {
        // Finalize also runs while an error leaves the build: a failure
        // here is added to the errors instead of replacing that error.
        try {
            FReport->DataSets().Finalize();
        } catch (const std::exception &e) {
            FReport->Errors().Add(QString::fromUtf8(e.what()));
        }
    }
    FRunning = false;
    FPreviewPages->Finish();
    FShiftEngine->Clear();
    FPage = nullptr;
    FCurBand = nullptr;
    FReport->SetEngineRunning(false);
    FReport->InternalOnProgressStop(TzelProgress{ptRunning, FPreviewPages->Count(), FCurLineThrough});
}

void TzelEngine::ReportProgress()
{
    FReport->InternalOnProgress(TzelProgress{ptRunning, FPreviewPages->Count(), FCurLineThrough});
}

void TzelEngine::RunReportPages(TzelReportPage *page)
{
    FFirstReportPage = true;
    auto buildOnce = [&] {
        const QList<TzelReportPage *> pages = page ? QList<TzelReportPage *>{page} : FReport->ReportPages();
        for (TzelReportPage *p : pages) {
            if (FReport->Terminated)
                break;
            if (page || (!p->IsSubReport() && p->Visible())) {
                RunReportPage(p);
                FFirstReportPage = false;
            }
        }
    };
    if (TzelDataSet *ds = FReport->DataSet()) {
        Navigate(FReport, ds, &TzelDataSet::First);
        while (!ds->Eof() && !FReport->Terminated) {
            buildOnce();
            Navigate(FReport, ds, &TzelDataSet::Next);
        }
    } else {
        buildOnce();
    }
}

void TzelEngine::RunReportPage(TzelReportPage *page)
{
    if (page->IsSubReport()) {
        RunDataBands(page);
        return;
    }
    FPage = page;
    FIsFirstBand = true;
    FReport->CurObject = page->Name();
    FReport->DoNotifyEvent(page, page->OnBeforePrint);
    if (TzelDataSet *ds = page->DataSet()) {
        Navigate(page, ds, &TzelDataSet::First);
        while (!ds->Eof() && !FReport->Terminated) {
            RunPage();
            Navigate(page, ds, &TzelDataSet::Next);
        }
    } else {
        for (int i = 0; i < page->PageCount() && !FReport->Terminated; ++i)
            RunPage();
    }
    FReport->CurObject = page->Name();
    FReport->DoNotifyEvent(page, page->OnAfterPrint);
}

void TzelEngine::RunPage()
{
    if (!(FPage->PrintIfEmpty && FReport->EngineOptions().PrintIfEmpty) && !HasPrintableData(FPage, false))
        return;
    InitPage();
    ShowPageObjects();
    if (FReport->OnManualBuild)
        FReport->OnManualBuild(FPage);
    else if (!FPage->OnManualBuild.trimmed().isEmpty())
        FReport->DoNotifyEvent(FPage, FPage->OnManualBuild);
    else
        RunDataBands(FPage);

    FIsLastPage = true;
    if (FPage->EndlessHeight || FPage->EndlessWidth) {
        const double width = FPage->EndlessWidth ? PaperWidthAround(FPageWidth) : FPage->PaperWidth() * qz01cm;
        double height = FPage->PaperHeight() * qz01cm;
        if (FPage->EndlessHeight) {
            FPageHeight = FooterHeight() + FCurY;
            height = PaperHeightAround(GetPageHeight());
        }
        FPreviewPages->UpdatePageDimensions(FPage, width, height);
    }
    EndPage();
    FIsLastPage = false;
    PostProcessBand(nullptr, paReportPageFinished);
}

void TzelEngine::InitPage()
{
    FHeaderList.Clear();
    TzelBand *title = FindBand<TzelReportTitle>();
    TzelBand *header = FindBand<TzelPageHeader>();
    if (FPage->TitleBeforeHeader) {
        FHeaderList.AddItem(title, 0, false);
        FHeaderList.AddItem(header, 0, false);
    } else {
        FHeaderList.AddItem(header, 0, false);
        FHeaderList.AddItem(title, 0, false);
    }
    const QSizeF printable = FPage->PrintableSize();
    FPageHeight = printable.height() * qz01cm;
    FPageWidth = printable.width() * qz01cm;
    FCurX = FCurY = 0;
    FCurColumn = 1;
    FPageCurX = 0;
    FIsFirstPage = true;
    FIsLastPage = false;
    FTitlePrinted = false;
    FPreviewPages->Outline().LevelRoot();
    if (FPage->ResetPageNumbers)
        FPreviewPages->ResetLogicalPageNumber();

    if (FPreviewPages->Count() > 0 && FPage->PrintOnPreviousPage) {
        FPreviewPages->SetCurPage(FPreviewPages->Count() - 1);
        int column = 0;
        double position = 0;
        FPreviewPages->GetLastColumnPos(column, position);
        FCurX = position;
        const bool singleColumn = FPage->Columns() < 2 || (title && FPage->ShowTitleOnPreviousPage);
        if (singleColumn) {
            column = 0;
            FCurX = 0;
        }
        FCurY = FPreviewPages->GetLastY(FCurX);
        if (column > 0)
            FCurColumn = column;
        else
            FFirstColumnY = FCurY;
        FHeaderList.RemoveItem(title);
        if (singleColumn && title) {
            // A break while the title prints must go to a new page.
            FCurColumn = std::max(1, FPage->Columns());
            ShowBand(title);
            FCurColumn = 1;
            FFirstColumnY = FCurY;
        }
    } else {
        OpenPage();
        FFirstColumnY = FCurY;
    }
    if (FFirstReportPage)
        FPreviewPages->FirstPage = FPreviewPages->CurPage();
    TzelBand *columnHeader = FindBand<TzelColumnHeader>();
    ShowBand(columnHeader);
    FHeaderList.AddItem(columnHeader, 0, false);
    FHeaderList.RemoveItem(title);
    AddPageOutline();
}

void TzelEngine::OpenPage()
{
    FPrevFooterHeight = 0;
    FPreviewPages->AddPage(FPage);
    ReportProgress();
    FCurY = 0;
    if (auto *overlay = FindBand<TzelOverlay>(); overlay && !overlay->PrintOnTop) {
        ShowBand(overlay);
        FCurY = 0;
    }
    FFirstColumnY = 0;
    const double savedX = FCurX;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        TzelHeaderListItem &item = FHeaderList.Items(i);
        TzelBand *band = item.Band;
        if (!band || band == FStartNewPageBand)
            continue;
        auto *pageHeader = zelAs<TzelPageHeader>(band);
        // A horizontal page of a vertical band's output shows only the page header.
        if (FVerticalOutput && !pageHeader)
            continue;
        FCurX = item.Left;
        if (pageHeader && FIsFirstPage && !pageHeader->PrintOnFirstPage) {
            if (pageHeader->PrintChildIfInvisible && pageHeader->Child()) {
                QScopedValueRollback<bool> fromAdd(FCallFromAddPage, true);
                ShowBand(static_cast<TzelBand *>(pageHeader->Child()));
            }
            continue;
        }
        if (item.IsInKeepList && FKeeping && !FKeepFooter)
            continue;
        // A data header that caused the break prints with its data instead.
        if (band == FLastBandOnPage && zelAs<TzelHeader>(band))
            continue;
        const bool isTitle = zelAs<TzelReportTitle>(band) != nullptr;
        {
            QScopedValueRollback<bool> overflow(band->Overflow, true);
            QScopedValueRollback<int> line(FCurLine, band->FLineN);
            QScopedValueRollback<int> lineThrough(FCurLineThrough, band->FLineThrough);
            QScopedValueRollback<bool> fromAdd(FCallFromAddPage, true);
            QScopedValueRollback<bool> fromHeader(FCallFromPHeader, pageHeader != nullptr);
            if (isTitle)
                item.Band = nullptr; // printed once
            ShowBand(band);
        }
        if (pageHeader)
            FFirstColumnY = band->FStretchedHeight;
        if (isTitle)
            FTitlePrinted = true;
    }
    FCurX = savedX;
}

void TzelEngine::ShowPageObjects()
{
    struct Loose
    {
        TzelComponent *Object;
        int Place;
        QRectF Bounds;
    };
    QList<Loose> loose;
    for (int i = 0; i < FPage->Objects().size(); ++i) {
        TzelComponent *c = FPage->Objects()[i];
        if (!zelAs<TzelBand>(c))
            loose.append({c, i, QRectF(c->Left(), c->Top(), c->Width(), c->Height())});
    }
    if (loose.isEmpty())
        return;
    const double savedY = FCurY;
    TzelNullBand holder;
    holder.SetBounds(0, 0, FPageWidth, GetPageHeight());
    // The objects go back to the page as designed whatever happens, before
    // the holder would free them with itself.
    const auto giveBack = qScopeGuard([&] {
        for (const Loose &l : std::as_const(loose)) {
            l.Object->SetParent(FPage);
            FPage->MoveChild(l.Object, l.Place);
            l.Object->SetBounds(l.Bounds.left(), l.Bounds.top(), l.Bounds.width(), l.Bounds.height());
        }
    });
    for (const Loose &l : std::as_const(loose))
        l.Object->SetParent(&holder);
    holder.AlignChildren();
    ShowBand(&holder);
    FCurY = savedY;
}

void TzelEngine::AddPageOutline()
{
    if (FPage->OutlineText.isEmpty())
        return;
    // Without the expression engine the outline text is taken literally.
    FPreviewPages->Outline().LevelRoot();
    FPreviewPages->Outline().AddItem(FPage->OutlineText, 0);
}

double TzelEngine::PaperWidthAround(double printableWidth) const
{
    return FPage->LeftMargin * qz01cm + printableWidth + FPage->RightMargin * qz01cm;
}

double TzelEngine::PaperHeightAround(double printableHeight) const
{
    return printableHeight + FPage->TopMargin * qz01cm + FPage->BottomMargin * qz01cm;
}

double TzelEngine::FreeSpace()
{
    if (FPage && FPage->EndlessHeight)
        return 1e6;
    return GetPageHeight() - (FPrevFooterHeight != 0 ? FPrevFooterHeight : FooterHeight()) - FCurY;
}

double TzelEngine::GetPageHeight()
{
    if (FPage && FPage->EndlessHeight)
        return FooterHeight() + FCurY;
    return FPageHeight;
}

double TzelEngine::HeaderHeight(bool addReprintOnNewPage)
{
    double h = ChainHeight(FindBand<TzelColumnHeader>()) + ChainHeight(FindBand<TzelPageHeader>());
    if (addReprintOnNewPage) {
        for (int i = 0; i < FHeaderList.Count(); ++i) {
            TzelBand *band = FHeaderList.Items(i).Band;
            if (band && !zelAs<TzelPageHeader>(band) && !zelAs<TzelColumnHeader>(band))
                h += band->Height();
        }
    }
    return h;
}

double TzelEngine::FooterHeight()
{
    double h = 0;
    if (TzelBand *b = FindBand<TzelColumnFooter>())
        h += b->Height();
    if (TzelBand *b = FindBand<TzelPageFooter>())
        h += b->Height();
    return h;
}

void TzelEngine::NewColumn()
{
    if (FCurColumn >= FPage->Columns()) {
        NewPage();
        return;
    }
    if (FKeeping) {
        // The rows that move count on the page they move to.
        if (FKeepFooter)
            FAggregates->DeleteValue(FKeepBand);
        FPreviewPages->CutObjects(FKeepPosition);
        FCurY = FPreviewPages->GetLastY();
    }
    FLastBandOnPage = FCurBand;
    ShowColumnFooter();
    StartColumn();
    FLastBandOnPage = nullptr;
    if (FKeeping) {
        FAggregates->EndKeep();
        MoveSubreportStart();
        PasteBlock(FCurX, FKeepOutline, FKeepAnchor);
        if (FKeepFooter)
            FAggregates->AddValue(FKeepBand);
    }
    FKeeping = FKeepHeader = false;
}

void TzelEngine::MoveSubreportStart()
{
    // The band whose subreports are printing moves with the keep block
    // that holds it: the subreports still to come start beside it there.
    if (!FSubStart.Active || FSubStart.Page != FKeepPage || FSubStart.Column != FKeepColumn ||
        FSubStart.Top < FKeepCurY - zelFloatTolerance)
        return;
    FSubStart.Top += FCurY - FKeepCurY;
    FSubStart.Page = FPreviewPages->CurPage();
    FSubStart.Column = FCurColumn;
}

void TzelEngine::PasteBlock(double x, TzelXMLItem *outline, int anchor)
{
    FPreviewPages->PasteObjects(x, FCurY);
    FPreviewPages->Outline().ShiftItems(outline, int(std::round(FCurY)));
    FPreviewPages->ShiftAnchors(anchor, int(std::round(FCurY)));
    FCurY = FPreviewPages->GetLastY(x);
}

void TzelEngine::StartColumn()
{
    ++FCurColumn;
    FPreviewPages->PostProcessor().ResetDuplicates(QString()); // a column starts its own runs
    const double x = FPage->ColumnPositions.value(FCurColumn - 1).toDouble() * qz01cm;
    FCurY = FFirstColumnY;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        const TzelHeaderListItem &item = FHeaderList.Items(i);
        TzelBand *band = item.Band;
        if (!band || zelAs<TzelPageHeader>(band) || band == FLastBandOnPage || item.IsInKeepList ||
            FKeepHeader)
            continue;
        FCurX = item.Left + x;
        ReprintBand(band);
    }
    FCurX = FPageCurX + x;
}

void TzelEngine::ReprintBand(TzelBand *band)
{
    for (TzelBand *b = band; b; b = static_cast<TzelBand *>(b->Child())) {
        const QScopedValueRollback<bool> overflow(b->Overflow, true);
        Stretch(b);
        if (b->Visible()) {
            if (FFinalPass)
                b->CreateFillMemo();
            b->SetLeft(FCurX);
            b->SetTop(FCurY);
            FPreviewPages->AddObject(b);
            FCurY += b->Height();
        }
        const bool goOn = b->Visible() || b->PrintChildIfInvisible;
        UnStretch(b);
        if (!goOn)
            break;
    }
}

void TzelEngine::ShowColumnFooter()
{
    TzelBand *band = FindBand<TzelColumnFooter>();
    if (!band) {
        PostProcessBand(nullptr, paColumnFinished); // the column's end has come without a footer
        return;
    }
    Stretch(band);
    if (band->Visible()) {
        band->SetLeft(FCurX - FPageCurX);
        band->SetTop(FCurY);
        FPreviewPages->AddObject(band);
        FCurY += band->Height();
    }
    UnStretch(band);
    PostProcessBand(band, paColumnFinished);
}

void TzelEngine::NewPage()
{
    if (FCallFromAddPage) {
        // A header that does not fit on an empty page would open pages forever.
        ReportNoRoom(FCurBand);
        return;
    }
    if (FKeepBand && FKeeping) {
        TzelBand *measured = zelAs<TzelGroupHeader>(FKeepBand) ? FCurBand : FKeepBand;
        const double a = measured->Height() + FCurY - FKeepCurY;
        if (a > GetPageHeight() - FooterHeight() - HeaderHeight(false)) {
            // The block can never fit on one page: it flows, and a group
            // header kept with it is reprinted after the other headers.
            if (zelAs<TzelGroupHeader>(FKeepBand)) {
                FHeaderList.RemoveItem(FKeepBand);
                FHeaderList.AddItem(FKeepBand, FCurX, false);
            }
            BreakAllKeep();
        }
    }
    TzelBand *keptHeader = nullptr;
    const bool moveFooterRow = FKeeping && FKeepFooter && !FKeepHeader;
    if (FKeeping) {
        if (moveFooterRow)
            FAggregates->DeleteValue(FKeepBand);
        FPreviewPages->CutObjects(FKeepPosition);
        // A header kept with its first row moves with it instead of
        // reprinting.
        auto *dataBand = zelAs<TzelDataBand>(FCurBand);
        if (dataBand && dataBand->KeepHeader && dataBand->FHeader &&
            std::abs(FPreviewPages->GetLastY() - FCurY) >= zelFloatTolerance) {
            keptHeader = dataBand->FHeader;
            FHeaderList.RemoveItem(keptHeader);
        }
    }

    FLastBandOnPage = FCurBand;
    EndPage();
    if (FPage->EndlessHeight)
        FPreviewPages->UpdatePageDimension(FPreviewPages->Count() - 1,
                                           FPageWidth / qz01cm + FPage->LeftMargin + FPage->RightMargin,
                                           FCurY / qz01cm + FPage->TopMargin + FPage->BottomMargin);
    OpenPage();
    FLastBandOnPage = nullptr;
    if (FKeeping) {
        FAggregates->EndKeep();
        MoveSubreportStart();
        PasteBlock(0, FKeepOutline, FKeepAnchor);
        if (moveFooterRow)
            FAggregates->AddValue(FKeepBand);
        if (keptHeader)
            FHeaderList.AddItem(keptHeader, 0, false);
    }
    FKeeping = FKeepHeader = false;
    FKeepBand = nullptr;
    FKeepCurY = 0;
    AddPageOutline();
}

void TzelEngine::EndPage()
{
    const bool nested = FCallFromEndPage;
    if (!nested)
        ShowColumnFooter();
    if (!FIsLastPage) {
        FCurX = FPageCurX;
        FCurColumn = 1;
    }
    if (FPage->Columns() > 1)
        FPreviewPages->UpdatePageLastColumn(FCurColumn, FCurX, false);
    if (FIsLastPage && !nested) {
        QScopedValueRollback<bool> fromEnd(FCallFromEndPage, true);
        if (TzelBand *summary = FindBand<TzelReportSummary>()) {
            const double before = FCurY;
            ShowBand(summary);
            if (FPage->EndlessHeight) {
                FPageHeight = GetPageHeight() + (FCurY - before);
                FPreviewPages->UpdatePageDimensions(FPage, PaperWidthAround(FPageWidth),
                                                    PaperHeightAround(FPageHeight));
            }
        }
        // The report's end has come whether or not a summary printed (the
        // summary completes the values of the page's end).
        PostProcessBand(nullptr, paReportFinished);
    }
    if (auto *footer = FindBand<TzelPageFooter>()) {
        FCurY = GetPageHeight() - footer->Height();
        FPrevFooterHeight = FIsLastPage && footer->PrintOnLastPage && !nested ? footer->Height() : 0;
        QScopedValueRollback<bool> fromEnd(FCallFromEndPage, nested);
        ShowPageFooter(footer);
    }
    else
        PostProcessBand(nullptr, paPageFinished); // the page's end has come without a footer
    if (auto *overlay = FindBand<TzelOverlay>(); overlay && overlay->PrintOnTop) {
        FCurY = 0;
        ShowPageFooter(overlay);
    }
    FIsFirstPage = false;
}

void TzelEngine::ShowPageFooter(TzelBand *band)
{
    Stretch(band);
    if (band->Visible()) {
        band->SetLeft(0);
        band->SetTop(FCurY);
        bool print = true;
        if (auto *footer = zelAs<TzelPageFooter>(band)) {
            const bool single = footer->PrintOnSinglePage && FIsFirstPage && FIsLastPage;
            const bool hiddenFirst = FIsFirstPage && !footer->PrintOnFirstPage;
            const bool hiddenLast = FIsLastPage && !footer->PrintOnLastPage && !FCallFromEndPage;
            print = single || !(hiddenFirst || hiddenLast);
        }
        if (print) {
            if (FFinalPass)
                band->CreateFillMemo();
            if (!FPreviewPages->BandExists(band))
                FPreviewPages->AddObject(band);
            FCurY += band->Height();
        }
    }
    UnStretch(band);
    PostProcessBand(band, paDefault);
}

void TzelEngine::ReportNoRoom(TzelBand *band)
{
    FReport->Errors().Add(
        zelFormat(zelRes("clNoRoomOnPage"), {FPage->Name(), band ? band->Name() : QString()}));
    FReport->Terminated = true;
}

void TzelEngine::ProcessObject(TzelView *reportObject)
{
    if (reportObject && reportObject->Processing().ProcessAt == paCustom)
        FPreviewPages->PostProcessor().ProcessObject(FReport, reportObject);
}

void TzelEngine::PostProcessBand(TzelBand *band, TzelProcessAt mode)
{
    // Filler rows still follow: the footers' values and totals stay open.
    // A footer printed on a vertical band's horizontal page closes nothing.
    if (FLockResetAggregates || FVerticalOutput)
        return;
    if (mode == paDefault) {
        if (zelAs<TzelGroupFooter>(band))
            mode = paGroupFinished;
        else if (zelAs<TzelFooter>(band))
            mode = paDataFinished;
        else if (zelAs<TzelPageFooter>(band))
            mode = paPageFinished;
        else if (zelAs<TzelReportSummary>(band))
            mode = paReportPageFinished;
    }
    if (mode != paDefault) {
        const QScopedValueRollback<TzelBand *> curBand(FCurBand, band ? band : FCurBand);
        FPreviewPages->PostProcessor().ProcessExpressions(FReport, band, mode);
    }
    // Totals printed in the band restart.
    if (band)
        FAggregates->Reset(band);
}
