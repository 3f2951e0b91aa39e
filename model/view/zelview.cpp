#include "model/view/zelview.h"

#include "model/component/zeldiffwriter.h"
#include "model/data/zelfinddataset.h"

namespace {
// Anchor and page-number links keep at most this many characters.
constexpr qsizetype maxLinkValue = 255;
}

TzelView::TzelView(TzelComponent *owner)
    : TzelReportComponent(owner)
{
    qzComponentStyle.Include(csDefaultDiff);
}

TzelView::~TzelView() = default;

void TzelView::SetPrintable(bool value)
{
    if (value)
        Visibility.Include(vsPrint);
    else
        Visibility.Exclude(vsPrint);
}

QString TzelView::URL() const
{
    switch (FHyperlink.Kind) {
    case hkAnchor:
        return QStringLiteral("#") + FHyperlink.Value;
    case hkPageNumber:
        return QStringLiteral("@") + FHyperlink.Value;
    default:
        return FHyperlink.Value;
    }
}

void TzelView::SetURL(const QString &value)
{
    if (value.startsWith(u'@')) {
        FHyperlink.Kind = hkPageNumber;
        FHyperlink.Value = value.mid(1, maxLinkValue);
    } else if (value.startsWith(u'#')) {
        FHyperlink.Kind = hkAnchor;
        FHyperlink.Value = value.mid(1, maxLinkValue);
    } else {
        FHyperlink.Kind = hkURL;
        FHyperlink.Value = value;
    }
}

QString TzelView::Diff(const TzelComponent *other)
{
    QString s = TzelReportComponent::Diff(other);
    const auto *o = dynamic_cast<const TzelView *>(other);
    if (!o)
        return s;
    TzelDiffWriter d(s);
    d.Enum("Align", Align, o->Align);
    TzelDiffWriter frame(d, "Frame");
    FFrame.Diff(frame, o->FFrame);
    d.Int("Cursor", Cursor, o->Cursor);
    d.Set("Visibility", Visibility, o->Visibility);
    d.String("TagStr", TagStr, o->TagStr);
    d.Enum("FillType", FillType(), o->FillType());
    TzelDiffWriter fill(d, "Fill");
    Fill().Diff(fill, o->Fill());
    TzelDiffWriter hyperlink(d, "Hyperlink");
    FHyperlink.Diff(hyperlink, o->FHyperlink);
    d.Set("Editable", Editable, o->Editable);
    return s;
}

void TzelView::Publish(TzelPublisher<TzelView> &p)
{
    using T = TzelView;
    using C = TzelComponent;
    using R = TzelReportComponent;
    p.Prop("Anchors", &C::Anchors, &C::SetAnchors).Default(TzelAnchors{fraLeft, fraTop});
    p.Prop("AllowMirrorMode", &C::AllowMirrorMode).Default(false);
    p.Prop("Align", &T::Align).Default(baNone);
    p.Prop("AllowVectorExport", &T::AllowVectorExport);
    p.Prop("Printable", &T::Printable, &T::SetPrintable).NotStored();
    p.Prop("ShiftMode", &T::ShiftMode).Default(smAlways);
    p.Prop("Left", &C::Left, &C::SetLeft);
    p.Prop("Top", &C::Top, &C::SetTop);
    p.Prop("Width", &C::Width, &C::SetWidth);
    p.Prop("Height", &C::Height, &C::SetHeight);
    p.Prop("GroupIndex", &C::GroupIndex).Default(0);
    p.Prop("Editable", &C::Editable).Default(TzelEditableFlags{});
    p.Prop("Restrictions", &C::Restrictions, &C::SetRestrictions).Default(TzelRestrictions{});
    p.Prop("Visible", &C::Visible, &C::SetVisible).Default(true);
    p.Event("OnAfterData", &R::OnAfterData);
    p.Event("OnAfterPrint", &R::OnAfterPrint);
    p.Event("OnBeforePrint", &R::OnBeforePrint);
    p.Event("OnContentChanged", &R::OnContentChanged, "TzelContentChangedEvent");
    p.Event("OnMouseEnter", &T::OnMouseEnter, "TzelMouseEnterViewEvent");
    p.Event("OnMouseLeave", &T::OnMouseLeave, "TzelMouseLeaveViewEvent");
    p.Event("OnMouseDown", &T::OnMouseDown, "TzelMouseEvent");
    p.Event("OnMouseMove", &T::OnMouseMove, "TzelMouseMoveEvent");
    p.Event("OnMouseUp", &T::OnMouseUp, "TzelMouseEvent");
    p.Event("OnPreviewClick", &R::OnPreviewClick, "TzelPreviewClickEvent");
    p.Event("OnPreviewDblClick", &R::OnPreviewDblClick, "TzelPreviewClickEvent");
    p.Object("Hyperlink", &T::FHyperlink);
    p.Prop("Hint", &T::Hint);
    p.Prop("ShowHint", &T::ShowHint).Default(false);
    p.Prop("Visibility", &T::Visibility).Default(TzelVisibilityTypes{vsPreview, vsExport, vsPrint});
}
