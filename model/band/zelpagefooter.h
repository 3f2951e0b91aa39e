#pragma once
/// \file

#include "model/band/zelband.h"

/// The band printed at the bottom of every page.
class TzelPageFooter : public TzelBand
{
    ZEL_CLASS(TzelPageFooter, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelPageFooter(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    bool PrintOnFirstPage = true;   ///< printed on the first page
    bool PrintOnLastPage = true;    ///< printed on the last page
    bool PrintOnSinglePage = false; ///< printed when the report has one page only

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelPageFooter> &p);
};
