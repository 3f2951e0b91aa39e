#pragma once
/// \file

#include "model/band/zeldataband.h"

/// The data band of level 5.
class TzelDataBand5 : public TzelDataBand
{
    ZEL_CLASS(TzelDataBand5, TzelDataBand)

    /// Creates the band with tree parent Owner.
    explicit TzelDataBand5(TzelComponent *owner = nullptr) : TzelDataBand(owner) {}
};
