#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QString>
#include <functional>

class TzelReport;

/// The steps of a report's name lookup that belong to layers above the model:
/// the engine knows the system variables, the expression engine evaluates a
/// variable's text, the script knows its own variables. A step whose hook is
/// not set is passed over.
struct TzelValueLookupHooks
{
    /// Value of system variable Name (one of the report's SystemVariables).
    std::function<bool(const QString &name, Variant &value)> SystemVariable;
    /// Value of a report variable's text taken as an expression; without it
    /// the text itself is the value.
    std::function<Variant(const QString &expression)> Calc;
    /// Value of a variable of the report's script.
    std::function<bool(const QString &name, Variant &value)> ScriptVariable;
};

/// The application's compatibility hook, asked before anything else; True
/// when it gave a value.
std::function<bool(const QString &name, Variant &value)> &zelGlobalGetValueHook();

/// Process-wide script hooks: called with each report at the end of its
/// script's preparation, and asked by the script's Get for names nothing
/// else resolves (True when it gave a value).
struct TzelGlobalScriptEvents
{
    /// Called with each report at the end of its script's preparation.
    std::function<void(TzelReport &report)> OnPrepareScript;
    /// Asked for a name nothing else resolves; True when it gave Value.
    std::function<bool(const QString &name, Variant &value)> OnGetScriptValue;
};
/// The process-wide script hooks.
TzelGlobalScriptEvents &zelGlobalScriptEvents();

/// Resolves Name for Report, in order: the compatibility hook, a field
/// reference DataSet."Field" (nulls converted when EngineOptions.ConvertNulls),
/// a system variable, the host's OnGetValue and OnNewGetValue, a report
/// variable (text without a line break is evaluated as an expression), a
/// global variable, a script variable. False when nothing resolved it.
bool zelLookupValue(TzelReport &report, const QString &name, Variant &value);

/// The value a Null of a field of type Type reads as with ConvertNulls: ""
/// for text, False for Booleans, 0 for numbers and dates.
Variant zelConvertNull(int fieldType);
