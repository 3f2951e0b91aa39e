#pragma once
/// \file

#include "model/view/zelcustommemoview.h"

/// System text: a text object for page numbers, dates and totals, with a
/// shorter list of published options.
class TzelSysMemoView : public TzelCustomMemoView
{
    ZEL_CLASS(TzelSysMemoView, TzelCustomMemoView)

    /// Creates a system text object whose tree parent is Owner.
    explicit TzelSysMemoView(TzelComponent *owner = nullptr);

    QString GetDescription() const override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelSysMemoView> &p);
};
