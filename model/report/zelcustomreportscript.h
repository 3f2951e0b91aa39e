#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QList>
#include <QString>

class TzelComponent;

/// The report's script as the report sees it: prepares and runs the report's
/// program, runs the event procedures that report objects name in their event
/// properties, and evaluates expressions that are not a single name. The
/// script layer above the model supplies it; a report without one has no
/// procedures to run and evaluates names only.
class TzelCustomReportScript
{
public:
    virtual ~TzelCustomReportScript() = default;

    /// Makes the report's objects and functions visible to the program and
    /// compiles it; False with the errors added to the report's Errors.
    virtual bool Prepare() = 0;
    /// Runs the main block of the prepared program; False with the error
    /// added to the report's Errors.
    virtual bool RunMain() = 0;
    /// Calls the procedure named EventName with the single argument Sender.
    virtual void CallEvent(TzelComponent *sender, const QString &eventName) = 0;
    /// Calls the procedure named EventName with Params, whose elements
    /// receive the final values of by-reference parameters.
    virtual void CallParamEvent(const QString &eventName, QList<Variant> &params) = 0;
    /// The value of Expression, compiled once and then taken from the cache;
    /// on failure Null with Error set to the message.
    virtual Variant Calc(const QString &expression, QString &error) = 0;
    /// The value of the program's variable Name, when it has one that is no
    /// procedure.
    virtual bool Variable(const QString &name, Variant &value) const = 0;
    /// Sets the program's Self (the object being processed; nullptr for none).
    virtual void SetSelf(TzelComponent *object) = 0;
    /// Sets the program's Value (the value just computed for the object).
    virtual void SetValue(const Variant &value) = 0;
};
