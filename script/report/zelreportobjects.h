#pragma once

#include "base/variant/zelvariant.h"

class TzelCustomEngine;
class TzelCustomOutline;
class TzelCustomPreviewPages;
class TzelReport;
class TzelVariables;

// Script values of the report's helpers that are not report classes: each
// lives as long as its report (Report nullptr: as long as the process).

/// The value of a variables list.
Variant zelVariablesValue(TzelVariables *variables, const TzelReport *report);
/// The value of the report's engine.
Variant zelEngineValue(TzelCustomEngine *engine, const TzelReport *report);
/// The value of prepared pages.
Variant zelPreviewPagesValue(TzelCustomPreviewPages *pages, const TzelReport *report);
/// The value of an outline.
Variant zelOutlineValue(TzelCustomOutline *outline, const TzelReport *report);
