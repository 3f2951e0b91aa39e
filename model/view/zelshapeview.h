#pragma once
/// \file

#include "model/view/zelview.h"

/// A shape: rectangle, rounded rectangle, ellipse, triangle, diamond or a
/// diagonal, outlined by the frame and filled by the fill.
class TzelShapeView : public TzelView
{
    ZEL_CLASS(TzelShapeView, TzelView)

    /// Creates a shape whose tree parent is Owner.
    explicit TzelShapeView(TzelComponent *owner = nullptr);

    QString GetDescription() const override;

    int Curve = 0;                  ///< corner radius factor of rounded rectangles
    TzelShapeKind Shape = skRectangle; ///< the outline

    /// The shape is the flag (an ordinal of TzelShapeKind).
    void ApplyDesignFlags(int flags) override;
    /// The view's differences, then the outline.
    QString Diff(const TzelComponent *other) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelShapeView> &p);
};
