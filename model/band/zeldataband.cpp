#include "model/band/zeldataband.h"

#include "model/band/zelchild.h"
#include "model/data/zelfinddataset.h"
#include "model/data/zeluserdataset.h"

TzelDataBand::TzelDataBand(TzelComponent *owner)
    : TzelBand(owner), FVirtualDataSet(std::make_unique<TzelUserDataSet>())
{
    FVirtualDataSet->RangeEnd = reCount;
    FVirtualDataSet->Enabled = false;
}

TzelDataBand::~TzelDataBand() = default;

TzelDataSet *TzelDataBand::RowSource() const
{
    if (TzelDataSet *ds = DataSet())
        return ds;
    return FRowCount > 0 ? FVirtualDataSet.get() : nullptr;
}

void TzelDataBand::SetRowCount(int value)
{
    FRowCount = value;
    FVirtualDataSet->RangeEndCount = value;
}

void TzelDataBand::SetCurColumn(int value)
{
    if (value < 1 || value > Columns)
        value = 1;
    FCurColumn = value;
    if (FCurColumn == 1)
        MaxY = 0;
    SetLeft((ColumnWidth + ColumnGap) * (FCurColumn - 1));
}

void TzelDataBand::Publish(TzelPublisher<TzelDataBand> &p)
{
    using T = TzelDataBand;
    p.Prop("AllowSplit", &TzelBand::AllowSplit).Default(false);
    p.Ref("Child", &TzelBand::Child, &TzelBand::SetChild);
    p.Prop("Columns", &T::Columns).Default(0);
    p.Prop("ColumnWidth", &T::ColumnWidth);
    p.Prop("ColumnGap", &T::ColumnGap);
    zelPublishDataSetLink(p, &T::FDataSet);
    p.Prop("FooterAfterEach", &T::FooterAfterEach).Default(false);
    p.Prop("Filter", &T::Filter);
    p.Prop("KeepChild", &TzelBand::KeepChild).Default(false);
    p.Prop("KeepFooter", &T::KeepFooter).Default(false);
    p.Prop("KeepHeader", &T::KeepHeader).Default(false);
    p.Prop("KeepTogether", &T::KeepTogether).Default(false);
    p.Prop("OutlineText", &TzelBand::OutlineText);
    p.Prop("PrintChildIfInvisible", &TzelBand::PrintChildIfInvisible).Default(false);
    p.Prop("PrintIfDetailEmpty", &T::PrintIfDetailEmpty).Default(false);
    p.Prop("RowCount", &T::RowCount, &T::SetRowCount);
    p.Prop("StartNewPage", &TzelBand::StartNewPage).Default(false);
    p.Prop("Stretched", &TzelBand::Stretched).Default(false);
    p.Prop("ShiftEngine", &TzelBand::ShiftEngine).Default(seTree);
    p.Event("OnMasterDetail", &T::OnMasterDetail);
}
