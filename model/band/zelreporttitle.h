#pragma once
/// \file

#include "model/band/zelband.h"

/// The band printed once at the start of the report.
class TzelReportTitle : public TzelBand
{
    ZEL_CLASS(TzelReportTitle, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelReportTitle(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelReportTitle> &p);
};
