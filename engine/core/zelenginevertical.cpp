// Vertical (cross) bands: data bands that lay their rows out from left to
// right across a horizontal band, printing the objects they took over from it.
#include "engine/core/zelengine.h"

#include "model/band/zeldataband.h"
#include "model/band/zelfooter.h"
#include "model/band/zelgroupfooter.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpagefooter.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelview.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <algorithm>
#include <limits>

namespace {

QList<TzelBand *> VerticalBands(const TzelReportPage *page)
{
    QList<TzelBand *> bands;
    for (TzelComponent *c : page->Objects())
        if (auto *band = zelAs<TzelBand>(c); band && band->Vertical)
            bands.append(band);
    return bands;
}

} // namespace

TzelHeaderList &TzelEngine::HeaderListOf(const TzelBand *band)
{
    return band->Vertical ? FVHeaderList : FHeaderList;
}

void TzelEngine::TakeOverObjects(TzelReportPage *page)
{
    const QList<TzelBand *> vertical = VerticalBands(page);
    if (vertical.isEmpty())
        return;
    for (TzelComponent *c : page->Objects()) {
        auto *band = zelAs<TzelBand>(c);
        if (!band || band->Vertical || zelAs<TzelOverlay>(band))
            continue;
        for (qsizetype i = 0; i < band->Objects().size();) {
            auto *view = zelAs<TzelView>(band->Objects()[i]);
            const auto inside = [view](const TzelBand *v) {
                return view->Left() >= v->Left() - zelFloatTolerance &&
                       view->Left() + view->Width() <= v->Left() + v->Width() + zelFloatTolerance;
            };
            const auto target = view ? std::find_if(vertical.begin(), vertical.end(), inside) : vertical.end();
            if (target == vertical.end()) {
                ++i;
                continue;
            }
            FTakenOver.append({view, band, i, view->Left()});
            view->SetParent(*target);
            view->SetLeft(view->Left() - (*target)->Left());
            view->OriginalBand = band;
            band->FHasVBands = true;
        }
    }
}

void TzelEngine::ReturnTakenOver()
{
    // Backwards, so that every object finds its old place free.
    while (!FTakenOver.isEmpty()) {
        const TzelTakenOver t = FTakenOver.takeLast();
        t.Object->SetParent(t.Band);
        t.Band->MoveChild(t.Object, int(t.Index));
        t.Object->SetLeft(t.Left);
        t.Object->OriginalBand = nullptr;
    }
}

QList<qsizetype> TzelEngine::RunVerticalBands(TzelBand *master)
{
    FVMaster = master;
    FParentOriginalCount.insert(master, master->Objects().size());
    FVHeaderList.Clear();
    FVPageList = {0};
    FCurVColumn = 0;
    // The first column prints where the leftmost vertical band stands.
    double left = std::numeric_limits<double>::max();
    for (const TzelBand *band : VerticalBands(FPage))
        left = std::min(left, band->Left());
    FCurX = left == std::numeric_limits<double>::max() ? 0 : left;
    for (TzelBand *band : std::as_const(FPage->FVSubBands)) {
        if (FReport->Terminated)
            break;
        RunDataBand(static_cast<TzelDataBand *>(band));
    }
    return FVPageList;
}

void TzelEngine::ShowVerticalBand(TzelBand *band)
{
    TzelBand *master = FVMaster;
    if (!master)
        return; // outside a horizontal band there is nothing to print into
    if (zelAs<TzelDataBand>(band))
        ++FCurVColumn;
    FCurBand = zelAs<TzelFooter>(band) || zelAs<TzelGroupFooter>(band) ? band : master;
    FReport->CurObject = band->Name();
    band->BeforePrint();
    {
        const auto afterPrint = qScopeGuard([&] {
            FReport->CurObject = band->Name();
            band->AfterPrint();
        });
        FReport->DoBeforePrint(band);
        if (band->Visible()) {
            const bool tooWide = FCurX + band->Width() > FPageWidth + zelFloatTolerance;
            const bool breaks = band->StartNewPage && band->FLineThrough > 1;
            if ((tooWide || breaks) && !FReprintingVHeaders) {
                if (FPage->EndlessWidth && !breaks) {
                    FPageWidth = FCurX + band->Width();
                } else {
                    // Output goes on at the left of the next horizontal page,
                    // after the vertical headers.
                    FVPageList.append(master->Objects().size());
                    FCurX = 0;
                    const QScopedValueRollback<bool> reprinting(FReprintingVHeaders, true);
                    const QScopedValueRollback<TzelBand *> curBand(FCurBand);
                    for (int i = 0; i < FVHeaderList.Count(); ++i)
                        if (TzelBand *header = FVHeaderList.Items(i).Band)
                            ShowVerticalBand(header);
                }
            }
            CopyTakenOver(band, master);
            FCurX += band->Width();
        }
        FReport->DoAfterPrint(band);
    }
    if (zelAs<TzelFooter>(band) || zelAs<TzelGroupFooter>(band))
        PostProcessBand(band, paDefault);
}

void TzelEngine::CopyTakenOver(TzelBand *band, TzelBand *master)
{
    for (TzelComponent *c : band->Objects()) {
        auto *view = zelAs<TzelView>(c);
        if (!view || view->OriginalBand != master)
            continue;
        FReport->CurObject = view->Name();
        view->BeforePrint();
        const auto afterPrint = qScopeGuard([view] { view->AfterPrint(); });
        FReport->DoBeforePrint(view);
        if (!view->Visible())
            continue;
        if (view->Processing().ProcessAt == paDefault) {
            view->GetData();
            FReport->DoNotifyEvent(view, view->OnAfterData);
        }
        auto *copy = static_cast<TzelComponent *>(view->ClassInfo().Create());
        copy->SetParent(master);
        copy->AssignAllWithOriginals(view);
        copy->SetLeft(view->Left() + FCurX);
        FReport->DoAfterPrint(view);
    }
}

void TzelEngine::OutputVerticalPages(TzelBand *master, const QList<qsizetype> &pages)
{
    if (!master->Visible())
        return;
    // Each page shows only its own objects: the others are hidden while the
    // band is stored there.
    QList<TzelComponent *> objects = master->Objects();
    objects.removeOne(static_cast<TzelComponent *>(master->FillMemo()));
    QList<bool> shown;
    for (const TzelComponent *c : std::as_const(objects))
        shown.append(c->Visible());
    const int firstPage = FPreviewPages->CurPage();
    const QScopedValueRollback<double> y(FCurY), x(FCurX), firstColumnY(FFirstColumnY),
        prevFooter(FPrevFooterHeight);
    const QScopedValueRollback<int> column(FCurColumn);
    const QScopedValueRollback<bool> firstPageFlag(FIsFirstPage), output(FVerticalOutput, true);
    const auto restore = qScopeGuard([&] {
        for (qsizetype i = 0; i < objects.size(); ++i)
            objects[i]->SetVisible(shown[i]);
        FPreviewPages->SetCurPage(firstPage);
        // A break after this band appends a page after the horizontal ones.
        FPreviewPages->AddPageAction = apAdd;
    });
    const double top = master->Top();
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0) {
            // The first page ends where the report breaks it; the others
            // get their footers now.
            if (p > 1)
                EndHorizontalPage();
            FIsFirstPage = false;
            OpenHorizontalPage();
        }
        const qsizetype end = p + 1 < pages.size() ? pages[p + 1] : objects.size();
        for (qsizetype i = 0; i < objects.size(); ++i)
            objects[i]->SetVisible(shown[i] && i >= pages[p] && i < end);
        master->SetTop(top);
        FPreviewPages->AddObject(master);
    }
    if (pages.size() > 1)
        EndHorizontalPage();
}

void TzelEngine::OpenHorizontalPage()
{
    const int next = FPreviewPages->CurPage() + 1;
    if (next < FPreviewPages->Count()) {
        FPreviewPages->SetCurPage(next);
        return;
    }
    FPreviewPages->AddPageAction = apAdd;
    OpenPage();
}

void TzelEngine::EndHorizontalPage()
{
    if (auto *footer = FPage->FindBand(TzelPageFooter::StaticClassInfo()); footer && !FPreviewPages->BandExists(footer)) {
        FCurY = GetPageHeight() - footer->Height();
        ShowPageFooter(footer);
    }
    if (auto *overlay = static_cast<TzelOverlay *>(FPage->FindBand(TzelOverlay::StaticClassInfo()));
        overlay && overlay->PrintOnTop && !FPreviewPages->BandExists(overlay)) {
        FCurY = 0;
        ShowPageFooter(overlay);
    }
}
