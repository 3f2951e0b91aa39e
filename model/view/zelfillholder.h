#pragma once
/// \file

#include "model/view/zelcustomfill.h"

#include <memory>

/// The fill slot of an object that has a fill (views, highlights, bands,
/// styles): it always holds a fill, and follows the rules every owner shares:
/// a new kind replaces the fill with a fresh one, an assigned fill first
/// switches the kind and is then copied.
class TzelFillHolder
{
public:
    /// Holds a brush fill with its defaults.
    TzelFillHolder();
    /// Holds a copy of Other's fill.
    TzelFillHolder(const TzelFillHolder &other);
    /// Takes a copy of Other's fill.
    TzelFillHolder &operator=(const TzelFillHolder &other);
    ~TzelFillHolder();

    /// The kind of the fill held.
    TzelFillType FillType() const { return FFill->FillType(); }
    /// Replaces the fill by a new one of kind Value; nothing when the kind is unchanged.
    void SetFillType(TzelFillType value);
    /// The fill held.
    TzelCustomFill &Fill() { return *FFill; }
    /// Read-only access.
    const TzelCustomFill &Fill() const { return *FFill; }
    /// Switches to the kind of Value, then copies it.
    void SetFill(const TzelCustomFill &value);

    /// The colour the fill shows (TzelCustomFill::MainColor).
    int Color() const { return FFill->MainColor(); }
    /// Sets the brush back colour or the glass colour; ignored for gradients.
    void SetColor(int value) { FFill->SetMainColor(value); }
    /// The brush style of a brush fill; bsClear for other kinds.
    TzelBrushStyle BrushStyle() const;
    /// Sets the brush style of a brush fill; ignored for other kinds.
    void SetBrushStyle(TzelBrushStyle value);

private:
    std::unique_ptr<TzelCustomFill> FFill;
};
