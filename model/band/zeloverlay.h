#pragma once
/// \file

#include "model/band/zelband.h"

/// A band printed over (or under) the whole page, at its own place.
class TzelOverlay : public TzelBand
{
    ZEL_CLASS(TzelOverlay, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelOverlay(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    bool PrintOnTop = false; ///< drawn over the page's other bands instead of under them

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelOverlay> &p);
};
