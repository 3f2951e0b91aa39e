#include "model/view/zelmemoview.h"

TzelMemoView::TzelMemoView(TzelComponent *owner)
    : TzelCustomMemoView(owner)
{
}

void TzelMemoView::Publish(TzelPublisher<TzelMemoView> &p)
{
    using T = TzelMemoView;
    using C = TzelComponent;
    using V = TzelView;
    p.Prop("AutoWidth", &T::AutoWidth).Default(false);
    p.Prop("AllowExpressions", &T::AllowExpressions).Default(true);
    p.Prop("AllowHTMLTags", &T::AllowHTMLTags).Default(false);
    p.Prop("BrushStyle", &V::BrushStyle, &V::SetBrushStyle).NotStored();
    p.Prop("CharSpacing", &T::CharSpacing).StoredIf(&T::IsCharSpacingStored);
    p.Prop("Clipped", &T::Clipped).Default(true);
    p.Color("Color", &V::Color, &V::SetColor).NotStored();
    p.Prop("DataField", &V::DataField);
    zelPublishDataSetLink(p, &T::FDataSet);
    p.Object("DisplayFormat", &T::DisplayFormat).StoredIf(&T::IsDisplayFormatStored);
    p.Prop("ExpressionDelimiters", &T::ExpressionDelimiters).StoredIf(&T::IsExpressionDelimitersStored);
    p.Ref("FlowTo", &T::FlowTo, &T::SetFlowTo);
    p.Object("Font", &C::Font).StoredIf(&T::IsFontStored);
    p.Object("Frame", &V::Frame);
    p.Prop("FillType", &V::FillType, &V::SetFillType).Default(ftBrush);
    p.Object("Fill", &V::Fill);
    p.Prop("GapX", &T::GapX).StoredIf(&T::IsGapXStored);
    p.Prop("GapY", &T::GapY).StoredIf(&T::IsGapYStored);
    p.Prop("HAlign", &T::HAlign).Default(haLeft);
    p.Prop("HideZeros", &T::HideZeros).Default(false);
    p.Object("Highlight", &T::Highlight).StoredIf(&T::IsHighlightStored);
    p.Prop("LineSpacing", &T::LineSpacing).StoredIf(&T::IsLineSpacingStored);
    p.Prop("Memo", &T::Memo).NotStored();
    p.Prop("ParagraphGap", &T::ParagraphGap).StoredIf(&T::IsParagraphGapStored);
    p.Prop("ParentFont", &C::ParentFont, &C::SetParentFont).Default(true);
    p.Object("Processing", &V::Processing);
    p.Prop("Rotation", &T::Rotation, &T::SetRotation).Default(0);
    p.Prop("RTLReading", &T::RTLReading).Default(false);
    p.Prop("Style", &T::Style, &T::SetStyle);
    p.Prop("SuppressRepeated", &T::SuppressRepeated).Default(false);
    p.Prop("Duplicates", &T::Duplicates).Default(dmShow);
    p.Prop("Underlines", &T::Underlines, &T::SetUnderlines).Default(false);
    p.Prop("UnderlinesTextMode", &T::UnderlinesTextMode).Default(ulmNone);
    p.Prop("UseDefaultCharset", &T::UseDefaultCharset).Default(false);
    p.Prop("WordBreak", &T::WordBreak).Default(false);
    p.Prop("WordWrap", &T::WordWrap).Default(true);
    p.Prop("Wysiwyg", &T::Wysiwyg).Default(true);
    p.Prop("VAlign", &T::VAlign).Default(vaTop);
}
