#include "engine/render/draw/zelpreparedpage.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/draw/zelviewpainter.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelpictureview.h"

#include <QScopeGuard>

void zelDrawPreparedPage(TzelCustomPreviewPages &pages, int index, Canvas &canvas, double scaleX, double scaleY,
                         double offsetX, double offsetY, int copyNo)
{
    TzelReportPage *page = index >= 0 && index < pages.Count() ? pages.GetPage(index) : nullptr;
    if (!page)
        return;
    // Mirrored margins place the even pages (odd indexes) by their right margin.
    const bool mirrored = page->MirrorMargins && index % 2 == 1;
    const double left = (mirrored ? page->RightMargin : page->LeftMargin) * qz01cm;
    const double top = page->TopMargin * qz01cm;
    const double paperWidth = page->PaperWidth() * qz01cm;
    const double paperHeight = page->PaperHeight() * qz01cm;

    canvas.Save();
    const auto restore = qScopeGuard([&canvas] { canvas.Restore(); });
    if (!canvas.IsPrinter())
        canvas.IntersectClip(QRectF(offsetX, offsetY, paperWidth * scaleX, paperHeight * scaleY));

    TzelPictureView &background = page->BackPictureView();
    background.SetBounds(left, top, paperWidth - (page->LeftMargin + page->RightMargin) * qz01cm,
                         paperHeight - (page->TopMargin + page->BottomMargin) * qz01cm);
    zelDrawView(background, canvas, scaleX, scaleY, offsetX, offsetY, false);

    const double x = offsetX + left * scaleX;
    const double y = offsetY + top * scaleY;
    const TzelVisibilityType shownOn = canvas.IsPrinter() ? vsPrint : vsPreview;
    for (TzelComponent *c : page->AllObjects()) {
        auto *view = zelAs<TzelView>(c);
        if (!view || !view->Visible() || !view->Visibility.Contains(shownOn))
            continue;
        auto *memo = zelAs<TzelCustomMemoView>(view);
        if (!memo) {
            zelDrawView(*view, canvas, scaleX, scaleY, x, y, false);
            continue;
        }
        // The page may be drawn again with other totals: its text stays as stored.
        const QStringList text = memo->Memo;
        const auto restoreText = qScopeGuard([memo, &text] { memo->Memo = text; });
        memo->TotalPages = pages.Count();
        memo->CopyNo = copyNo;
        memo->ExtractMacros();
        memo->FitAutoWidth();
        zelDrawView(*memo, canvas, scaleX, scaleY, x, y, false);
    }
}
