#pragma once
/// \file

#include "model/view/zelview.h"

/// A view whose height may change while the report is built (text, lines).
class TzelStretcheable : public TzelView
{
    ZEL_CLASS(TzelStretcheable, TzelView)

    /// Creates a view whose tree parent is Owner.
    explicit TzelStretcheable(TzelComponent *owner = nullptr);

    bool CanShrink = false;                   ///< may become lower than designed
    TzelStretchMode StretchMode = smDontStretch; ///< how the height follows the content
    double FSaveHeight = 0;                   ///< height still to print while its band is split
    double FSavedTop = 0;                     ///< top before the current part of a split band

    /// The height the content needs; a view without content to measure keeps its height.
    virtual double CalcHeight() const { return Height(); }
    /// Prepares printing in parts across pages (FSaveHeight is the whole height).
    virtual void InitPart() {}
    /// Prints the part that fits the current height and returns the height
    /// left unused at its bottom, the full height when nothing fits. A view
    /// without content splits anywhere: nothing is left unused.
    virtual double DrawPart() { return 0; }
    /// Whether something remains to print below FreeSpace.
    virtual bool HasNextDataPart(double freeSpace) const { return freeSpace < Top() + FSaveHeight; }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelStretcheable> &p);
};
