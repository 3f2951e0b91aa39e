#pragma once
/// \file

#include "model/band/zelband.h"

/// A band of no kind, made by the engine to hold the objects placed directly
/// on a page. The designer never offers it.
class TzelNullBand : public TzelBand
{
    ZEL_CLASS(TzelNullBand, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelNullBand(TzelComponent *owner = nullptr) : TzelBand(owner) {}

protected:
    bool IsNullBand() const override { return true; }
};
