#include "prepared/zelextendedobjectlist.h"

#include "model/component/zelcomponent.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int compareHundredths(double a, double b)
{
    // nearbyint rounds halves to even under the default rounding mode.
    const double x = std::nearbyint(a * 100);
    const double y = std::nearbyint(b * 100);
    return x < y ? -1 : x > y ? 1 : 0;
}

} // namespace

TzelExtendedObjectList::~TzelExtendedObjectList()
{
    TzelExtendedObjectList::Clear();
}

void TzelExtendedObjectList::AppendObject(TzelComponent *object, double value)
{
    Append(value);
    FObjectList[size_t(Count() - 1)] = object;
}

void TzelExtendedObjectList::InsertObject(int index, TzelComponent *object, double value)
{
    if (Count() == 0) {
        AppendObject(object, value);
        return;
    }
    Insert(index, value);
    FObjectList[size_t(index)] = object;
}

TzelComponent *TzelExtendedObjectList::Objects(int index) const
{
    CheckIndex(index);
    return FObjectList[size_t(index)];
}

void TzelExtendedObjectList::SetObjects(int index, TzelComponent *object)
{
    CheckIndex(index);
    FObjectList[size_t(index)] = object;
}

void TzelExtendedObjectList::Clear()
{
    if (FFreeObjects)
        for (int i = 0; i < Count(); ++i)
            delete FObjectList[size_t(i)];
    TzelExtArray::Clear();
}

void TzelExtendedObjectList::Exchange(int index1, int index2)
{
    TzelExtArray::Exchange(index1, index2);
    std::swap(FObjectList[size_t(index1)], FObjectList[size_t(index2)]);
}

void TzelExtendedObjectList::Delete(int index)
{
    CheckIndex(index);
    std::move(FObjectList.begin() + index + 1, FObjectList.begin() + Count(), FObjectList.begin() + index);
    TzelExtArray::Delete(index);
}

void TzelExtendedObjectList::SortList()
{
    Sort(&compareHundredths, 0, Count() - 1);
}

void TzelExtendedObjectList::SetCapacity(int value)
{
    ResizeStorage(FObjectList, value);
    TzelExtArray::SetCapacity(value);
}

void TzelExtendedObjectList::OpenSlot(int index)
{
    TzelExtArray::OpenSlot(index);
    std::move_backward(FObjectList.begin() + index, FObjectList.begin() + Count() - 1,
                       FObjectList.begin() + Count());
    FObjectList[size_t(index)] = nullptr;
}
