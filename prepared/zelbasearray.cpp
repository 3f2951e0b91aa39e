#include "prepared/zelbasearray.h"

#include "base/core/zelexception.h"

TzelBaseArray::~TzelBaseArray() = default;

void TzelBaseArray::Clear()
{
    FCount = 0;
    SetCapacity(0);
}

void TzelBaseArray::CheckIndex(int index) const
{
    if (index < 0 || index >= FCount)
        throw TzelException(QStringLiteral("Index out of bounds"));
}

void TzelBaseArray::AddSlot()
{
    if (FCount + 1 > FCapacity) {
        // Large arrays grow by a quarter, small ones by a fixed step.
        const int delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
        SetCapacity(FCapacity + delta);
    }
    ++FCount;
}
