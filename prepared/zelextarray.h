#pragma once
/// \file

#include "prepared/zelbasearray.h"

#include <vector>

/// An array of floating-point keys.
class TzelExtArray : public TzelBaseArray
{
public:
    /// Orders two keys: negative, 0 or positive.
    using Compare = int (*)(double, double);

    ~TzelExtArray() override;

    /// The key at Index; an index outside 0..Count-1 raises "Index out of bounds".
    double Items(int index) const;
    /// Replaces the key at Index, checked as Items is.
    void SetItems(int index, double value);
    /// Appends Value.
    void Append(double value);
    /// Inserts Value before the item at Index (0..Count-1); on an empty
    /// array it appends whatever Index is.
    void Insert(int index, double value);
    /// Swaps the keys at Index1 and Index2, checked as Items is.
    void Exchange(int index1, int index2) override;
    /// Removes the key at Index, checked as Items is.
    void Delete(int index) override;
    /// Sorts the items Min..Max by Compare with a quicksort (not stable).
    void Sort(Compare compare, int min, int max);

protected:
    void SetCapacity(int value) override;
    /// Opens a slot at Index (0..Count), moving later items up; subclasses
    /// with parallel storage move theirs too.
    virtual void OpenSlot(int index);

private:
    std::vector<double> FArray;
};
