#include "model/reflect/zelpersistent.h"

#include "model/reflect/zelfiler.h"

TzelPersistent::~TzelPersistent() = default;

const TzelClassInfo &TzelPersistent::StaticClassInfo()
{
    static const TzelClassInfo info = TzelClassInfo::Make<TzelPersistent, void>("TzelPersistent");
    return info;
}

const TzelClassInfo &TzelPersistent::ClassInfo() const
{
    return StaticClassInfo();
}

TzelFiler::~TzelFiler() = default;
