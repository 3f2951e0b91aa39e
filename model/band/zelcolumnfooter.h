#pragma once
/// \file

#include "model/band/zelband.h"

/// The band printed at the bottom of every page column.
class TzelColumnFooter : public TzelBand
{
    ZEL_CLASS(TzelColumnFooter, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelColumnFooter(TzelComponent *owner = nullptr) : TzelBand(owner) {}
};
