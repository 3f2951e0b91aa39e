#pragma once
/// \file

#include "model/band/zelband.h"

/// Ends a group of rows.
class TzelGroupFooter : public TzelBand
{
    ZEL_CLASS(TzelGroupFooter, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelGroupFooter(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    bool HideIfSingleDataRecord = false; ///< not printed for a group of one row

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelGroupFooter> &p);
};
