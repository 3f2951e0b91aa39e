#pragma once

#include "model/view/zelstretcheable.h"

// A line. Width and Height give its extent; the colour fills solid arrows.
class TzelCustomLineView : public TzelStretcheable
{
    ZEL_CLASS(TzelCustomLineView, TzelStretcheable)

    /// Creates a line whose tree parent is Owner.
    explicit TzelCustomLineView(TzelComponent *owner = nullptr);

    QString GetDescription() const override;

    static void Publish(TzelPublisher<TzelCustomLineView> &p);
};
