#include "base/core/zelownedlist.h"

#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"

void zelRaiseListIndex(int index)
{
    throw TzelException(zelFormat(zelRes("clListIndex"), {QString::number(index)}));
}
