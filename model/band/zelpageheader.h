#pragma once
/// \file

#include "model/band/zelband.h"

/// The band printed at the top of every page.
class TzelPageHeader : public TzelBand
{
    ZEL_CLASS(TzelPageHeader, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelPageHeader(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    bool PrintOnFirstPage = true; ///< printed on the first page too

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelPageHeader> &p);
};
