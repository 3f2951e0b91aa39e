#include "base/xml/zelxmltext.h"
#include "model/band/zelchild.h"
#include "model/band/zelcolumnheader.h"
#include "model/band/zelfooter.h"
#include "model/band/zelgroupfooter.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelheader.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreportsummary.h"
#include "model/band/zelreporttitle.h"
#include "model/component/zeldiffwriter.h"

// The published properties of the band kinds: each its own subset of the
// band state, in the order templates store them.

void TzelReportTitle::Publish(TzelPublisher<TzelReportTitle> &p)
{
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("StartNewPage", &TzelBand::StartNewPage).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
}

void TzelReportSummary::Publish(TzelPublisher<TzelReportSummary> &p)
{
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("PrintAtBottom", &TzelReportSummary::PrintAtBottom).Default(false);
    p.Prop("StartNewPage", &TzelBand::StartNewPage).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
}

void TzelPageHeader::Publish(TzelPublisher<TzelPageHeader> &p)
{
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("PrintOnFirstPage", &TzelPageHeader::PrintOnFirstPage).Default(true);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
}

void TzelPageFooter::Publish(TzelPublisher<TzelPageFooter> &p)
{
    p.Prop("PrintOnFirstPage", &TzelPageFooter::PrintOnFirstPage).Default(true);
    p.Prop("PrintOnLastPage", &TzelPageFooter::PrintOnLastPage).Default(true);
    p.Prop("PrintOnSinglePage", &TzelPageFooter::PrintOnSinglePage).Default(false);
}

void TzelColumnHeader::Publish(TzelPublisher<TzelColumnHeader> &p)
{
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
}

void TzelHeader::Publish(TzelPublisher<TzelHeader> &p)
{
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("ReprintOnNewPage", &TzelHeader::ReprintOnNewPage).Default(false);
    p.Prop("StartNewPage", &TzelBand::StartNewPage).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
}

void TzelFooter::Publish(TzelPublisher<TzelFooter> &p)
{
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
}

QString TzelGroupHeader::Diff(const TzelComponent *other)
{
    QString s = TzelBand::Diff(other);
    if (DrillDown) {
        TzelDiffWriter d(s);
        d.Add("DrillName", EscapeXMLText(DrillName)); // a raw quote would break the element
    }
    return s;
}

void TzelGroupHeader::Publish(TzelPublisher<TzelGroupHeader> &p)
{
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("Condition", &TzelGroupHeader::Condition);
    p.Prop("DrillDown", &TzelGroupHeader::DrillDown).Default(false);
    p.Prop("ExpandDrillDown", &TzelGroupHeader::ExpandDrillDown).Default(false);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("KeepTogether", &TzelGroupHeader::KeepTogether).Default(false);
    p.Prop("ReprintOnNewPage", &TzelGroupHeader::ReprintOnNewPage).Default(false);
    p.Prop("OutlineText", &TzelBand::OutlineText);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("ResetPageNumbers", &TzelGroupHeader::ResetPageNumbers).Default(false);
    p.Prop("ShowFooterIfDrillDown", &TzelGroupHeader::ShowFooterIfDrillDown).Default(false);
    p.Prop("ShowChildIfDrillDown", &TzelGroupHeader::ShowChildIfDrillDown).Default(false);
    p.Prop("StartNewPage", &TzelBand::StartNewPage).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
    p.Prop("DrillName", &TzelGroupHeader::DrillName);
}

void TzelGroupFooter::Publish(TzelPublisher<TzelGroupFooter> &p)
{
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("HideIfSingleDataRecord", &TzelGroupFooter::HideIfSingleDataRecord).Default(false);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
}

void TzelOverlay::Publish(TzelPublisher<TzelOverlay> &p)
{
    p.Prop("PrintOnTop", &TzelOverlay::PrintOnTop).Default(false);
}
