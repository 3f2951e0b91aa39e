#include "model/data/zelarray.h"

#include "model/data/zeldataset.h"

QString TzelArray::zelVariantKey(const Variant &key)
{
    return zelVariantDisplayText(key);
}
