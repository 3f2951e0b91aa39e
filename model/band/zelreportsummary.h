#pragma once
/// \file

#include "model/band/zelband.h"

/// The band printed once at the end of the report.
class TzelReportSummary : public TzelBand
{
    ZEL_CLASS(TzelReportSummary, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelReportSummary(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    bool PrintAtBottom = false; ///< printed at the bottom of the last page

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelReportSummary> &p);
};
