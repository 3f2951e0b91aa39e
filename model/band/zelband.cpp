#include "model/band/zelband.h"

#include "base/core/zelexception.h"
#include "base/resources/zelresources.h"
#include "model/band/zelchild.h"
#include "model/component/zelunits.h"
#include "model/page/zelpage.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelmemoview.h"

#include <array>
#include <cmath>

namespace {

// The band kinds in the order of their kind numbers.
constexpr std::array<QLatin1StringView, 18> bandKinds{
    QLatin1StringView("TzelReportTitle"),   QLatin1StringView("TzelReportSummary"),
    QLatin1StringView("TzelPageHeader"),    QLatin1StringView("TzelPageFooter"),
    QLatin1StringView("TzelHeader"),        QLatin1StringView("TzelFooter"),
    QLatin1StringView("TzelMasterData"),    QLatin1StringView("TzelDetailData"),
    QLatin1StringView("TzelSubdetailData"), QLatin1StringView("TzelDataBand4"),
    QLatin1StringView("TzelDataBand5"),     QLatin1StringView("TzelDataBand6"),
    QLatin1StringView("TzelGroupHeader"),   QLatin1StringView("TzelGroupFooter"),
    QLatin1StringView("TzelChild"),         QLatin1StringView("TzelColumnHeader"),
    QLatin1StringView("TzelColumnFooter"),  QLatin1StringView("TzelOverlay")};

// Rounds to the nearest multiple of Cell, halves to even.
double snap(double value, double cell)
{
    return std::nearbyint(value / cell) * cell;
}

// Puts Child first among its parent's children: the others leave and come
// back after it.
void moveToFront(TzelComponent *child)
{
    TzelComponent *parent = child->Parent();
    const QList<TzelComponent *> others = parent->Objects();
    for (TzelComponent *c : others)
        if (c != child) {
            c->SetParent(nullptr);
            c->SetParent(parent);
        }
}

} // namespace

void TzelFillGaps::Publish(TzelPublisher<TzelFillGaps> &p)
{
    p.Prop("Top", &TzelFillGaps::Top);
    p.Prop("Left", &TzelFillGaps::Left);
    p.Prop("Bottom", &TzelFillGaps::Bottom);
    p.Prop("Right", &TzelFillGaps::Right);
}

TzelBand::TzelBand(TzelComponent *owner)
    : TzelReportComponent(owner)
{
    qzComponentStyle.Include(csAcceptsZelComponents);
}

TzelBand::~TzelBand()
{
    if (FChild)
        FChild->FParents.removeOne(this);
}

void TzelBand::SetChild(TzelChild *value)
{
    if (value == FChild)
        return;
    for (const TzelBand *b = value; b; b = b->FChild)
        if (b == this)
            throw TzelException(zelResources().Get(QStringLiteral("clCirRefNotAllow")));
    if (FChild)
        FChild->FParents.removeOne(this);
    FChild = value;
    if (FChild)
        FChild->FParents.append(this);
}

QString TzelBand::BandName() const
{
    QString name = ClassName();
    if (const qsizetype i = name.indexOf(QLatin1StringView("Tzel")); i >= 0)
        name.remove(i, 4);
    if (const qsizetype i = name.indexOf(QLatin1StringView("Band")); i >= 0)
        name.remove(i, 4);
    return name;
}

int TzelBand::BandNumber() const
{
    const QString &name = ClassName();
    for (size_t i = 0; i < bandKinds.size(); ++i)
        if (name == bandKinds[i])
            return int(i);
    return 0;
}

bool TzelBand::HasFillOrFrame() const
{
    return !Fill().Equals(TzelBrushFill()) || FFrame.HasLines();
}

void TzelBand::CreateFillMemo()
{
    if (IsNullBand() || !HasFillOrFrame()) {
        DisposeFillMemo();
        return;
    }
    if (!FFillMemo) {
        auto *memo = new TzelMemoView(this);
        memo->Align = baHidden;
        moveToFront(memo);
        FFillMemo = memo;
    }
    FFillMemo->SetFill(Fill());
    FFillMemo->SetFrame(FFrame);
    FFillMemo->SetBounds(FillGap.Left, FillGap.Top, Width() - FillGap.Bottom, Height() - FillGap.Right);
}

void TzelBand::DisposeFillMemo()
{
    delete FFillMemo;
    FFillMemo = nullptr;
}

void TzelBand::ObjectsChanged(TzelComponent *child, bool added)
{
    if (!added && child == FFillMemo)
        FFillMemo = nullptr;
    TzelReportComponent::ObjectsChanged(child, added);
}

bool TzelBand::OnCharacterGrid() const
{
    const TzelPage *page = TzelPage::PageOf(this);
    return page && page->SnapsToCharacterCells();
}

void TzelBand::SetLeft(double value)
{
    TzelReportComponent::SetLeft(OnCharacterGrid() ? snap(value, qz1CharX) : value);
}

void TzelBand::SetTop(double value)
{
    TzelReportComponent::SetTop(OnCharacterGrid() ? snap(value, qz1CharY) : value);
}

void TzelBand::SetHeight(double value)
{
    TzelReportComponent::SetHeight(OnCharacterGrid() ? snap(value, qz1CharY) : value);
}

bool TzelBand::IsContain(double x, double y) const
{
    const double l = AbsLeft();
    const double t = AbsTop();
    // The caption strip the designer draws belongs to the band.
    double x0 = Vertical ? l - BandDesignHeader : l;
    double x1 = l + Width() + 2;
    double y0 = Vertical ? t : t - BandDesignHeader;
    double y1 = t + Height() + 1;
    if (Width() == 0) {
        x0 = l - 4;
        x1 = l + 4;
    } else if (Height() == 0) {
        y1 += 4;
        if (Vertical)
            y0 -= 4;
    }
    return x >= x0 && x <= x1 && y >= y0 && y <= y1;
}

TzelComponent *TzelBand::GetContainedComponent(double x, double y, TzelComponent *canContain)
{
    TzelComponent *found = TzelReportComponent::GetContainedComponent(x, y, canContain);
    if (!Vertical || found != this || !Parent())
        return found;
    // Horizontal bands under a vertical one come first: move this band out
    // of the way while the page answers.
    const double left = Left();
    TzelReportComponent::SetLeft(-10000);
    found = Parent()->GetContainedComponent(x, y, canContain);
    TzelReportComponent::SetLeft(left);
    if (dynamic_cast<TzelBand *>(found) || dynamic_cast<TzelPage *>(found))
        return this;
    return found;
}

void TzelBand::Publish(TzelPublisher<TzelBand> &p)
{
    using T = TzelBand;
    p.Prop("AllowMirrorMode", &TzelComponent::AllowMirrorMode).Default(false);
    p.Prop("FillType", &T::FillType, &T::SetFillType);
    p.Object("Fill", &T::Fill);
    p.Object("FillGap", &T::FillGap);
    p.Object("Frame", &T::Frame);
    p.Object("Font", &TzelComponent::Font).StoredIf(&T::IsFontStored);
    p.Prop("Height", &TzelComponent::Height, &TzelComponent::SetHeight);
    p.Prop("Left", &TzelComponent::Left, &TzelComponent::SetLeft);
    p.Prop("Top", &TzelComponent::Top, &TzelComponent::SetTop);
    p.Prop("Width", &TzelComponent::Width, &TzelComponent::SetWidth);
    p.Prop("ParentFont", &TzelComponent::ParentFont, &TzelComponent::SetParentFont).Default(true);
    p.Prop("Restrictions", &TzelComponent::Restrictions, &TzelComponent::SetRestrictions)
        .Default(TzelRestrictions{});
    p.Prop("Vertical", &T::Vertical).Default(false);
    p.Prop("Visible", &TzelComponent::Visible, &TzelComponent::SetVisible).Default(true);
    p.Event("OnAfterCalcHeight", &T::OnAfterCalcHeight);
    p.Event("OnAfterPrint", &TzelReportComponent::OnAfterPrint);
    p.Event("OnBeforePrint", &TzelReportComponent::OnBeforePrint);
}

TzelChild::TzelChild(TzelComponent *owner)
    : TzelBand(owner)
{
}

TzelChild::~TzelChild()
{
    for (TzelBand *b : std::as_const(FParents))
        b->FChild = nullptr;
}

void TzelChild::Publish(TzelPublisher<TzelChild> &p)
{
    using T = TzelChild;
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("StartNewPage", &TzelBand::StartNewPage).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
    p.Prop("ToNRows", &T::ToNRows);
    p.Prop("ToNRowsMode", &T::ToNRowsMode);
}
