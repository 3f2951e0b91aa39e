#pragma once
/// \file

#include "model/band/zeldataband.h"

/// The data band of level 4.
class TzelDataBand4 : public TzelDataBand
{
    ZEL_CLASS(TzelDataBand4, TzelDataBand)

    /// Creates the band with tree parent Owner.
    explicit TzelDataBand4(TzelComponent *owner = nullptr) : TzelDataBand(owner) {}
};
