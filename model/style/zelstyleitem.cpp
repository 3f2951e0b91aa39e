#include "model/style/zelstyleitem.h"

#include "base/core/zelexception.h"
#include "base/resources/zelresources.h"
#include "model/style/zelstyles.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelcustommemoview.h"

TzelStyleItem::TzelStyleItem() = default;

TzelStyleItem::TzelStyleItem(TzelStyles *collection)
    : FCollection(collection)
{
}

TzelStyleItem::~TzelStyleItem() = default;

void TzelStyleItem::SetName(const QString &value)
{
    if (FCollection)
        if (const TzelStyleItem *other = FCollection->Find(value); other && other != this)
            throw TzelException(zelResources().Get(QStringLiteral("clDupName")));
    FName = value;
}

void TzelStyleItem::CreateUniqueName()
{
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Style") + QString::number(n);
        if (!FCollection || !FCollection->Find(name)) {
            FName = name;
            return;
        }
    }
}

QString TzelStyleItem::InheritedName() const
{
    // Styles keep no unique index of their own, so the generic name has index 0.
    return FName.isEmpty() ? QStringLiteral("zelUIN0") : FName;
}

int TzelStyleItem::Color() const
{
    // A glass fill has no colour a style could hand on.
    return FFill.FillType() == ftGlass ? clNone : FFill.Color();
}

void TzelStyleItem::SetColor(int value)
{
    if (auto *brush = dynamic_cast<TzelBrushFill *>(&FFill.Fill()))
        brush->BackColor = value;
}

void TzelStyleItem::Assign(const TzelStyleItem &source)
{
    if (&source == this)
        return;
    SetName(source.FName);
    FFill = source.FFill;
    FFont = source.FFont;
    FFrame = source.FFrame;
    ApplyFont = source.ApplyFont;
    ApplyFill = source.ApplyFill;
    ApplyFrame = source.ApplyFrame;
    IsInherited = source.IsInherited;
}

void TzelStyleItem::ApplyTo(TzelCustomMemoView &memo) const
{
    if (ApplyFill)
        memo.SetFill(Fill());
    if (ApplyFont)
        memo.SetFont(FFont);
    if (ApplyFrame)
        memo.SetFrame(FFrame);
}

void TzelStyleItem::Publish(TzelPublisher<TzelStyleItem> &p)
{
    using T = TzelStyleItem;
    p.Prop("Name", &T::Name, &T::SetName);
    p.Color("Color", &T::Color, &T::SetColor).NotStored();
    p.Object("Font", &T::Font);
    p.Object("Frame", &T::Frame);
    p.Prop("ApplyFont", &T::ApplyFont).Default(true);
    p.Prop("ApplyFill", &T::ApplyFill).Default(true);
    p.Prop("ApplyFrame", &T::ApplyFrame).Default(true);
    p.Prop("FillType", &T::FillType, &T::SetFillType).Default(ftBrush);
    p.Object("Fill", &T::Fill);
}
