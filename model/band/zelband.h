#pragma once
/// \file

#include "model/band/zelbandtypes.h"
#include "model/band/zelfillgaps.h"
#include "model/component/zelreportcomponent.h"
#include "model/view/zelfillholder.h"
#include "model/view/zelframe.h"

#include <QList>

class TzelChild;
class TzelMemoView;

/// The base of every band: a horizontal (or vertical) strip of a report page
/// that carries views. The band's class says what kind of band it is; each
/// kind publishes the subset of the band state below that it uses.
class TzelBand : public TzelReportComponent
{
    ZEL_CLASS(TzelBand, TzelReportComponent)

    /// Creates a band whose tree parent is Owner.
    explicit TzelBand(TzelComponent *owner = nullptr);
    ~TzelBand() override;

    // Published by every band.
    /// The kind of fill; a new kind replaces the fill by a fresh one.
    TzelFillType FillType() const { return FFill.FillType(); }
    /// Sets FillType.
    void SetFillType(TzelFillType value) { FFill.SetFillType(value); }
    /// The fill.
    TzelCustomFill &Fill() { return FFill.Fill(); }
    /// Read-only access.
    const TzelCustomFill &Fill() const { return FFill.Fill(); }
    /// Switches to Value's kind and copies it.
    void SetFill(const TzelCustomFill &value) { FFill.SetFill(value); }
    TzelFillGaps FillGap;      ///< insets of the hidden fill memo
    /// The frame.
    TzelFrame &Frame() { return FFrame; }
    /// Read-only access.
    const TzelFrame &Frame() const { return FFrame; }
    /// Copies Value into the frame.
    void SetFrame(const TzelFrame &value) { FFrame = value; }
    bool Vertical = false;     ///< the band runs down the page instead of across
    QString OnAfterCalcHeight; ///< script procedure: after the engine measured the band

    // Published by the band kinds that use it.
    bool AllowSplit = false;            ///< may be split across pages
    /// The child band printed after this one, or nullptr.
    TzelChild *Child() const { return FChild; }
    /// Raises "Circular child reference is not allowed" when the chain of
    /// children from Value reaches this band; the old child stays then.
    void SetChild(TzelChild *value);
    bool KeepChild = false;             ///< kept on one page with its child
    QString OutlineText;                ///< expression for the preview outline
    bool PrintChildIfInvisible = false; ///< the child prints while this band is hidden
    bool StartNewPage = false;          ///< starts a new page before printing
    bool Stretched = false;             ///< grows with its content
    TzelShiftMethod ShiftEngine = seTree; ///< how stretched objects shift the others

    // Run-time state.
    /// Set by the engine when the band did not fit.
    bool Overflow = false;
    int FLineN = 0;              ///< the band's row within its data band
    int FLineThrough = 0;        ///< the band's row counted through the report
    bool FHasVBands = false;     ///< vertical bands print across this band
    double FStretchedHeight = 0; ///< the height after the last stretch
    // Links the engine makes before every build.
    /// A data band's data bands of the next level; a first group header's
    /// chain of group headers, outermost first.
    QList<TzelBand *> FSubBands;
    TzelBand *FHeader = nullptr; ///< a data band's header
    TzelBand *FFooter = nullptr; ///< a data band's footer, a group header's group footer
    TzelBand *FGroup = nullptr;  ///< a data band's outermost group header
    /// Height of the caption strip the designer draws above the band (left
    /// of it for a vertical band).
    double BandDesignHeader = 0;
    /// The class name without "Tzel" and "Band".
    QString BandName() const;
    /// The kind number the designer and the inspector use: the place of the
    /// class in the list of band kinds, 0 for a class not in it.
    int BandNumber() const;

    /// Whether the band paints anything of its own: a fill other than the
    /// empty brush, or frame lines.
    bool HasFillOrFrame() const;
    /// Gives the band (unless it is a null band or paints nothing) a hidden
    /// text object as its first child that carries its fill and frame, and
    /// places it inside the fill gaps.
    void CreateFillMemo();
    /// Frees the text object made by CreateFillMemo.
    void DisposeFillMemo();
    /// The text object made by CreateFillMemo, or nullptr.
    TzelMemoView *FillMemo() const { return FFillMemo; }

    void SetLeft(double value) override;
    void SetTop(double value) override;
    void SetHeight(double value) override;

    /// The band with its caption strip, and a margin for thin bands.
    bool IsContain(double x, double y) const override;
    /// A vertical band lets the horizontal bands under it answer first.
    TzelComponent *GetContainedComponent(double x, double y, TzelComponent *canContain = nullptr) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelBand> &p);

protected:
    bool DiffAlwaysWritesTop() const override { return true; }
    bool MirrorsAsBand() const override { return true; }
    void ObjectsChanged(TzelComponent *child, bool added) override;

private:
    friend class TzelChild;

    bool IsFontStored() const { return !ParentFont(); }
    bool OnCharacterGrid() const;

    TzelFillHolder FFill;
    TzelFrame FFrame;
    TzelChild *FChild = nullptr;
    TzelMemoView *FFillMemo = nullptr;
};
