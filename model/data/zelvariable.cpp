#include "model/data/zelvariable.h"

void TzelVariable::Publish(TzelPublisher<TzelVariable> &p)
{
    p.Prop("Name", &TzelVariable::Name);
    p.Prop("Value", &TzelVariable::Value);
}
