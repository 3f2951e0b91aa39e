#pragma once
/// \file

#include "model/band/zeldataband.h"

/// The data band of level 1.
class TzelMasterData : public TzelDataBand
{
    ZEL_CLASS(TzelMasterData, TzelDataBand)

    /// Creates the band with tree parent Owner.
    explicit TzelMasterData(TzelComponent *owner = nullptr) : TzelDataBand(owner) {}
};
