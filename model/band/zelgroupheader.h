#pragma once
/// \file

#include "model/band/zelband.h"

/// Starts a group of rows: printed whenever its condition changes value.
class TzelGroupHeader : public TzelBand
{
    ZEL_CLASS(TzelGroupHeader, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelGroupHeader(TzelComponent *owner = nullptr) : TzelBand(owner) {}

    QString Condition;                  ///< the grouping expression
    bool DrillDown = false;             ///< the group can be folded in the preview
    bool ExpandDrillDown = false;       ///< folded groups start unfolded
    bool KeepTogether = false;          ///< the group is kept on one page
    bool ReprintOnNewPage = false;      ///< printed again on every page the group continues on
    bool ResetPageNumbers = false;      ///< page numbers restart with every group
    bool ShowFooterIfDrillDown = false; ///< the footer shows while the group is folded
    bool ShowChildIfDrillDown = false;  ///< the child band shows while the group is folded
    QString DrillName;                  ///< name of the fold state, for keeping it between builds
    Variant FLastValue;                 ///< the condition's value for the group being printed

    /// The band's differences, then DrillName when DrillDown.
    QString Diff(const TzelComponent *other) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelGroupHeader> &p);
};
