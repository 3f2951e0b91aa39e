#include "model/view/zelstretcheable.h"

TzelStretcheable::TzelStretcheable(TzelComponent *owner)
    : TzelView(owner)
{
}

void TzelStretcheable::Publish(TzelPublisher<TzelStretcheable> &p)
{
    p.Prop("CanShrink", &TzelStretcheable::CanShrink).Default(false);
    p.Prop("StretchMode", &TzelStretcheable::StretchMode).Default(smDontStretch);
}
