#pragma once
/// \file

#include "model/reflect/zelenuminfo.h"

// Enumerations of data sets.

/// Where a data set's range starts: at the first record or at the current one.
ZEL_ENUM(TzelRangeBegin, rbFirst, rbCurrent)
/// Where it ends: at the last record, after the current one, or after RangeEndCount records.
ZEL_ENUM(TzelRangeEnd, reLast, reCurrent, reCount)
/// How a field's values are shown and compared; dates and times come last.
ZEL_ENUM(TzelFieldType, fftNumeric, fftString, fftBoolean, fftDateTime)
