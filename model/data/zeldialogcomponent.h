#pragma once
/// \file

#include "model/component/zelreportcomponent.h"

/// A non-visual component of a data or dialog page (data sets, databases). It
/// is a 28 x 28 box in the designer, never shown in the preview, and its
/// position travels as the integers pLeft and pTop in the property stream
/// instead of published bounds.
class TzelDialogComponent : public TzelReportComponent
{
    ZEL_CLASS(TzelDialogComponent, TzelReportComponent)

    /// Creates a component whose tree parent is Owner.
    explicit TzelDialogComponent(TzelComponent *owner = nullptr);
    ~TzelDialogComponent() override;

    /// Stores the position as pLeft and pTop (rounded Left and Top).
    void DefineProperties(TzelFiler &filer) override;
};
