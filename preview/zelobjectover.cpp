#include "preview/zelobjectover.h"

#include "model/band/zelgroupheader.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/view/zelcustommemoview.h"
#include "script/gui/kvguievents.h"
#include "script/report/zelscriptobjects.h"

namespace {

// Applies the interactive highlights of View for Type; True when one applied.
bool ApplyInteractive(TzelView *view, TzelInteractiveHighlightEvent type)
{
    auto *memo = dynamic_cast<TzelCustomMemoView *>(view);
    if (!memo)
        return false;
    bool applied = false;
    for (int i = 0; i < memo->Highlights().Count(); ++i)
        if (const TzelHighlight *highlight = memo->Highlights().Items(i); highlight->InteractiveType == type) {
            memo->ApplyHighlight(*highlight);
            applied = true;
        }
    return applied;
}

} // namespace

TzelObjectOverResult TzelObjectOver::Handle(TzelReport *report, TzelCustomPreviewPages &pages, int index,
                                            QPointF point, TzelPageMouseEvent event, Qt::MouseButton button,
                                            Qt::KeyboardModifiers modifiers)
{
    TzelObjectOverResult result;
    int hit = -1;
    TzelGroupHeader *drill = nullptr;
    TzelView *view = nullptr;
    // The view on top at the point, and a foldable group header under it.
    const auto locate = [&] {
        hit = -1;
        drill = nullptr;
        TzelReportPage *page = pages.GetPage(index);
        if (!page)
            return false;
        const QPointF p = point - QPointF(page->LeftMarginAt(index) * qz01cm, page->TopMargin * qz01cm);
        const QList<TzelComponent *> objects = page->AllObjects();
        for (int i = 0; i < objects.size(); ++i) {
            auto *rc = dynamic_cast<TzelReportComponent *>(objects[i]);
            if (!rc || !rc->GetRealBounds().contains(p))
                continue;
            if (dynamic_cast<TzelView *>(rc))
                hit = i;
            else if (auto *header = dynamic_cast<TzelGroupHeader *>(rc); header && header->DrillDown)
                drill = header;
        }
        view = hit >= 0 ? static_cast<TzelView *>(objects[hit]) : nullptr;
        return true;
    };
    if (!locate())
        return result;
    const auto store = [&](TzelView *changed) {
        pages.ModifyObject(changed);
        result.Redraw = true;
    };
    const auto modifiedBy = [&](const QString &eventName) {
        QList<Variant> params{zelScriptValue(view), Variant(kvMouseButton(button)), Variant(kvShiftState(modifiers, button)),
                              Variant(false)};
        report->DoParamEvent(eventName, params, true);
        return params.last().ToBool();
    };

    switch (event) {
    case TzelPageMouseEvent::Move:
        if (index != FLastPage || hit != FLastObject) {
            // Leaving reads another page, which may push this one out of
            // the page cache: look again afterwards.
            result.Redraw = FireMouseLeave(report, &pages);
            locate();
            FLastPage = index;
            FLastObject = hit;
            if (view && report) {
                QList<Variant> params{zelScriptValue(view), Variant(false)};
                report->DoParamEvent(view->OnMouseEnter, params, true);
                // Both happen: the script's refresh and the highlight.
                const bool refresh = params.last().ToBool();
                if (ApplyInteractive(view, ihEnter) || refresh)
                    store(view);
            }
        }
        if (view && report)
            report->DoNotifyEvent(view, view->OnMouseMove, true);
        break;
    case TzelPageMouseEvent::Down:
        if (view && report)
            report->DoNotifyEvent(view, view->OnMouseDown, true);
        break;
    case TzelPageMouseEvent::Up:
        if (view && report)
            report->DoNotifyEvent(view, view->OnMouseUp, true);
        break;
    case TzelPageMouseEvent::Click:
    case TzelPageMouseEvent::DoubleClick: {
        const bool single = event == TzelPageMouseEvent::Click;
        if (view && report) {
            const bool modified = modifiedBy(single ? view->OnPreviewClick : view->OnPreviewDblClick);
            if ((single && ApplyInteractive(view, ihClick)) || modified)
                store(view);
        }
        if (single && button == Qt::LeftButton) {
            if (view && !view->Hyperlink().IsEmpty()) {
                result.FollowLink = true;
                result.Link = view->Hyperlink();
            } else if (drill) {
                result.ToggleDrill = true;
                result.DrillName = drill->DrillName;
            }
        }
        break;
    }
    }
    if (view) {
        result.Cursor = !view->Hyperlink().IsEmpty() ? Qt::PointingHandCursor : kvCursorShape(view->Cursor);
        if (view->ShowHint)
            result.Hint = view->Hint;
    } else if (drill) {
        result.Cursor = Qt::PointingHandCursor;
    }
    return result;
}

bool TzelObjectOver::FireMouseLeave(TzelReport *report, TzelCustomPreviewPages *pages)
{
    const int page = std::exchange(FLastPage, -1);
    const int object = std::exchange(FLastObject, -1);
    if (!pages || !report || page < 0 || object < 0 || page >= pages->Count())
        return false;
    TzelReportPage *rebuilt = pages->GetPage(page);
    const QList<TzelComponent *> objects = rebuilt ? rebuilt->AllObjects() : QList<TzelComponent *>();
    auto *view = object < objects.size() ? dynamic_cast<TzelView *>(objects[object]) : nullptr;
    if (!view)
        return false;
    report->DoNotifyEvent(view, view->OnMouseLeave, true);
    if (!ApplyInteractive(view, ieLeave))
        return false;
    pages->ModifyObject(view);
    return true;
}
