#pragma once
/// \file

#include "model/band/zelband.h"

/// The footer of a data band, printed after its last row.
class TzelFooter : public TzelBand
{
    ZEL_CLASS(TzelFooter, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelFooter(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelFooter> &p);
};
