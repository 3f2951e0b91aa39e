#pragma once
/// \file

#include "model/component/zelreportcomponent.h"
#include "model/data/zeldatasetlink.h"
#include "model/view/zelfillholder.h"
#include "model/view/zelframe.h"
#include "model/view/zelhyperlink.h"
#include "model/view/zelobjectprocessing.h"
#include "model/view/zelviewtypes.h"

#include <QString>

class TzelBand;
class TzelDataSet;

/// The base of every visible object a template places on bands: text,
/// lines, pictures, shapes, subreports. It keeps what they share: alignment,
/// visibility, a hyperlink, script events, and the frame, fill, data set and
/// processing state that the subclasses publish as they need them.
class TzelView : public TzelReportComponent
{
    ZEL_CLASS(TzelView, TzelReportComponent)

    /// Creates a view whose tree parent is Owner.
    explicit TzelView(TzelComponent *owner = nullptr);
    ~TzelView() override;

    /// Creates a view for the designer and applies its creation Flags.
    template <class T>
    static T *DesignCreate(TzelComponent *owner, int flags = 0)
    {
        T *view = TzelComponent::DesignCreate<T>(owner);
        view->ApplyDesignFlags(flags);
        return view;
    }
    /// Applies the flags of the designer's object bar (nothing here).
    virtual void ApplyDesignFlags(int) {}
    /// The name of the kind of object, as the designer shows it.
    virtual QString GetDescription() const { return ClassName(); }

    // Published by every view.
    TzelAlign Align = baNone;       ///< how the view aligns itself inside its parent
    bool AllowVectorExport = true;  ///< exports may write the view as vector graphics
    TzelShiftMode ShiftMode = smAlways; ///< how it moves when an object above grows
    QString OnMouseEnter;           ///< script procedure: the mouse enters the view in the preview
    QString OnMouseLeave;           ///< script procedure: the mouse leaves it
    QString OnMouseDown;            ///< script procedure: a button goes down over it
    QString OnMouseMove;            ///< script procedure: the mouse moves over it
    QString OnMouseUp;              ///< script procedure: a button goes up over it
    QString Hint;                   ///< tip shown in the preview
    bool ShowHint = false;          ///< the tip is shown
    TzelVisibilityTypes Visibility{vsPreview, vsExport, vsPrint}; ///< where the view appears
    /// While a report builds: the horizontal band a vertical band took this
    /// view from, or nullptr.
    TzelBand *OriginalBand = nullptr;

    /// Whether the view is printed (vsPrint in Visibility).
    bool Printable() const { return Visibility.Contains(vsPrint); }
    /// Sets Printable.
    void SetPrintable(bool value);
    /// Where a click in the preview leads.
    TzelHyperlink &Hyperlink() { return FHyperlink; }
    /// Read-only access.
    const TzelHyperlink &Hyperlink() const { return FHyperlink; }
    /// The hyperlink as one text: "#" and an anchor, "@" and a page number,
    /// or an address. Setting it sets the hyperlink's kind and value.
    QString URL() const;
    /// Sets URL.
    void SetURL(const QString &value);

    // Published by the subclasses that use them.
    /// The frame.
    TzelFrame &Frame() { return FFrame; }
    /// Read-only access.
    const TzelFrame &Frame() const { return FFrame; }
    /// Copies Value into the frame.
    void SetFrame(const TzelFrame &value) { FFrame = value; }
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
    /// The fill's colour: brush back colour, gradient middle colour, glass colour.
    int Color() const { return FFill.Color(); }
    /// Sets the brush back colour or the glass colour; ignored for gradients.
    void SetColor(int value) { FFill.SetColor(value); }
    /// The brush fill's style; bsClear for other fills.
    TzelBrushStyle BrushStyle() const { return FFill.BrushStyle(); }
    /// Sets BrushStyle.
    void SetBrushStyle(TzelBrushStyle value) { FFill.SetBrushStyle(value); }
    /// The data set the view shows a field of, or nullptr (also once it was freed).
    TzelDataSet *DataSet() const { return FDataSet.DataSet(); }
    /// Refers to Value and takes its user name as DataSetName.
    void SetDataSet(TzelDataSet *value) { FDataSet.SetDataSet(value); }
    /// The data set's user name, or the name given while none is found.
    QString DataSetName() const { return FDataSet.Name(); }
    /// Looks the data set up by name (zelFindDataSet); empty clears it.
    void SetDataSetName(const QString &value) { FDataSet.SetName(this, value); }
    QString DataField;              ///< the field shown
    /// When the content is computed.
    TzelObjectProcessing &Processing() { return FProcessing; }
    /// Read-only access.
    const TzelObjectProcessing &Processing() const { return FProcessing; }
    int Cursor = 0;                 ///< mouse cursor over the view in the preview
    QString TagStr;                 ///< free text for the user

    /// Whether a data set and a field are set.
    bool IsDataField() const { return DataSet() && !DataField.isEmpty(); }
    /// The frame's shadow width when it drops a shadow, else 0.
    double ShadowSize() const { return FFrame.ShadowSize(); }
    TzelAlign AlignMode() const override { return Align; }
    /// Also saves TagStr and the hyperlink and makes the view the script's Self.
    void BeforePrint() override;
    /// Fills bracketed expressions into TagStr and the hyperlink's values,
    /// and evaluates the hyperlink's Expression into its Value.
    void GetData() override;
    /// Also gives TagStr and the hyperlink back.
    void AfterPrint() override;
    /// The component's differences, then alignment, frame, cursor,
    /// visibility, TagStr, fill and hyperlink.
    QString Diff(const TzelComponent *other) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelView> &p);

protected:
    /// Published by the subclasses that use a data set.
    TzelDataSetLink FDataSet;

private:
    TzelHyperlink FHyperlink;
    TzelHyperlink FTempHyperlink; // the design hyperlink while the engine works on the view
    QString FTempTag;
    TzelFrame FFrame;
    TzelFillHolder FFill;
    TzelObjectProcessing FProcessing;
};
