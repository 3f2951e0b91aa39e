#pragma once
/// \file

#include "engine/core/zelshiftitem.h"
#include "model/component/zelliferef.h"
#include "prepared/zelextendedobjectlist.h"

#include <QHash>
#include <vector>

class TzelComponent;

/// The shift structure of one container: the objects that lie across its
/// width, ordered by Top, each with its shift item, and for the tree method a
/// root item first and the links of the tree. Built once, used for every row.
class TzelShiftedObjectList : private TzelExtendedObjectList
{
public:
    /// Takes the objects of Container and, with Tree, links them into a tree.
    TzelShiftedObjectList(TzelComponent &container, bool tree);

    /// The container; nullptr once it was freed.
    TzelComponent *Container() const { return FContainer.Get(); }
    /// Whether the container was freed or its objects changed since the build.
    bool IsStale() const;
    /// Starts Object's row with its own growth Amount (ignored for an
    /// object that is not in the list).
    void InitShiftAmount(const TzelComponent *object, double amount);
    /// Moves the objects by the growth of those above them.
    void ShiftObjects();

    /// Number of items, the root included.
    using TzelExtendedObjectList::Count;
    /// The item at Index (same order as the keys).
    TzelShiftItem &Item(int index) { return FItems[size_t(index)]; }
    /// Read-only access.
    const TzelShiftItem &Item(int index) const { return FItems[size_t(index)]; }

protected:
    /// Swaps the items with their keys, so that sorting moves them too.
    void Exchange(int index1, int index2) override;
    void SetCapacity(int value) override;
    void OpenSlot(int index) override;

private:
    TzelLifeRef<TzelComponent> FContainer;
    qsizetype FObjectCount = 0;
    bool FTree = false;
    std::vector<TzelShiftItem> FItems;
    QHash<const TzelComponent *, int> FIndex;
};
