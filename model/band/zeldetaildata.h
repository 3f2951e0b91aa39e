#pragma once
/// \file

#include "model/band/zeldataband.h"

/// The data band of level 2, printed for every row of a master band.
class TzelDetailData : public TzelDataBand
{
    ZEL_CLASS(TzelDetailData, TzelDataBand)

    /// Creates the band with tree parent Owner.
    explicit TzelDetailData(TzelComponent *owner = nullptr) : TzelDataBand(owner) {}
};
