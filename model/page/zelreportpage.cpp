#include "model/page/zelreportpage.h"

#include "base/core/zelexception.h"
#include "base/resources/zelresources.h"
#include "base/variant/zelformatsettings.h"
#include "model/band/zelnullband.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreportsummary.h"
#include "model/band/zelreporttitle.h"
#include "model/component/zelunits.h"
#include "model/data/zelfinddataset.h"
#include "model/page/zeldefaultpaper.h"
#include "model/page/zelpapers.h"
#include "model/view/zelpictureview.h"

#include <cmath>

namespace {

// Paper sizes keep 8 decimals, so that sizes computed from inches compare equal.
double round8(double value)
{
    return std::nearbyint(value * 1e8) / 1e8;
}

// Bands that span the whole page even when the page has columns.
bool spansAllColumns(const TzelBand *band)
{
    return dynamic_cast<const TzelNullBand *>(band) || dynamic_cast<const TzelReportSummary *>(band)
           || dynamic_cast<const TzelPageHeader *>(band) || dynamic_cast<const TzelPageFooter *>(band)
           || dynamic_cast<const TzelReportTitle *>(band) || dynamic_cast<const TzelOverlay *>(band);
}

} // namespace

TzelReportPage::TzelReportPage(TzelComponent *owner)
    : TzelPage(owner), FBackPictureView(std::make_unique<TzelPictureView>())
{
    UpdateDimensions();
}

TzelReportPage::~TzelReportPage() = default;

TzelReportPage *TzelReportPage::CreateInPreview(TzelComponent *owner, TzelReport *report)
{
    auto *page = new TzelReportPage(owner);
    page->ParentReport = report;
    return page;
}

QString TzelReportPage::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obRepPage"));
}

void TzelReportPage::UpdateDimensions()
{
    SetWidth(std::nearbyint(FPaperWidth * qz01cm));
    SetHeight(std::nearbyint(FPaperHeight * qz01cm));
}

void TzelReportPage::SetOrientation(TzelPrinterOrientation value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    std::swap(FPaperWidth, FPaperHeight);
    const double l = LeftMargin, r = RightMargin, t = TopMargin, b = BottomMargin;
    if (value == poLandscape) {
        LeftMargin = t;
        RightMargin = b;
        TopMargin = r;
        BottomMargin = l;
    } else {
        LeftMargin = b;
        RightMargin = t;
        TopMargin = l;
        BottomMargin = r;
    }
    UpdateDimensions();
}

void TzelReportPage::SetPaperWidth(double value)
{
    FPaperWidth = round8(value);
    FPaperSize = zelCustomPaperSize;
    UpdateDimensions();
}

void TzelReportPage::SetPaperHeight(double value)
{
    FPaperHeight = round8(value);
    FPaperSize = zelCustomPaperSize;
    UpdateDimensions();
}

void TzelReportPage::SetPaperSize(int value)
{
    FPaperSize = value;
    // A code the table does not list keeps the current size.
    if (value < zelCustomPaperSize)
        if (const TzelPaperInfo *paper = zelFindPaper(value)) {
            FPaperWidth = paper->Width / 10.0;
            FPaperHeight = paper->Height / 10.0;
            if (FOrientation == poLandscape)
                std::swap(FPaperWidth, FPaperHeight);
        }
    UpdateDimensions();
}

void TzelReportPage::SetSizeAndDimensions(int size, double width, double height)
{
    FPaperSize = size;
    FPaperWidth = round8(width);
    FPaperHeight = round8(height);
    UpdateDimensions();
}

QSizeF TzelReportPage::PrintableSize() const
{
    return QSizeF(PaperWidth() - LeftMargin - RightMargin, PaperHeight() - TopMargin - BottomMargin);
}

void TzelReportPage::SetDefaults()
{
    LeftMargin = RightMargin = TopMargin = BottomMargin = 10;
    const TzelDefaultPaper paper = zelDefaultPaper();
    FOrientation = paper.Orientation;
    SetSizeAndDimensions(paper.Size, paper.Width, paper.Height);
}

void TzelReportPage::SetColumns(int value)
{
    // No page prints this many columns; a larger count comes from a damaged
    // template, and laying it out would take minutes and gigabytes.
    constexpr int maxColumns = 1000;
    if (value > maxColumns)
        throw TzelException(zelResources().Get(QStringLiteral("prInvProp")));
    FColumns = value;
    ColumnPositions.clear();
    if (value <= 0)
        return;
    ColumnWidth = (FPaperWidth - LeftMargin - RightMargin) / value;
    for (int i = 0; i < value; ++i)
        ColumnPositions << zelFloatToStr(i * ColumnWidth);
}

void TzelReportPage::SetPageCount(int value)
{
    if (value > 0)
        FPageCount = value;
}

TzelPicture &TzelReportPage::BackPicture()
{
    return FBackPictureView->Picture();
}

const TzelPicture &TzelReportPage::BackPicture() const
{
    return FBackPictureView->Picture();
}

bool TzelReportPage::IsBackPictureStored() const
{
    return !BackPicture().IsEmpty();
}

int TzelReportPage::Color() const
{
    return FBackPictureView->Color();
}

void TzelReportPage::SetColor(int value)
{
    FBackPictureView->SetColor(value);
}

TzelFrame &TzelReportPage::Frame()
{
    return FBackPictureView->Frame();
}

const TzelFrame &TzelReportPage::Frame() const
{
    return FBackPictureView->Frame();
}

TzelBand *TzelReportPage::FindBand(const TzelClassInfo &bandClass) const
{
    for (TzelComponent *c : Objects())
        if (c->InheritsFrom(bandClass))
            return dynamic_cast<TzelBand *>(c);
    return nullptr;
}

void TzelReportPage::AlignChildren(bool ignoreInvisible, TzelMirrorControlModes modes)
{
    SetWidth((FPaperWidth - LeftMargin - RightMargin) * qz01cm);
    SetHeight((FPaperHeight - TopMargin - BottomMargin) * qz01cm);
    TzelPage::AlignChildren(ignoreInvisible, modes);
    for (TzelComponent *c : Objects()) {
        auto *band = dynamic_cast<TzelBand *>(c);
        if (!band)
            continue;
        if (band->Vertical)
            band->SetHeight(Height() - band->Top());
        else if (FColumns > 1 && !spansAllColumns(band))
            band->SetWidth(ColumnWidth * qz01cm);
        else
            band->SetWidth(Width() - band->Left());
        band->DoMirror(modes);
        band->AlignChildren(ignoreInvisible, modes);
    }
    UpdateDimensions();
}

void TzelReportPage::Publish(TzelPublisher<TzelReportPage> &p)
{
    using T = TzelReportPage;
    p.Prop("Orientation", &T::Orientation, &T::SetOrientation).Default(poPortrait);
    p.Prop("PaperWidth", &T::PaperWidth, &T::SetPaperWidth);
    p.Prop("PaperHeight", &T::PaperHeight, &T::SetPaperHeight);
    p.Prop("PaperSize", &T::PaperSize, &T::SetPaperSize);
    p.Prop("LeftMargin", &T::LeftMargin);
    p.Prop("RightMargin", &T::RightMargin);
    p.Prop("TopMargin", &T::TopMargin);
    p.Prop("BottomMargin", &T::BottomMargin);
    p.Prop("MirrorMargins", &T::MirrorMargins).Default(false);
    p.Prop("Columns", &T::Columns, &T::SetColumns).Default(0);
    p.Prop("ColumnWidth", &T::ColumnWidth);
    p.Prop("ColumnPositions", &T::ColumnPositions);
    p.Prop("Bin", &T::Bin).Default(7);
    p.Prop("BinOtherPages", &T::BinOtherPages).Default(7);
    p.Object("BackPicture", &T::BackPicture).StoredIf(&T::IsBackPictureStored);
    p.Prop("BackPictureVisible", &T::BackPictureVisible).Default(true);
    p.Prop("BackPicturePrintable", &T::BackPicturePrintable).Default(true);
    p.Prop("BackPictureStretched", &T::BackPictureStretched).Default(true);
    p.Prop("PageCount", &T::PageCount, &T::SetPageCount).Default(1);
    p.Color("Color", &T::Color, &T::SetColor).Default(clNone);
    zelPublishDataSetLink(p, &T::FDataSet);
    p.Prop("Duplex", &T::Duplex).Default(dmNone);
    p.Object("Frame", &T::Frame);
    p.Prop("EndlessHeight", &T::EndlessHeight).Default(false);
    p.Prop("EndlessWidth", &T::EndlessWidth).Default(false);
    p.Prop("LargeDesignHeight", &T::LargeDesignHeight).Default(false);
    p.Prop("MirrorMode", &T::MirrorMode);
    p.Prop("OutlineText", &T::OutlineText);
    p.Prop("PrintIfEmpty", &T::PrintIfEmpty).Default(true);
    p.Prop("PrintOnPreviousPage", &T::PrintOnPreviousPage).Default(false);
    p.Prop("ShowTitleOnPreviousPage", &T::ShowTitleOnPreviousPage).Default(true);
    p.Prop("ResetPageNumbers", &T::ResetPageNumbers).Default(false);
    p.Prop("TitleBeforeHeader", &T::TitleBeforeHeader).Default(true);
    p.Event("OnAfterPrint", &T::OnAfterPrint);
    p.Event("OnBeforePrint", &T::OnBeforePrint);
    p.Event("OnManualBuild", &T::OnManualBuild);
}
