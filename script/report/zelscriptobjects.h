#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "script/engine/kvobjects.h"

#include <memory>

class TzelComponent;
class TzelPersistent;
struct TzelPropInfo;

/// The script value of Component (0 for nullptr); it turns invalid when the
/// component is freed.
Variant zelScriptValue(TzelComponent *component);
/// The script value of Object, which lives as long as Owner does; 0 for nullptr.
Variant zelScriptValue(TzelPersistent *object, const TzelComponent *owner);
/// The script value of the nested object Property holds in the object Owner
/// (the script value Owner): it stays valid while Owner is and the property
/// still holds that object.
Variant zelNestedScriptValue(const Variant &owner, const TzelPropInfo &property);
/// The report object Value refers to, when it is a T; nullptr for nil. Any
/// other value raises "Invalid object reference".
template <class T>
T *zelScriptObject(const Variant &value)
{
    TzelPersistent *object = TkvObjects::Get<TzelPersistent>(value);
    if (!object)
        return nullptr;
    if (T *typed = dynamic_cast<T *>(object))
        return typed;
    TkvObjects::RaiseInvalid();
}
/// The object a member is called on: like zelScriptObject, but nil raises
/// "Invalid object reference" too.
template <class T>
T *zelScriptInstance(const Variant &value)
{
    T *object = zelScriptObject<T>(value);
    if (!object)
        TkvObjects::RaiseInvalid();
    return object;
}
/// A helper object of static type T that a member is called on; nil and
/// anything else raise "Invalid object reference".
template <class T>
T *zelHelperInstance(const Variant &value)
{
    T *object = TkvObjects::Get<T>(value);
    if (!object)
        TkvObjects::RaiseInvalid();
    return object;
}
