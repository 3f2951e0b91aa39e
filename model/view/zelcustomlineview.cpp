#include "model/view/zelcustomlineview.h"

#include "base/resources/zelresources.h"
#include "model/component/zeldiffwriter.h"

TzelCustomLineView::TzelCustomLineView(TzelComponent *owner)
    : TzelStretcheable(owner)
{
    qzComponentStyle.Exclude(csDefaultDiff);
}

QString TzelCustomLineView::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obLine"));
}

QString TzelCustomLineView::Diff(const TzelComponent *other)
{
    QString s = TzelStretcheable::Diff(other);
    const auto *o = dynamic_cast<const TzelCustomLineView *>(other);
    if (!o)
        return s;
    TzelDiffWriter d(s);
    d.Bool("Diagonal", Diagonal, o->Diagonal);
    d.Bool("ArrowEnd", ArrowEnd, o->ArrowEnd);
    d.Int("ArrowLength", ArrowLength, o->ArrowLength);
    d.Bool("ArrowSolid", ArrowSolid, o->ArrowSolid);
    d.Bool("ArrowStart", ArrowStart, o->ArrowStart);
    d.Int("ArrowWidth", ArrowWidth, o->ArrowWidth);
    // Lines publish no Fill, so the fill attributes above do not read back:
    // the colour also goes under the name lines do read.
    d.Int("Color", Color(), o->Color());
    return s;
}

void TzelCustomLineView::Publish(TzelPublisher<TzelCustomLineView> &p)
{
    // A line's colour is its brush fill's back colour, stored unlike the
    // colour of other views.
    p.Color("Color", &TzelView::Color, &TzelView::SetColor).Default(clNone);
    p.Prop("TagStr", &TzelView::TagStr);
}
