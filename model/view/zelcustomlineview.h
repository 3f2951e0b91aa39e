#pragma once
/// \file

#include "model/view/zelstretcheable.h"

/// A line. Width and Height give its extent; the colour fills solid arrows.
class TzelCustomLineView : public TzelStretcheable
{
    ZEL_CLASS(TzelCustomLineView, TzelStretcheable)

    /// Creates a line whose tree parent is Owner.
    explicit TzelCustomLineView(TzelComponent *owner = nullptr);

    QString GetDescription() const override;

    // Published by the line classes that use them.
    bool ArrowEnd = false;   ///< an arrow head at the end
    int ArrowLength = 20;    ///< length of an arrow head
    bool ArrowSolid = false; ///< arrow heads are filled with the colour
    bool ArrowStart = false; ///< an arrow head at the start
    int ArrowWidth = 5;      ///< half width of an arrow head
    bool Diagonal = false;   ///< runs from corner to corner

    /// The view's differences, then the direction and the arrows.
    QString Diff(const TzelComponent *other) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelCustomLineView> &p);
};
