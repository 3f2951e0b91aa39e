#include "model/view/zelcustomlineview.h"

#include "base/resources/zelresources.h"

TzelCustomLineView::TzelCustomLineView(TzelComponent *owner)
    : TzelStretcheable(owner)
{
    qzComponentStyle.Exclude(csDefaultDiff);
}

QString TzelCustomLineView::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obLine"));
}

void TzelCustomLineView::Publish(TzelPublisher<TzelCustomLineView> &p)
{
    // A line's colour is its brush fill's back colour, stored unlike the
    // colour of other views.
    p.Color("Color", &TzelView::Color, &TzelView::SetColor).Default(clNone);
    p.Prop("TagStr", &TzelView::TagStr);
}
