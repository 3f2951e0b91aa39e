#pragma once
/// \file

#include "model/component/zelliferef.h"
#include "model/view/zelviewtypes.h"

#include <limits>
#include <vector>

class TzelComponent;
class TzelView;

/// The shift state of one object of a container for the current row. An item
/// without an object is the root of a tree and stands for the container.
class TzelShiftItem
{
public:
    /// The root item.
    TzelShiftItem() = default;
    /// The item of Object.
    explicit TzelShiftItem(TzelComponent *object);

    /// Whether the item stands for the container.
    bool IsRoot() const { return FRoot; }
    /// The object; nullptr for the root and once the object was freed.
    TzelComponent *ReportObject() const { return FReportObject.Get(); }
    /// How the object follows the objects above it: a view says, anything
    /// else always moves.
    TzelShiftMode ShiftMode() const;
    /// Starts a row with the object's own growth Amount, nothing shifted yet.
    void Init(double amount);

    /// The object's own growth in this row (negative when it shrank).
    double ShiftAmount = 0;
    /// Linear method: how far the object moves. Tree method: that plus its
    /// own growth, i.e. how far the objects below it move.
    double ShiftedTo = 0;
    /// The lowest bottom of an object that placed this one in this row.
    double MinDist = std::numeric_limits<double>::lowest();
    /// Whether the object was placed in this row.
    bool Shifted = false;
    /// Tree method: the indexes of the items that follow this one.
    std::vector<int> ShiftChildren;
    /// Tree method: the number of items this one follows.
    int RefCount = 0;

private:
    TzelLifeRef<TzelComponent> FReportObject;
    TzelView *FView = nullptr;
    bool FRoot = true;
};
