#pragma once
/// \file

#include "model/band/zeldataband.h"

/// The data band of level 3.
class TzelSubdetailData : public TzelDataBand
{
    ZEL_CLASS(TzelSubdetailData, TzelDataBand)

    /// Creates the band with tree parent Owner.
    explicit TzelSubdetailData(TzelComponent *owner = nullptr) : TzelDataBand(owner) {}
};
