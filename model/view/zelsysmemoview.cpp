#include "model/view/zelsysmemoview.h"

#include "base/resources/zelresources.h"

TzelSysMemoView::TzelSysMemoView(TzelComponent *owner)
    : TzelCustomMemoView(owner)
{
}

QString TzelSysMemoView::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obSysText"));
}

void TzelSysMemoView::Publish(TzelPublisher<TzelSysMemoView> &p)
{
    using T = TzelSysMemoView;
    using C = TzelComponent;
    using V = TzelView;
    p.Prop("AutoWidth", &T::AutoWidth).Default(false);
    p.Prop("CharSpacing", &T::CharSpacing).StoredIf(&T::IsCharSpacingStored);
    p.Color("Color", &V::Color, &V::SetColor).NotStored();
    p.Object("DisplayFormat", &T::DisplayFormat).StoredIf(&T::IsDisplayFormatStored);
    p.Object("Font", &C::Font).StoredIf(&T::IsFontStored);
    p.Object("Frame", &V::Frame);
    p.Prop("FillType", &V::FillType, &V::SetFillType).Default(ftBrush);
    p.Object("Fill", &V::Fill);
    p.Prop("GapX", &T::GapX).StoredIf(&T::IsGapXStored);
    p.Prop("GapY", &T::GapY).StoredIf(&T::IsGapYStored);
    p.Prop("HAlign", &T::HAlign).Default(haLeft);
    p.Prop("HideZeros", &T::HideZeros).Default(false);
    p.Object("Highlight", &T::Highlight).StoredIf(&T::IsHighlightStored);
    p.Prop("Memo", &T::Memo).NotStored();
    p.Prop("ParentFont", &C::ParentFont, &C::SetParentFont).Default(true);
    p.Object("Processing", &V::Processing);
    p.Prop("Rotation", &T::Rotation, &T::SetRotation).Default(0);
    p.Prop("RTLReading", &T::RTLReading).Default(false);
    p.Prop("Style", &T::Style, &T::SetStyle);
    p.Prop("SuppressRepeated", &T::SuppressRepeated).Default(false);
    p.Prop("Duplicates", &T::Duplicates).Default(dmShow);
    p.Prop("VAlign", &T::VAlign).Default(vaTop);
    p.Prop("WordWrap", &T::WordWrap).Default(true);
}
