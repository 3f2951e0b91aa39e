#pragma once
/// \file

#include "model/page/zelpage.h"

/// The page that holds a report's data sets, databases and other non-visual
/// components; it is not printed.
class TzelDataPage : public TzelPage
{
    ZEL_CLASS(TzelDataPage, TzelPage)

    /// Creates a 1000 x 1000 data page whose tree parent is Owner.
    explicit TzelDataPage(TzelComponent *owner = nullptr);

    bool IsSupportsGuidlines() const override { return false; }
    /// "Data page".
    QString GetDescription() const override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelDataPage> &p);
};
