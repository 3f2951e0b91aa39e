#pragma once
/// \file

#include "model/reflect/zelpersistent.h"
#include "model/page/zelreporttypes.h"

#include <QString>

/// Options of the report engine. The host owns most of them; a template keeps
/// only the few that describe the report itself (see TzelReport::LoadFromStream).
class TzelEngineOptions : public TzelPersistent
{
    ZEL_CLASS(TzelEngineOptions, TzelPersistent)

    bool ConvertNulls = true;       ///< null field values read as 0 or ""
    bool DoublePass = false;        ///< build twice to know the page total
    int MaxMemSize = 10;            ///< megabytes of prepared pages kept in memory
    bool PrintIfEmpty = true;       ///< build a report whose data sets are empty
    TzelSilentMode NewSilentMode = simMessageBoxes; ///< how errors reach the user
    QString TempDir;                ///< folder for temporary files; empty = the system's
    bool UseFileCache = false;      ///< snapshot and page cache in files
    bool IgnoreDevByZero = false;   ///< division by zero in expressions gives 0
    bool IgnoreExprError = false;   ///< expression errors are not collected
    bool DestroyForms = true;       ///< snapshot the template around a build
    bool EnableThreadSafe = false;  ///< the report is built on a worker thread
    bool UseGlobalDataSetList = true; ///< data sets come from the process-wide list
    double ZeroPrecisionValue = 1e-17; ///< values closer to 0 count as 0
    /// The report's script may not write or read files, start programs,
    /// print or open windows: for templates from untrusted sources. A host
    /// setting that a loaded template cannot change.
    bool Restricted = false;

    /// A Boolean view of NewSilentMode: True means simSilent.
    bool SilentMode() const { return NewSilentMode == simSilent; }
    /// Sets NewSilentMode to simSilent or simMessageBoxes.
    void SetSilentMode(bool value) { NewSilentMode = value ? simSilent : simMessageBoxes; }

    /// Resets the options a new template starts with.
    void Clear();
    /// Copies the published values and ZeroPrecisionValue.
    void Assign(const TzelEngineOptions &source);
    /// Copies the options that belong to the thread that builds the report.
    void AssignThreadProps(const TzelEngineOptions &source);

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelEngineOptions> &p);
};
