#include "model/view/zelshapeview.h"

#include "base/resources/zelresources.h"
#include "model/component/zeldiffwriter.h"

TzelShapeView::TzelShapeView(TzelComponent *owner)
    : TzelView(owner)
{
    qzComponentStyle.Exclude(csDefaultDiff);
}

QString TzelShapeView::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obShape"));
}

void TzelShapeView::ApplyDesignFlags(int flags)
{
    if (flags >= 0 && flags < zelEnumInfo<TzelShapeKind>().Count())
        Shape = TzelShapeKind(flags);
}

QString TzelShapeView::Diff(const TzelComponent *other)
{
    QString s = TzelView::Diff(other);
    if (const auto *o = dynamic_cast<const TzelShapeView *>(other)) {
        TzelDiffWriter d(s);
        d.Enum("Shape", Shape, o->Shape);
    }
    return s;
}

void TzelShapeView::Publish(TzelPublisher<TzelShapeView> &p)
{
    using T = TzelShapeView;
    using V = TzelView;
    p.Color("Color", &V::Color, &V::SetColor).NotStored();
    p.Prop("Cursor", &V::Cursor).Default(0).Type("TCursor");
    p.Prop("Curve", &T::Curve).Default(0);
    p.Prop("FillType", &V::FillType, &V::SetFillType).Default(ftBrush);
    p.Object("Fill", &V::Fill);
    p.Object("Frame", &V::Frame);
    p.Prop("Shape", &T::Shape).Default(skRectangle);
    p.Prop("TagStr", &V::TagStr);
    p.Prop("URL", &V::URL, &V::SetURL).NotStored();
}
