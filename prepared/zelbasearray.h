#pragma once
/// \file

#include <cstddef>
#include <vector>

/// The root of the storage arrays: a count of items and a capacity that grows
/// in steps rather than per item. Subclasses hold the items.
class TzelBaseArray
{
public:
    virtual ~TzelBaseArray();

    /// Number of items.
    int Count() const { return FCount; }
    /// Number of items there is room for.
    int Capacity() const { return FCapacity; }

    /// Removes every item and releases the room.
    virtual void Clear();
    /// Swaps the items at Index1 and Index2.
    virtual void Exchange(int index1, int index2) = 0;
    /// Removes the item at Index; later items move down.
    virtual void Delete(int index) = 0;

protected:
    /// Raises "Index out of bounds" unless 0 <= Index < Count.
    void CheckIndex(int index) const;
    /// Makes room for one more item (growing the capacity by a step when
    /// full) and counts it; the caller fills it.
    void AddSlot();
    /// Forgets the last item (the caller has moved the others down).
    void RemoveSlot() { --FCount; }
    /// Resizes the room to Value items; subclasses resize their storage
    /// (with ResizeStorage) and call this.
    virtual void SetCapacity(int value) { FCapacity = value; }
    /// Gives Storage exactly Capacity slots, releasing it all for 0.
    template <class T>
    static void ResizeStorage(std::vector<T> &storage, int capacity)
    {
        if (capacity == 0) {
            std::vector<T>().swap(storage);
            return;
        }
        storage.reserve(std::size_t(capacity));
        storage.resize(std::size_t(capacity));
    }

private:
    int FCount = 0;
    int FCapacity = 0;
};
