#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <memory>

class TzelArray;
class TzelCustomEngine;
class TzelCustomPostProcessor;
class TzelStyles;
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
/// The value of the post-processor of prepared pages.
Variant zelPostProcessorValue(TzelCustomPostProcessor *processor, const TzelReport *report);
/// The value of a set of styles.
Variant zelStylesValue(TzelStyles *styles, const TzelReport *report);
/// The value of a variables list, an array or a set of styles a script
/// made: the scripts own it until Free.
Variant zelAdoptVariables(std::shared_ptr<TzelVariables> variables);
/// The value of an array a script made; the scripts own it until Free.
Variant zelAdoptArray(std::shared_ptr<TzelArray> array);
/// The value of a set of styles a script made; the scripts own it until Free.
Variant zelAdoptStyles(std::shared_ptr<TzelStyles> styles);
