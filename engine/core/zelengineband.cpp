// Printing one band: showing, stretching, keeping and splitting.
#include "engine/core/zelengine.h"

#include "engine/core/zelshiftengine.h"
#include "engine/render/text/zelmemotext.h"
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

#include <QScopeGuard>
#include <algorithm>
#include <cmath>

namespace {

// The height Object needs for its content; objects that cannot measure
// themselves keep their height.
double CalcHeight(TzelStretcheable &object)
{
    if (auto *memo = dynamic_cast<TzelCustomMemoView *>(&object))
        return zelMemoCalcHeight(*memo);
    return object.Height();
}

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
    return dynamic_cast<const TzelReportTitle *>(band) || dynamic_cast<const TzelPageHeader *>(band) ||
           dynamic_cast<const TzelColumnHeader *>(band) || dynamic_cast<const TzelOverlay *>(band) ||
           dynamic_cast<const TzelNullBand *>(band);
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
    if (TzelChild *child = band->Child()) {
        if (child->ToNRowsMode != rmTillPageEnds && child->ToNRows <= 0) {
            if (band->Visible() || band->PrintChildIfInvisible)
                ShowBand(static_cast<TzelBand *>(child));
        } else {
            fillBand = band;
        }
    }
    if (band->KeepChild)
        EndKeep(band);
    return fillBand;
}

void TzelEngine::ShowBand(const TzelClassInfo &bandClass)
{
    if (FPage)
        ShowBand(FPage->FindBand(bandClass));
}

void TzelEngine::DoShow(TzelBand *band)
{
    // Vertical bands are printed by the cross-tab routine, not built yet.
    if (band->Vertical)
        return;
    auto *dataBand = dynamic_cast<TzelDataBand *>(band);
    const bool multiColumn = dataBand && dataBand->Columns > 1;
    const bool rowBand = dataBand || dynamic_cast<TzelGroupHeader *>(band);

    if (!FCallFromAddPage && band->Visible() && band->StartNewPage && (!rowBand || FCurLine > 1)) {
        FStartNewPageBand = band;
        NewPage();
        FStartNewPageBand = nullptr;
    }

    Stretch(band);
    bool printed = false;
    const bool mayBreak = band->Visible() && !multiColumn && !dynamic_cast<TzelOverlay *>(band) && !dynamic_cast<const TzelNullBand *>(band);
    if (mayBreak && FreeSpace() < band->Height() - zelFloatTolerance) {
        auto *child = dynamic_cast<TzelChild *>(band);
        if (child && child->ToNRowsMode == rmTillPageEnds) {
            UnStretch(band);
            return;
        }
        const double emptyPage = GetPageHeight() - FooterHeight();
        if (FCallFromAddPage) {
            // Headers open the page: a header that does not fit there never will.
            ReportNoRoom(band);
        } else if ((band->AllowSplit &&
                    (!FKeeping || FCurY - FKeepCurY + band->Height() > emptyPage - HeaderHeight(false))) ||
                   band->Height() > emptyPage) {
            // A band that may not split starts on a fresh column first.
            if (!band->AllowSplit && !band->StartNewPage && FCurY > FFirstColumnY + zelFloatTolerance) {
                FCurBand = band;
                NewColumn();
            }
            EndKeep(band);
            SplitBand(band);
            printed = true;
        } else {
            // A band moved to the next page prints its repeated values again:
            // RestretchForNewPage re-measures it once memos suppress repeats.
            NewColumn();
        }
    }
    if (!printed)
        PlaceAndOutput(band);
    if (!FCallFromAddPage && !FCallFromEndPage && !IsPageFrameBand(band))
        FIsFirstBand = false;
    UnStretch(band);
}

void TzelEngine::PlaceAndOutput(TzelBand *band)
{
    if (auto *dataBand = dynamic_cast<TzelDataBand *>(band); dataBand && dataBand->Columns > 1)
        band->SetLeft(band->Left() + FCurX);
    else if (!dynamic_cast<const TzelNullBand *>(band))
        band->SetLeft(FCurX);
    band->SetTop(FCurY);
    if (FFinalPass)
        band->CreateFillMemo();
    if (auto *summary = dynamic_cast<TzelReportSummary *>(band); summary && summary->PrintAtBottom) {
        FCurY += FreeSpace() - band->Height();
        band->SetTop(FCurY);
    }
    if (!FCallFromAddPage || !FPreviewPages->BandExists(band))
        FPreviewPages->AddObject(band);
    FCurY += band->Height();
}

void TzelEngine::PrepareShiftTree(TzelComponent *container)
{
    FShiftEngine->PrepareShiftTree(container);
}

void TzelEngine::Stretch(TzelComponent *container)
{
    auto *band = dynamic_cast<TzelBand *>(container);
    if (band)
        FCurBand = band;
    PrepareShiftTree(container);
    if (!FSaved.contains(container)) {
        QList<SavedGeometry> saved;
        saved.append({container, container->Left(), container->Top(), container->Height()});
        for (TzelComponent *c : container->Objects())
            saved.append({c, c->Left(), c->Top(), c->Height()});
        FSaved.insert(container, saved);
    }
    // Before-print events and GetData run here once the script glue and the
    // expression engine exist; objects show their stored text until then.
    bool changed = false;
    const bool visible = container->Visible();
    for (TzelComponent *c : container->Objects()) {
        FShiftEngine->InitShiftAmount(c, 0);
        auto *s = dynamic_cast<TzelStretcheable *>(c);
        if (!visible || !s || !s->Visible() || (s->StretchMode == smDontStretch && !s->CanShrink))
            continue;
        const double h = s->Height();
        const double need = CalcHeight(*s);
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
    const double bottom = LowestBottom(container->Objects());
    if (!band || band->Stretched)
        container->SetHeight(bottom);
    for (TzelComponent *c : container->Objects())
        if (auto *s = dynamic_cast<TzelStretcheable *>(c); s && s->StretchMode == smMaxHeight)
            s->SetHeight(bottom - s->Top());
}

void TzelEngine::UnStretch(TzelComponent *container)
{
    if (auto *band = dynamic_cast<TzelBand *>(container))
        band->DisposeFillMemo();
    const auto it = FSaved.find(container);
    if (it == FSaved.end())
        return;
    for (const SavedGeometry &g : *it) {
        g.Object->SetLeft(g.Left);
        g.Object->SetTop(g.Top);
        g.Object->SetHeight(g.Height);
    }
    FSaved.erase(it);
}

void TzelEngine::StartKeep(TzelBand *band, int position)
{
    if (FKeeping || (FIsFirstBand && !dynamic_cast<TzelChild *>(band)))
        return;
    FKeepCurY = FCurY;
    FKeeping = true;
    FKeepBand = band;
    FKeepPosition = position ? position : FPreviewPages->GetCurPosition();
    FKeepOutline = FPreviewPages->Outline().GetCurPosition();
    FKeepAnchor = FPreviewPages->GetAnchorCurPosition();
}

void TzelEngine::EndKeep(TzelBand *band)
{
    if (band == FKeepBand)
        BreakAllKeep();
}

void TzelEngine::BreakAllKeep()
{
    FKeeping = false;
    FKeepHeader = false;
    FKeepBand = nullptr;
}

void TzelEngine::SplitBand(TzelBand *band)
{
    // Memos print their text in parts; other objects go to the part they fit
    // in whole.
    QList<TzelComponent *> work;
    for (TzelComponent *c : band->Objects())
        if (c->Visible() && c != static_cast<TzelComponent *>(band->FillMemo()))
            work.append(c);
    const QList<TzelComponent *> shown = work;
    // The parts replace a memo's text; the design is restored afterwards.
    struct DesignedText
    {
        TzelCustomMemoView *Memo;
        QString Text;
        bool FirstParaBreak;
        bool LastParaBreak;
    };
    QList<DesignedText> designed;
    // Visibility and texts go back to the design whatever happens.
    const auto restore = qScopeGuard([&] {
        for (TzelComponent *c : shown)
            c->SetVisible(true);
        for (const DesignedText &d : std::as_const(designed)) {
            d.Memo->SetText(d.Text);
            d.Memo->FirstParaBreak = d.FirstParaBreak;
            d.Memo->LastParaBreak = d.LastParaBreak;
            d.Memo->FPartMemo.clear();
        }
    });
    for (TzelComponent *c : shown)
        if (auto *memo = dynamic_cast<TzelCustomMemoView *>(c)) {
            designed.append({memo, memo->Text(), memo->FirstParaBreak, memo->LastParaBreak});
            zelMemoInitPart(*memo);
            memo->FSaveHeight = memo->Height();
        }
    const double fullPage = GetPageHeight() - FooterHeight();
    double free = FreeSpace();
    int emptyParts = 0;
    while (!work.isEmpty() && !FReport->Terminated) {
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
            auto *memo = dynamic_cast<TzelCustomMemoView *>(c);
            bool fits = c->Top() + c->Height() <= free + zelFloatTolerance || (!memo && c->Height() > fullPage);
            double unused = 0;
            if (memo && c->Top() < free) {
                memo->FSavedTop = memo->Top();
                memo->SetHeight(free - memo->Top());
                unused = zelMemoDrawPart(*memo);
                // A memo no line of which fits is output whole once it is taller than a page.
                fits = memo->Top() + memo->FSaveHeight <= free + zelFloatTolerance ||
                       (unused >= memo->Height() - zelFloatTolerance && memo->FSaveHeight > fullPage);
            }
            if (fits) {
                if (memo)
                    memo->SetHeight(memo->FSaveHeight);
                part.append(c);
                done.append(c);
            } else if (memo && c->Top() < free) {
                pushBelow(c, memo->FSavedTop + memo->FSaveHeight, unused);
                if (unused >= memo->Height() - zelFloatTolerance) {
                    memo->SetTop(free);
                    memo->SetHeight(memo->FSaveHeight);
                } else {
                    part.append(c);
                    memo->FSaveHeight += unused - memo->Height();
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
            for (TzelComponent *c : shown)
                c->SetVisible(part.contains(c));
            band->SetHeight(LowestBottom(part));
            band->SetLeft(FCurX);
            band->SetTop(FCurY);
            if (FFinalPass)
                band->CreateFillMemo();
            FPreviewPages->AddObject(band);
            band->DisposeFillMemo();
            FCurY += band->Height();
            for (TzelComponent *c : std::as_const(done))
                work.removeOne(c);
        }
        FCurBand = band;
        if (work.isEmpty())
            break;
        NewColumn();
        for (TzelComponent *c : std::as_const(work)) {
            c->SetTop(std::max(0.0, c->Top() - free));
            if (auto *memo = dynamic_cast<TzelCustomMemoView *>(c))
                memo->SetHeight(memo->FSaveHeight);
        }
        free = FreeSpace();
    }
}
