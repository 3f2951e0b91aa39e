#pragma once

#include "model/data/zeldataset.h"

#include <memory>

// A reference to a data set that turns empty when the data set is freed, so
// lists and objects that refer to a host's data set never dangle.
class TzelDataSetRef
{
public:
    /// No data set.
    TzelDataSetRef() = default;
    /// Refers to DataSet (nullptr for none).
    TzelDataSetRef(TzelDataSet *dataSet) { *this = dataSet; }
    /// Refers to DataSet (nullptr for none).
    TzelDataSetRef &operator=(TzelDataSet *dataSet)
    {
        FDataSet = dataSet;
        FToken = dataSet ? dataSet->LifeToken() : std::weak_ptr<void>();
        return *this;
    }
    /// The data set, or nullptr when none is referred to or it was freed.
    TzelDataSet *Get() const { return FDataSet && !FToken.expired() ? FDataSet : nullptr; }

private:
    TzelDataSet *FDataSet = nullptr;
    std::weak_ptr<void> FToken;
};
