#include "model/view/zelhyperlink.h"

#include "model/component/zeldiffwriter.h"

bool TzelHyperlink::IsEmpty() const
{
    switch (Kind) {
    case hkURL:
    case hkAnchor:
    case hkPageNumber:
        return Value.isEmpty();
    case hkNone:
        return true;
    case hkDetailReport:
    case hkDetailPage:
        return DetailIsEmpty();
    case hkCustom:
        break;
    }
    return false;
}

bool TzelHyperlink::DetailIsEmpty() const
{
    return (Kind == hkDetailReport && DetailReport.isEmpty()) || (Kind == hkDetailPage && DetailPage.isEmpty());
}

bool TzelHyperlink::operator==(const TzelHyperlink &other) const
{
    return Kind == other.Kind && DetailReport == other.DetailReport && DetailPage == other.DetailPage
           && Expression == other.Expression && ReportVariable == other.ReportVariable
           && TabCaption == other.TabCaption && Value == other.Value && ValuesSeparator == other.ValuesSeparator;
}

void TzelHyperlink::Diff(TzelDiffWriter &out, const TzelHyperlink &other) const
{
    // Every property but Expression, which a printed object never changes.
    // Most objects have no link: equal ones are not looked at property by property.
    if (*this == other)
        return;
    out.Properties(*this, other,
                   {"Kind", "DetailReport", "DetailPage", "ReportVariable", "TabCaption", "Value", "ValuesSeparator"});
}

void TzelHyperlink::Publish(TzelPublisher<TzelHyperlink> &p)
{
    using T = TzelHyperlink;
    p.Prop("Kind", &T::Kind).Default(hkURL);
    p.Prop("DetailReport", &T::DetailReport);
    p.Prop("DetailPage", &T::DetailPage);
    p.Prop("Expression", &T::Expression);
    p.Prop("ReportVariable", &T::ReportVariable);
    p.Prop("TabCaption", &T::TabCaption);
    p.Prop("Value", &T::Value);
    p.Prop("ValuesSeparator", &T::ValuesSeparator).StoredIf(&T::IsValuesSeparatorStored);
}
