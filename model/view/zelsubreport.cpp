#include "model/view/zelsubreport.h"

#include "base/resources/zelresources.h"
#include "model/page/zelreportpage.h"

namespace {
constexpr int clSilver = 0xC0C0C0;
}

TzelSubreport::TzelSubreport(TzelComponent *owner)
    : TzelView(owner)
{
    qzComponentStyle.Exclude(csPreviewVisible);
    Frame().Typ = {ftLeft, ftRight, ftTop, ftBottom};
    TzelFont font;
    font.SetName(QStringLiteral("Tahoma"));
    font.SetSize(8);
    SetFont(font);
    SetParentFont(false);
    SetColor(clSilver);
}

TzelSubreport::~TzelSubreport()
{
    // The page is told only while it is still in this report's tree: a page
    // that is freed leaves the report before its objects go.
    const TzelComponent *report = ReportRoot();
    if (FPage && report && report->AllObjects().contains(FPage) && FPage->SubReport == this)
        FPage->SubReport = nullptr;
}

QString TzelSubreport::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obSubRep"));
}

void TzelSubreport::SetPage(TzelReportPage *value)
{
    if (FPage && FPage->SubReport == this)
        FPage->SubReport = nullptr;
    FPage = value;
    if (value)
        value->SubReport = this;
}

void TzelSubreport::Publish(TzelPublisher<TzelSubreport> &p)
{
    p.Ref("Page", &TzelSubreport::Page, &TzelSubreport::SetPage);
    p.Prop("PrintOnParent", &TzelSubreport::PrintOnParent).Default(false);
}
