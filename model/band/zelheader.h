#pragma once
/// \file

#include "model/band/zelband.h"

/// The header of a data band, printed before its first row.
class TzelHeader : public TzelBand
{
    ZEL_CLASS(TzelHeader, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelHeader(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    bool ReprintOnNewPage = false; ///< printed again on every page its data band continues on

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelHeader> &p);
};
