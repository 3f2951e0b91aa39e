#include "model/reflect/zelpublisher.h"

const TzelEnumInfo &zelBooleanInfo()
{
    static const TzelEnumInfo info("Boolean", "False, True");
    return info;
}

