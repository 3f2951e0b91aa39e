#pragma once
/// \file

#include "model/reflect/zelenuminfo.h"

// Enumerations of bands.

/// How the engine shifts the objects of a band that stretches.
ZEL_ENUM(TzelShiftMethod, seLinear, seTree, seDontShift)
/// How a child band counts the rows it prints: a fixed count, the count
/// added to the rows printed so far, or rows until the page ends.
ZEL_ENUM(TzelToNRowsMode, rmCount, rmAddToCount, rmTillPageEnds)
