#pragma once
/// \file

#include "model/reflect/zelpersistent.h"
#include "model/view/zelviewtypes.h"

#include <memory>

class TzelDiffWriter;

/// The base of the fills that paint an object's background. The kind of a
/// fill is its FillType; owners replace the fill when the kind changes.
class TzelCustomFill : public TzelPersistent
{
    ZEL_CLASS(TzelCustomFill, TzelPersistent)

    /// The kind of this fill.
    virtual TzelFillType FillType() const = 0;
    /// A new fill of the same kind and values.
    virtual std::unique_ptr<TzelCustomFill> Clone() const = 0;
    /// Copies the values of Source when it is of the same kind.
    virtual void Assign(const TzelCustomFill &source) = 0;
    /// Whether Other is of the same kind with the same values.
    virtual bool Equals(const TzelCustomFill &other) const = 0;

    /// The colour the object shows: a brush's back colour, a gradient's
    /// middle colour, a glass fill's colour.
    virtual int MainColor() const = 0;
    /// Sets the brush's back colour or the glass colour; gradients ignore it.
    virtual void SetMainColor(int value) = 0;

    /// Writes the attributes that differ from Other; every attribute when
    /// Other is of another kind.
    virtual void Diff(TzelDiffWriter &out, const TzelCustomFill &other) const = 0;

    /// A new fill of kind Type with its defaults.
    static std::unique_ptr<TzelCustomFill> Create(TzelFillType type);
};
