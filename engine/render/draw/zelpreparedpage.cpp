#include "engine/render/draw/zelpreparedpage.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/draw/zelviewpainter.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/view/zelsettledtext.h"
#include "model/view/zelpictureview.h"

#include <QScopeGuard>

void zelDrawPreparedPage(TzelCustomPreviewPages &pages, int index, Canvas &canvas, double scaleX, double scaleY,
                         double offsetX, double offsetY, int copyNo)
{
    TzelReportPage *page = index >= 0 && index < pages.Count() ? pages.GetPage(index) : nullptr;
    if (!page)
        return;
    const double left = page->LeftMarginAt(index) * qz01cm;
    const double top = page->TopMargin * qz01cm;
    const double paperWidth = page->PaperWidth() * qz01cm;
    const double paperHeight = page->PaperHeight() * qz01cm;

    canvas.Save();
    const auto restore = qScopeGuard([&canvas] { canvas.Restore(); });
    if (!canvas.IsPrinter())
        canvas.IntersectClip(QRectF(offsetX, offsetY, paperWidth * scaleX, paperHeight * scaleY));

    TzelPictureView &background = page->BackPictureView();
    const QSizeF printable = page->PrintableSize() * qz01cm;
    background.SetBounds(left, top, printable.width(), printable.height());
    zelDrawView(background, canvas, scaleX, scaleY, offsetX, offsetY, false);

    const double x = offsetX + left * scaleX;
    const double y = offsetY + top * scaleY;
    const TzelVisibilityType shownOn = canvas.IsPrinter() ? vsPrint : vsPreview;
    for (TzelComponent *c : page->AllObjects()) {
        auto *view = zelAs<TzelView>(c);
        if (!view || !view->Visible() || !view->Visibility.Contains(shownOn))
            continue;
        const TzelSettledText settled(view, pages.Count(), copyNo);
        zelDrawView(*view, canvas, scaleX, scaleY, x, y, false);
    }
}
