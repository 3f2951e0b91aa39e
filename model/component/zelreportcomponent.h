#pragma once
/// \file

#include "model/component/zelcomponent.h"

#include <functional>

/// A printable object: script events around printing, a description, and the
/// bounds saved while the engine works on it.
class TzelReportComponent : public TzelComponent
{
    ZEL_CLASS(TzelReportComponent, TzelComponent)

    /// Creates a report component whose tree parent is Owner.
    explicit TzelReportComponent(TzelComponent *owner = nullptr);
    ~TzelReportComponent() override;

    QString Description;     ///< free description for the designer
    int IndexTag = 0;        ///< user index; stored only when greater than 0
    QString OnAfterData;     ///< script procedure: after the data is taken
    QString OnAfterPrint;    ///< script procedure: after printing
    QString OnBeforePrint;   ///< script procedure: before printing
    QString OnPreviewClick;  ///< script procedure: click in the preview
    QString OnPreviewDblClick; ///< script procedure: double click in the preview
    QString OnContentChanged;  ///< script procedure: edited in place
    TzelPrintOnTypes PrintOn;  ///< pages the object is printed on

    /// Saves the bounds before the engine changes them.
    virtual void BeforePrint();
    /// Restores the bounds saved by BeforePrint.
    virtual void AfterPrint();
    /// Takes the data the object shows (nothing here).
    virtual void GetData() {}
    /// The text the object shows (empty here).
    virtual QString GetComponentText() const { return QString(); }
    /// The absolute rectangle.
    virtual QRectF GetRealBounds() const { return QRectF(AbsLeft(), AbsTop(), Width(), Height()); }
    /// The object a prepared copy is saved as (itself).
    virtual TzelReportComponent *GetSaveToComponent() { return this; }
    /// Whether the object draws its children itself.
    virtual bool IsOwnerDraw() const { return false; }

    /// Number of children present before building (-1 until counted).
    int OriginalObjectsCount = -1;
    /// Told when the component is freed (the engine's shift tracking).
    std::function<void(TzelReportComponent *)> OnDestroyed;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelReportComponent> &p);

private:
    bool IsIndexTagStored() const { return IndexTag > 0; }

    QRectF FSavedBounds;
};
