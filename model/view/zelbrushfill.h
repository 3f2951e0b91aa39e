#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/view/zelcustomfill.h"

/// A plain fill: a back colour and a brush pattern drawn in the fore colour.
class TzelBrushFill : public TzelCustomFill
{
    ZEL_CLASS(TzelBrushFill, TzelCustomFill)

    int BackColor = clNone;        ///< colour behind the pattern
    int ForeColor = clBlack;       ///< colour of the pattern
    TzelBrushStyle Style = bsSolid; ///< the pattern

    TzelFillType FillType() const override { return ftBrush; }
    std::unique_ptr<TzelCustomFill> Clone() const override;
    void Assign(const TzelCustomFill &source) override;
    bool Equals(const TzelCustomFill &other) const override;
    void Diff(TzelDiffWriter &out, const TzelCustomFill &other) const override;
    int MainColor() const override { return BackColor; }
    void SetMainColor(int value) override { BackColor = value; }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelBrushFill> &p);
};
