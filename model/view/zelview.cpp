#include "model/view/zelview.h"

#include "model/component/zeldiffwriter.h"
#include "model/component/zelreportcontext.h"
#include "model/view/zelexpressiontext.h"
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

namespace {

// Text with every bracketed expression replaced by its value.
QString expandBrackets(TzelReportContext &report, const QString &text)
{
    if (!text.contains(QLatin1Char('[')))
        return text;
    static const TzelExpressionDelimiters brackets = TzelExpressionDelimiters::FromText(QStringLiteral("[,]"));
    return brackets.Expand(text, [&report](const QString &expression, int) {
        return report.Calc(expression).ToString();
    });
}

} // namespace

void TzelView::BeforePrint()
{
    TzelReportComponent::BeforePrint();
    FTempTag = TagStr;
    FTempHyperlink = FHyperlink;
    if (TzelReportContext *report = Context())
        report->SetSelfValue(this);
}

void TzelView::GetData()
{
    TzelReportContext *report = Context();
    if (!report)
        return;
    report->SetSelfValue(this);
    TagStr = expandBrackets(*report, TagStr);
    if (FHyperlink.Value.contains(QLatin1Char('['))) {
        const QString &separator = FHyperlink.ValuesSeparator;
        QStringList values = separator.isEmpty() ? QStringList{FHyperlink.Value} : FHyperlink.Value.split(separator);
        for (QString &value : values)
            value = expandBrackets(*report, value);
        FHyperlink.Value = values.join(separator);
    }
    if (!FHyperlink.Expression.trimmed().isEmpty()) {
        const Variant value = report->Calc(FHyperlink.Expression);
        // A detail report receives the value in a variable, which holds an
        // expression: a text goes in quotes.
        const bool asCode = FHyperlink.Kind == hkDetailReport || FHyperlink.Kind == hkDetailPage;
        FHyperlink.Value = asCode && value.IsString()
                               ? QLatin1Char('\'') + value.ToString().replace(QLatin1Char('\''), QStringLiteral("''")) +
                                     QLatin1Char('\'')
                               : value.ToString();
    }
}

void TzelView::AfterPrint()
{
    TagStr = FTempTag;
    FHyperlink = FTempHyperlink;
    TzelReportComponent::AfterPrint();
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
