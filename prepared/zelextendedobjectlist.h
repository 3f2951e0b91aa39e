#pragma once
/// \file

#include "prepared/zelextarray.h"

#include <vector>

class TzelComponent;

/// Floating-point keys, each with an object, that sort at a resolution of
/// 1/100 unit: the shift engine keeps objects ordered by Top in one.
class TzelExtendedObjectList : public TzelExtArray
{
public:
    /// Clears the list, freeing the objects when FreeObjects is set.
    ~TzelExtendedObjectList() override;

    /// Appends Value with Object.
    void AppendObject(TzelComponent *object, double value);
    /// Inserts Value with Object before the item at Index (0..Count-1); on
    /// an empty list it appends.
    void InsertObject(int index, TzelComponent *object, double value);
    /// The object at Index, checked as Items is.
    TzelComponent *Objects(int index) const;
    /// Replaces the object at Index, leaving its key.
    void SetObjects(int index, TzelComponent *object);
    /// Whether Clear deletes the objects (default False).
    bool FreeObjects() const { return FFreeObjects; }
    /// Sets FreeObjects.
    void SetFreeObjects(bool value) { FFreeObjects = value; }

    /// Deletes the objects first when FreeObjects is set, then empties the list.
    void Clear() override;
    /// Swaps two items, keys and objects together.
    void Exchange(int index1, int index2) override;
    /// Removes the item at Index with its object (which is not deleted).
    void Delete(int index) override;
    /// Sorts the whole list by key, comparing keys rounded to hundredths
    /// (halves to even): keys that round alike count as equal.
    void SortList();

protected:
    void SetCapacity(int value) override;
    void OpenSlot(int index) override;

private:
    std::vector<TzelComponent *> FObjectList;
    bool FFreeObjects = false;
};
