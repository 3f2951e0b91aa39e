#include "prepared/zelextarray.h"

#include <algorithm>
#include <utility>

TzelExtArray::~TzelExtArray() = default;

double TzelExtArray::Items(int index) const
{
    CheckIndex(index);
    return FArray[size_t(index)];
}

void TzelExtArray::SetItems(int index, double value)
{
    CheckIndex(index);
    FArray[size_t(index)] = value;
}

void TzelExtArray::Append(double value)
{
    OpenSlot(Count());
    FArray[size_t(Count() - 1)] = value;
}

void TzelExtArray::Insert(int index, double value)
{
    if (Count() == 0)
        index = 0;
    else
        CheckIndex(index);
    OpenSlot(index);
    FArray[size_t(index)] = value;
}

void TzelExtArray::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(FArray[size_t(index1)], FArray[size_t(index2)]);
}

void TzelExtArray::Delete(int index)
{
    CheckIndex(index);
    std::move(FArray.begin() + index + 1, FArray.begin() + Count(), FArray.begin() + index);
    RemoveSlot();
}

void TzelExtArray::Sort(Compare compare, int min, int max)
{
    if (min >= max)
        return;
    CheckIndex(min);
    CheckIndex(max);
    int i = min;
    int j = max;
    const double pivot = FArray[size_t((min + max) / 2)];
    do {
        while (compare(FArray[size_t(i)], pivot) < 0)
            ++i;
        while (compare(pivot, FArray[size_t(j)]) < 0)
            --j;
        if (i <= j) {
            // Through the virtual Exchange, so that attached data moves too.
            Exchange(i, j);
            ++i;
            --j;
        }
    } while (i <= j);
    Sort(compare, min, j);
    Sort(compare, i, max);
}

void TzelExtArray::SetCapacity(int value)
{
    ResizeStorage(FArray, value);
    TzelBaseArray::SetCapacity(value);
}

void TzelExtArray::OpenSlot(int index)
{
    AddSlot();
    std::move_backward(FArray.begin() + index, FArray.begin() + Count() - 1, FArray.begin() + Count());
}
