#pragma once

#include "base/variant/zelvariant.h"

#include <QList>
#include <QString>

class TzelComponent;

// The report's script as the report sees it: runs the event procedures that
// report objects name in their event properties. The script layer above the
// model supplies it; a report without one has no procedures to run.
class TzelCustomReportScript
{
public:
    virtual ~TzelCustomReportScript() = default;

    /// Calls the procedure named EventName with the single argument Sender.
    virtual void CallEvent(TzelComponent *sender, const QString &eventName) = 0;
    /// Calls the procedure named EventName with Params, whose elements
    /// receive the final values of by-reference parameters.
    virtual void CallParamEvent(const QString &eventName, QList<Variant> &params) = 0;
};
