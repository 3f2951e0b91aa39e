#pragma once
/// \file

#include "model/view/zelcustommemoview.h"

/// The text object of templates: every text option is published.
class TzelMemoView : public TzelCustomMemoView
{
    ZEL_CLASS(TzelMemoView, TzelCustomMemoView)

    /// Creates a text object whose tree parent is Owner.
    explicit TzelMemoView(TzelComponent *owner = nullptr);

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelMemoView> &p);
};
