#pragma once

#include "model/view/zelview.h"

// A view whose height may change while the report is built (text, lines).
class TzelStretcheable : public TzelView
{
    ZEL_CLASS(TzelStretcheable, TzelView)

    /// Creates a view whose tree parent is Owner.
    explicit TzelStretcheable(TzelComponent *owner = nullptr);

    bool CanShrink = false;                   ///< may become lower than designed
    TzelStretchMode StretchMode = smDontStretch; ///< how the height follows the content
    double FSaveHeight = 0;                   ///< height still to print while its band is split
    double FSavedTop = 0;                     ///< top before the current part of a split band

    static void Publish(TzelPublisher<TzelStretcheable> &p);
};
