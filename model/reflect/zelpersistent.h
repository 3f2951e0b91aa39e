#pragma once
/// \file

#include "model/reflect/zelclassinfo.h"

#include <type_traits>

class TzelFiler;

/// Gives class T (derived from Base) its run-time type information. Place it
/// first in the class body; it leaves the access at public. T declares its
/// published properties in a static Publish(TzelPublisher<T>&).
#define ZEL_CLASS(T, Base)                                                                                   \
public:                                                                                                      \
    /** The class name, known without building the type information. */                                   \
    static constexpr const char *StaticClassName = #T;                                                       \
    /** Run-time type information of the class. */                                                         \
    static const TzelClassInfo &StaticClassInfo()                                                            \
    {                                                                                                        \
        static const TzelClassInfo info = TzelClassInfo::Make<T, Base>(#T);                                  \
        return info;                                                                                         \
    }                                                                                                        \
    /** Run-time type information of the object's class. */                                                \
    const TzelClassInfo &ClassInfo() const override { return StaticClassInfo(); }

/// The root of every object with published properties: components and the
/// nested objects they own (fonts, frames, fills, options).
class TzelPersistent
{
public:
    virtual ~TzelPersistent();

    /// The root class's name.
    static constexpr const char *StaticClassName = "TzelPersistent";
    /// Run-time type information of the root class.
    static const TzelClassInfo &StaticClassInfo();
    /// Run-time type information of the object's class.
    virtual const TzelClassInfo &ClassInfo() const;

    /// The class name of the object.
    const QString &ClassName() const { return ClassInfo().ClassName(); }
    /// Whether the object's class is Info or derives from it.
    bool InheritsFrom(const TzelClassInfo &info) const { return ClassInfo().InheritsFrom(info); }
    /// Declares data stored beside the published properties (nothing here).
    virtual void DefineProperties(TzelFiler &) {}
};

/// Object as a T when its class is T or derives from it, else nullptr. The
/// engine's hot paths use it instead of dynamic_cast: it compares class
/// infos rather than type names.
template <class T, class U> auto zelAs(U *object)
{
    using Result = std::conditional_t<std::is_const_v<U>, const T, T>;
    return object && object->InheritsFrom(T::StaticClassInfo()) ? static_cast<Result *>(object) : nullptr;
}
