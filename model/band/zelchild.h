#pragma once
/// \file

#include "model/band/zelband.h"

/// A band printed right after the band that names it as its Child.
class TzelChild : public TzelBand
{
    ZEL_CLASS(TzelChild, TzelBand)

    /// Creates a child band whose tree parent is Owner.
    explicit TzelChild(TzelComponent *owner = nullptr);
    /// Makes every band that names this one as its child forget it.
    ~TzelChild() override;

    int ToNRows = 0;                    ///< number of rows the child prints
    TzelToNRowsMode ToNRowsMode = rmCount; ///< how ToNRows is counted

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelChild> &p);

private:
    friend class TzelBand;

    QList<TzelBand *> FParents; // bands whose Child is this one
};
