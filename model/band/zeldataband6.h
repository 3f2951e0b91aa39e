#pragma once
/// \file

#include "model/band/zeldataband.h"

/// The data band of level 6.
class TzelDataBand6 : public TzelDataBand
{
    ZEL_CLASS(TzelDataBand6, TzelDataBand)

    /// Creates the band with tree parent Owner.
    explicit TzelDataBand6(TzelComponent *owner = nullptr) : TzelDataBand(owner) {}
};
