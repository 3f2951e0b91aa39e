#pragma once
/// \file

#include "model/band/zelband.h"

/// The band printed at the top of every page column.
class TzelColumnHeader : public TzelBand
{
    ZEL_CLASS(TzelColumnHeader, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelColumnHeader(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelColumnHeader> &p);
};
