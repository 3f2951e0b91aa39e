#pragma once
/// \file

#include "model/reflect/zelpersistent.h"

/// Insets, in report units, of the hidden text object that carries a band's
/// fill and frame.
class TzelFillGaps : public TzelPersistent
{
    ZEL_CLASS(TzelFillGaps, TzelPersistent)

    int Top = 0;    ///< inset from the band's top
    int Left = 0;   ///< inset from the band's left
    int Bottom = 0; ///< taken from the band's width
    int Right = 0;  ///< taken from the band's height

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelFillGaps> &p);
};
