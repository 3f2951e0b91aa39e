#pragma once
/// \file

#include "model/view/zelcustomlineview.h"

/// The line object of templates: drawn with its frame's colour, style and
/// width, horizontal or vertical unless diagonal, with optional arrows.
class TzelLineView : public TzelCustomLineView
{
    ZEL_CLASS(TzelLineView, TzelCustomLineView)

    /// Creates a line whose tree parent is Owner.
    explicit TzelLineView(TzelComponent *owner = nullptr);

    /// 0 plain, 1 diagonal, 2 diagonal with an end arrow, 3 with a start
    /// arrow, 4 with both.
    void ApplyDesignFlags(int flags) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelLineView> &p);
};
