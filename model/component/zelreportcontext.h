#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QString>

class TzelComponent;
class TzelDataSet;
class TzelErrorList;
class TzelPictureStore;
class TzelStyleItem;

/// What the objects of a report's tree may ask of the report at its root,
/// without knowing it: the report implements this, and objects find it
/// through TzelComponent::Context(). It keeps the layers below the report
/// (the tree, data sets, views, bands, pages and styles) free of the report.
class TzelReportContext
{
public:
    virtual ~TzelReportContext();

    /// Where errors met in the tree go.
    virtual TzelErrorList &Errors() = 0;
    /// The report's template file; data files named relatively lie beside it.
    virtual QString FileName() const = 0;
    /// Where picture objects put their pictures while pages are written, or nullptr.
    virtual TzelPictureStore *PictureStore() const = 0;
    /// The report's style named Name, or nullptr.
    virtual TzelStyleItem *FindStyle(const QString &name) const = 0;
    /// The data set the non-empty name Name stands for in this report (by the
    /// report's rule of which data sets it may use); Current when the rule
    /// keeps it.
    virtual TzelDataSet *FindDataSet(const QString &name, TzelDataSet *current) const = 0;
    /// The parent template this report inherits from, as read, or nullptr;
    /// a save writes differences from it.
    virtual const TzelComponent *ParentTemplate() const = 0;
    /// The value of Expression (a name or a script expression); errors
    /// raise, naming the object being worked on.
    virtual Variant Calc(const QString &expression) = 0;
    /// Tells the report's script the object being processed (its Self).
    virtual void SetSelfValue(TzelComponent *object) = 0;
    /// Tells the report's script the value just computed (its Value).
    virtual void SetLocalValue(const Variant &value) = 0;
    /// Numbers closer to 0 than this count as 0 (0: only 0 itself).
    virtual double ZeroPrecision() const = 0;
};
