#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/view/zelcustomfill.h"

/// A fill in one colour with a lighter half that looks like glass.
class TzelGlassFill : public TzelCustomFill
{
    ZEL_CLASS(TzelGlassFill, TzelCustomFill)

    int Color = clGray;                          ///< base colour
    double Blend = 0.5;                          ///< strength of the lighter half, 0 to 1
    bool Hatch = false;                          ///< the lighter half is hatched
    TzelFillOrientation Orientation = foHorizontal; ///< where the lighter half lies

    TzelFillType FillType() const override { return ftGlass; }
    std::unique_ptr<TzelCustomFill> Clone() const override;
    void Assign(const TzelCustomFill &source) override;
    bool Equals(const TzelCustomFill &other) const override;
    void Diff(TzelDiffWriter &out, const TzelCustomFill &other) const override;
    int MainColor() const override { return Color; }
    void SetMainColor(int value) override { Color = value; }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelGlassFill> &p);
};
