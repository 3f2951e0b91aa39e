#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/view/zelcustomfill.h"

/// A fill that runs from a start colour to an end colour.
class TzelGradientFill : public TzelCustomFill
{
    ZEL_CLASS(TzelGradientFill, TzelCustomFill)

    int StartColor = clWhite;                     ///< colour where the gradient starts
    int EndColor = clBlack;                       ///< colour where it ends
    TzelGradientStyle GradientStyle = gsHorizontal; ///< direction

    TzelFillType FillType() const override { return ftGradient; }
    std::unique_ptr<TzelCustomFill> Clone() const override;
    void Assign(const TzelCustomFill &source) override;
    bool Equals(const TzelCustomFill &other) const override;
    void Diff(TzelDiffWriter &out, const TzelCustomFill &other) const override;
    /// The colour half way: each of red, green and blue at 127/255 of the way.
    int MainColor() const override;
    void SetMainColor(int) override {}

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelGradientFill> &p);
};
