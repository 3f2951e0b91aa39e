// Printing one band: showing, stretching, keeping and splitting.
#include "engine/core/zelengine.h"

#include "engine/aggregate/zelaggregatelist.h"
#include "engine/core/zelshiftengine.h"
#include "model/band/zelchild.h"
#include "model/band/zelcolumnheader.h"
#include "model/band/zeldataband.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelnullband.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreportsummary.h"
#include "model/band/zelreporttitle.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelstretcheable.h"
#include "model/view/zelsubreport.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

double LowestBottom(const QList<TzelComponent *> &objects)
{
    double b = 0;
    for (const TzelComponent *c : objects)
        b = std::max(b, c->Top() + c->Height());
    return b;
}

bool OverlapsHorizontally(const TzelComponent &a, const TzelComponent &b)
{
    return a.Left() < b.Left() + b.Width() - zelFloatTolerance && b.Left() < a.Left() + a.Width() - zelFloatTolerance;
}

// Bands printed by the page itself rather than by the page's content.
bool IsPageFrameBand(const TzelBand *band)
{
    return zelAs<TzelReportTitle>(band) || zelAs<TzelPageHeader>(band) ||
           zelAs<TzelColumnHeader>(band) || zelAs<TzelOverlay>(band) ||
           zelAs<TzelNullBand>(band);
}

// The visible subreports with a page among Container's objects, those
// printed on their parent or the others.
QList<TzelSubreport *> SubreportsOf(const TzelComponent *container, bool onParent)
{
    QList<TzelSubreport *> subreports;
    for (TzelComponent *c : container->Objects())
        if (auto *sub = zelAs<TzelSubreport>(c); sub && sub->Visible() && sub->PrintOnParent == onParent && sub->Page())
            subreports.append(sub);
    return subreports;
}

} // namespace

TzelBand *TzelEngine::ShowBand(TzelBand *band)
{
    if (!band || FReport->Terminated)
        return nullptr;
    if (band->KeepChild)
        StartKeep(band);
    DoShow(band);
    TzelBand *fillBand = nullptr;
    auto *dataBand = zelAs<TzelDataBand>(band);
    if (TzelChild *child = band->Child()) {
        if ((child->ToNRowsMode != rmTillPageEnds && child->ToNRows <= 0) || band->Vertical) {
            // A multi-column row's child prints once, under the strip's first row.
            if ((band->Visible() || band->PrintChildIfInvisible) && (!dataBand || dataBand->CurColumn() == 1))
                ShowBand(static_cast<TzelBand *>(child));
        } else {
            fillBand = band;
        }
    }
    if (band->KeepChild)
        EndKeep(band);
    // A vertical band counts a row for its column only across data rows:
    // the header and footer rows it prints across read the totals.
    if (dataBand && !band->Vertical)
        FAggregates->AddValue(band, 0);
    else if (dataBand && zelAs<TzelDataBand>(FVMaster))
        FAggregates->AddValue(band, FCurVColumn);
    return fillBand;
}

void TzelEngine::ShowBand(const TzelClassInfo &bandClass)
{
    if (FPage)
        ShowBand(FPage->FindBand(bandClass));
}

void TzelEngine::DoShow(TzelBand *band)
{
    if (band->Vertical) {
        ShowVerticalBand(band);
        return;
    }
    // A band that vertical bands print across runs them first; its cells
    // become copies among its objects.
    QList<qsizetype> verticalPages;
    const QScopedValueRollback<TzelBand *> master(FVMaster);
    const QScopedValueRollback<bool> allowSplit(band->AllowSplit);
    if (band->FHasVBands && !zelAs<TzelPageHeader>(band) && !FOutputTo) {
        const double curX = FCurX;
        BeginPrinting(band);
        band->AllowSplit = false;
        verticalPages = RunVerticalBands(band);
        FCurX = curX;
        FCurLine = band->FLineN;
        FCurLineThrough = band->FLineThrough;
        FPreviewPages->AddPageAction = apAdd;
    }
    auto *dataBand = zelAs<TzelDataBand>(band);
    const bool multiColumn = dataBand && dataBand->Columns > 1;
    const bool rowBand = dataBand || zelAs<TzelGroupHeader>(band);

    if (!FCallFromAddPage && !FOutputTo && band->Visible() && band->StartNewPage && (!rowBand || band->FLineN != 1)) {
        FStartNewPageBand = band;
        if (auto *group = zelAs<TzelGroupHeader>(band); group && group->ResetPageNumbers)
            FPreviewPages->ResetLogicalPageNumber();
        NewPage();
        FStartNewPageBand = nullptr;
    }

    Stretch(band);
    band->FStretchedHeight = band->Height();
    bool printed = false;
    // Bands copied into a parent band never break: the parent does.
    const bool mayBreak = band->Visible() && !multiColumn && !FOutputTo && !zelAs<TzelOverlay>(band) &&
                          !zelAs<TzelNullBand>(band);
    if (mayBreak && FreeSpace() < band->Height() - zelFloatTolerance) {
        auto *child = zelAs<TzelChild>(band);
        if (child && child->ToNRowsMode == rmTillPageEnds) {
            FBreakShowBandTree = true;
            UnStretch(band);
            return;
        }
        const double emptyPage = GetPageHeight() - FooterHeight();
        if (FCallFromAddPage) {
            // Headers open the page: a header that does not fit there never will.
            ReportNoRoom(band);
        } else if ((band->AllowSplit &&
                    (!FKeeping || FCurY - FKeepCurY + band->Height() > emptyPage - HeaderHeight(false))) ||
                   (band->Height() > emptyPage && !band->FHasVBands)) {
            // A band that may not split starts on a fresh column first.
            if (!band->AllowSplit && !band->StartNewPage && FCurY > FFirstColumnY + zelFloatTolerance) {
                FCurBand = band;
                NewColumn();
            }
            EndKeep(band);
            SplitBand(band);
            printed = true;
        } else {
            if (!FKeeping)
                RestretchForNewPage(band);
            NewColumn();
        }
    }
    if (!printed)
        PlaceAndOutput(band, verticalPages);
    if (!FCallFromAddPage && !FCallFromEndPage && !IsPageFrameBand(band))
        FIsFirstBand = false;
    const double printedTop = band->Top();
    const bool visible = band->Visible();
    UnStretch(band);
    PostProcessBand(band, paDefault);
    if (visible)
        RunSubreports(band, printedTop);
}

void TzelEngine::RunParentSubreports(TzelComponent *container)
{
    const QList<TzelSubreport *> subreports = SubreportsOf(container, true);
    if (subreports.isEmpty())
        return;
    // The subreports' bands are copied into a band of their own, whose views
    // then move into the container at their place; UnStretch drops them.
    if (!FParentOriginalCount.contains(container))
        FParentOriginalCount.insert(container, container->Objects().size());
    const bool isBand = zelAs<TzelBand>(container) != nullptr;
    for (TzelSubreport *sub : subreports) {
        TzelNullBand holder;
        {
            const QScopedValueRollback<TzelNullBand *> output(FOutputTo, &holder);
            const QScopedValueRollback<double> y(FCurY, sub->Top());
            const QScopedValueRollback<double> x(FCurX, sub->Left());
            const QScopedValueRollback<TzelBand *> curBand(FCurBand);
            RunReportPage(sub->Page());
        }
        for (TzelComponent *copy : QList<TzelComponent *>(holder.Objects()))
            for (TzelComponent *view : QList<TzelComponent *>(copy->Objects())) {
                if (zelAs<TzelSubreport>(view))
                    continue;
                const double left = copy->Left() + view->Left();
                const double top = copy->Top() + view->Top();
                view->SetParent(container);
                view->SetBounds(left, top, view->Width(), view->Height());
                view->SetParentFont(false);
                if (!isBand)
                    view->SetName(QString());
                if (auto *s = zelAs<TzelStretcheable>(view))
                    s->StretchMode = smDontStretch;
            }
    }
}

void TzelEngine::RunSubreports(TzelBand *band, double bandTop)
{
    const QList<TzelSubreport *> subreports = SubreportsOf(band, false);
    if (subreports.isEmpty())
        return;
    // Each starts beside the others at the band; the cursor goes on from the
    // furthest point any of them reached.
    struct Point
    {
        int Page;
        int Column;
        double Y;
        bool operator<(const Point &o) const
        {
            return std::tie(Page, Column, Y) < std::tie(o.Page, o.Column, o.Y);
        }
    };
    const QScopedValueRollback<TzelSubreportStart> start(
        FSubStart, TzelSubreportStart{true, FPreviewPages->CurPage(), FCurColumn, bandTop});
    const double pageCurX = FPageCurX;
    const double curX = FCurX;
    Point furthest{FPreviewPages->CurPage(), FCurColumn, FCurY};
    for (TzelSubreport *sub : subreports) {
        if (FReport->Terminated)
            break;
        FPreviewPages->SetCurPage(FSubStart.Page);
        FCurColumn = FSubStart.Column;
        FPageCurX = pageCurX + sub->Left();
        FCurX = curX + sub->Left();
        FCurY = FSubStart.Top + sub->Top();
        RunReportPage(sub->Page());
        furthest = std::max(furthest, Point{FPreviewPages->CurPage(), FCurColumn, FCurY});
    }
    FPageCurX = pageCurX;
    FPreviewPages->SetCurPage(furthest.Page);
    FCurColumn = furthest.Column;
    FCurY = furthest.Y;
    FCurX = FPageCurX + (FPage->Columns() > 1 ? FPage->ColumnPositions.value(FCurColumn - 1).toDouble() * qz01cm : 0);
}

void TzelEngine::RestretchForNewPage(TzelBand *band)
{
    // On the next page a repeated value shows again, which may change the
    // band's height.
    bool suppressing = false;
    for (TzelComponent *c : band->Objects())
        if (auto *memo = zelAs<TzelCustomMemoView>(c); memo && memo->SuppressRepeated) {
            memo->ResetSuppress();
            suppressing = true;
        }
    if (!suppressing || band->FHasVBands)
        return;
    UnStretch(band);
    QScopedValueRollback<int> line(FCurLine, band->FLineN);
    QScopedValueRollback<int> lineThrough(FCurLineThrough, band->FLineThrough);
    QScopedValueRollback<bool> second(FSecondScriptCall, true);
    Stretch(band);
    band->FStretchedHeight = band->Height();
}

void TzelEngine::PlaceAndOutput(TzelBand *band, const QList<qsizetype> &verticalPages)
{
    if (auto *dataBand = zelAs<TzelDataBand>(band); dataBand && dataBand->Columns > 1)
        band->SetLeft(band->Left() + FCurX);
    else if (!zelAs<TzelNullBand>(band))
        band->SetLeft(FCurX);
    band->SetTop(FCurY);
    if (FFinalPass)
        band->CreateFillMemo();
    if (auto *summary = zelAs<TzelReportSummary>(band); summary && summary->PrintAtBottom) {
        FCurY += FreeSpace() - band->Height();
        band->SetTop(FCurY);
    }
    if (FOutputTo) {
        // A subreport printed on its parent: the band's copy, values and all.
        auto *copy = new TzelBand(FOutputTo);
        copy->AssignAllWithOriginals(band);
        copy->SetName(band->Name());
    } else if (!verticalPages.isEmpty()) {
        OutputVerticalPages(band, verticalPages);
    } else if (!FCallFromAddPage || !FPreviewPages->BandExists(band)) {
        FPreviewPages->AddObject(band);
    }
    FCurY += band->Height();
}

void TzelEngine::PrepareShiftTree(TzelComponent *container)
{
    FShiftEngine->PrepareShiftTree(container);
}

void TzelEngine::Stretch(TzelComponent *container)
{
    auto *band = zelAs<TzelBand>(container);
    if (band)
        FCurBand = band;
    PrepareShiftTree(container);
    auto *self = static_cast<TzelReportComponent *>(container);
    // A vertical master band fired its own events before its vertical bands
    // ran, and prints their cells as they are.
    const bool master = container == FVMaster;
    if (!master)
        BeginPrinting(self);

    const bool visible = container->Visible();
    bool changed = false;
    const qsizetype own = master ? FParentOriginalCount.value(container) : container->Objects().size();
    for (qsizetype i = 0; i < own; ++i) {
        TzelComponent *c = container->Objects()[i];
        auto *object = static_cast<TzelReportComponent *>(c);
        FReport->CurObject = c->Name();
        object->BeforePrint();
        FPrinting.append(object);
        if (visible) {
            {
                // A handler that prints bands itself must not leave them current.
                QScopedValueRollback<TzelBand *> curBand(FCurBand);
                FReport->DoBeforePrint(object);
            }
            auto *view = zelAs<TzelView>(c);
            if (c->Visible() && (!view || view->Processing().ProcessAt == paDefault)) {
                object->GetData();
                FReport->DoNotifyEvent(c, object->OnAfterData);
            }
        }
        FShiftEngine->InitShiftAmount(c, 0);
        auto *s = zelAs<TzelStretcheable>(c);
        if (!visible || !s || !s->Visible() || (s->StretchMode == smDontStretch && !s->CanShrink))
            continue;
        const double h = s->Height();
        const double need = s->CalcHeight();
        if ((s->StretchMode != smDontStretch && h < need) || (s->CanShrink && h > need)) {
            FShiftEngine->InitShiftAmount(c, need - h);
            if (std::fabs(need - h) > zelFloatTolerance)
                s->SetHeight(need);
            changed = true;
        }
    }
    if (!visible)
        return;
    if (changed)
        FShiftEngine->ShiftObjects(container);
    RunParentSubreports(container);
    const double bottom = LowestBottom(container->Objects());
    if (!band || band->Stretched)
        container->SetHeight(bottom);
    if (band)
        FReport->DoNotifyEvent(band, band->OnAfterCalcHeight);
    for (TzelComponent *c : container->Objects())
        if (auto *s = zelAs<TzelStretcheable>(c); s && s->StretchMode == smMaxHeight)
            s->SetHeight(bottom - s->Top());
}

void TzelEngine::UnStretch(TzelComponent *container)
{
    // Views a subreport printed on the container leave with this print.
    if (const auto it = FParentOriginalCount.constFind(container); it != FParentOriginalCount.cend()) {
        const qsizetype keep = it.value();
        FParentOriginalCount.erase(it);
        while (container->Objects().size() > keep)
            delete container->Objects().last();
    }
    auto *self = static_cast<TzelReportComponent *>(container);
    const qsizetype at = FPrinting.lastIndexOf(self);
    if (at < 0)
        return;
    if (container->Visible())
        for (qsizetype i = at + 1; i < FPrinting.size(); ++i) {
            FReport->CurObject = FPrinting[i]->Name();
            FReport->DoAfterPrint(FPrinting[i]);
        }
    RestorePrinted(at + 1);
    FReport->CurObject = container->Name();
    FReport->DoAfterPrint(self);
    if (auto *band = zelAs<TzelBand>(container))
        band->DisposeFillMemo();
    RestorePrinted(at);
}

void TzelEngine::BeginPrinting(TzelReportComponent *container)
{
    FReport->CurObject = container->Name();
    container->BeforePrint();
    FPrinting.append(container);
    FReport->DoBeforePrint(container);
}

void TzelEngine::RestorePrinted(qsizetype from)
{
    while (FPrinting.size() > from)
        FPrinting.takeLast()->AfterPrint();
}

void TzelEngine::StartKeep(TzelBand *band, int position)
{
    // Vertical bands print inside one horizontal band: nothing to keep.
    if (FKeeping || band->Vertical || (FIsFirstBand && !zelAs<TzelChild>(band)))
        return;
    FKeepCurY = FCurY;
    FKeepPage = FPreviewPages->CurPage();
    FKeepColumn = FCurColumn;
    FKeeping = true;
    FKeepBand = band;
    FKeepPosition = position ? position : FPreviewPages->GetCurPosition();
    FKeepOutline = FPreviewPages->Outline().GetCurPosition();
    FKeepAnchor = FPreviewPages->GetAnchorCurPosition();
    FAggregates->StartKeep();
}

void TzelEngine::EndKeep(TzelBand *band)
{
    if (band == FKeepBand)
        BreakAllKeep();
}

void TzelEngine::BreakAllKeep()
{
    if (FKeeping)
        FAggregates->EndKeep();
    FKeeping = false;
    FKeepHeader = false;
    FKeepBand = nullptr;
}

void TzelEngine::SplitBand(TzelBand *band)
{
    // Stretchable objects print in parts; the others go to the part they fit
    // in whole. Each part shows only its own objects.
    QList<TzelComponent *> work;
    for (TzelComponent *c : band->Objects())
        if (c->Visible() && c != static_cast<TzelComponent *>(band->FillMemo()))
            work.append(c);
    const QList<TzelComponent *> shown = work;
    const auto showAll = qScopeGuard([&] {
        for (TzelComponent *c : shown)
            c->SetVisible(true);
    });
    for (TzelComponent *c : shown)
        if (auto *s = zelAs<TzelStretcheable>(c)) {
            s->InitPart();
            s->FSaveHeight = s->Height();
        }
    const double fullPage = GetPageHeight() - FooterHeight();
    double free = FreeSpace();
    int emptyParts = 0;
    while (!work.isEmpty()) {
        if (!FReport->EngineOptions().EnableThreadSafe)
            QCoreApplication::processEvents();
        if (FReport->Terminated)
            break;
        QList<TzelComponent *> part;
        QList<TzelComponent *> done;
        QList<TzelComponent *> moved;
        // Objects below Object's designed bottom follow it down by Down.
        const auto pushBelow = [&](TzelComponent *object, double bottom, double down) {
            for (TzelComponent *d : std::as_const(work))
                if (d != object && !moved.contains(d) && d->Top() >= bottom - zelFloatTolerance &&
                    OverlapsHorizontally(*object, *d)) {
                    d->SetTop(d->Top() + down);
                    moved.append(d);
                }
        };
        for (TzelComponent *c : std::as_const(work)) {
            auto *s = zelAs<TzelStretcheable>(c);
            bool fits = c->Top() + c->Height() <= free + zelFloatTolerance || (!s && c->Height() > fullPage);
            double unused = 0;
            if (s && c->Top() < free) {
                s->FSavedTop = s->Top();
                s->SetHeight(free - s->Top());
                unused = s->DrawPart();
                // An object nothing of which fits is output whole once it is taller than a page.
                fits = !s->HasNextDataPart(free + zelFloatTolerance) ||
                       (unused >= s->Height() - zelFloatTolerance && s->FSaveHeight > fullPage);
            }
            if (fits) {
                if (s)
                    s->SetHeight(s->FSaveHeight);
                part.append(c);
                done.append(c);
            } else if (s && c->Top() < free) {
                pushBelow(c, s->FSavedTop + s->FSaveHeight, unused);
                if (unused >= s->Height() - zelFloatTolerance) {
                    s->SetTop(free);
                    s->SetHeight(s->FSaveHeight);
                } else {
                    part.append(c);
                    s->FSaveHeight += unused - s->Height();
                }
                moved.append(c);
            } else if (c->Top() < free && !moved.contains(c)) {
                pushBelow(c, c->Top() + c->Height(), free - c->Top());
                c->SetTop(free);
                moved.append(c);
            }
        }
        if (part.isEmpty()) {
            // Nothing fits even at the top of a fresh page or column.
            if (++emptyParts > 1) {
                ReportNoRoom(band);
                break;
            }
        } else {
            emptyParts = 0;
            for (TzelComponent *c : std::as_const(done))
                work.removeOne(c);
            for (TzelComponent *c : shown)
                c->SetVisible(part.contains(c));
            band->SetHeight(LowestBottom(part));
            if (work.isEmpty())
                FitToLastPart(band, part);
            band->SetLeft(FCurX);
            band->SetTop(FCurY);
            if (FFinalPass)
                band->CreateFillMemo();
            FPreviewPages->AddObject(band);
            band->DisposeFillMemo();
            FCurY += band->Height();
        }
        FCurBand = band;
        if (work.isEmpty())
            break;
        NewColumn();
        for (TzelComponent *c : std::as_const(work)) {
            c->SetTop(std::max(0.0, c->Top() - free));
            if (auto *s = zelAs<TzelStretcheable>(c))
                s->SetHeight(s->FSaveHeight);
        }
        free = FreeSpace();
    }
}

void TzelEngine::FitToLastPart(TzelBand *band, const QList<TzelComponent *> &part)
{
    // The last part closes the band: bottom-aligned objects sit on its
    // bottom and maximum-height objects reach down to it.
    const double bottom = band->Height();
    for (TzelComponent *c : part) {
        if (auto *view = zelAs<TzelView>(c); view && view->Align == baBottom)
            c->SetTop(bottom - c->Height());
        if (auto *s = zelAs<TzelStretcheable>(c); s && s->StretchMode == smMaxHeight)
            s->SetHeight(bottom - s->Top());
    }
}
