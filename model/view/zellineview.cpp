#include "model/view/zellineview.h"

TzelLineView::TzelLineView(TzelComponent *owner)
    : TzelCustomLineView(owner)
{
}

void TzelLineView::ApplyDesignFlags(int flags)
{
    Diagonal = flags >= 1 && flags <= 4;
    ArrowEnd = flags == 2 || flags == 4;
    ArrowStart = flags == 3 || flags == 4;
}

void TzelLineView::Publish(TzelPublisher<TzelLineView> &p)
{
    using T = TzelLineView;
    p.Prop("ArrowEnd", &T::ArrowEnd).Default(false);
    p.Prop("ArrowLength", &T::ArrowLength).Default(20);
    p.Prop("ArrowSolid", &T::ArrowSolid).Default(false);
    p.Prop("ArrowStart", &T::ArrowStart).Default(false);
    p.Prop("ArrowWidth", &T::ArrowWidth).Default(5);
    p.Object("Frame", &TzelView::Frame);
    p.Prop("Diagonal", &T::Diagonal).Default(false);
}
