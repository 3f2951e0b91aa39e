#pragma once
/// \file

#include "model/component/zelliferef.h"
#include "model/data/zeldataset.h"

/// A reference to a data set that turns empty when the data set is freed, so
/// lists and objects that refer to a host's data set never dangle.
using TzelDataSetRef = TzelLifeRef<TzelDataSet>;
