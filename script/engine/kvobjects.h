#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>
#include <typeindex>

/// What the script engine may ask of a kind of host object: its class name
/// and the components it owns by name. One instance serves all objects of
/// its kind (report components, widgets, the engine's own helpers).
class TkvObjectType
{
public:
    virtual ~TkvObjectType();
    /// The class name scripts know Object by ("TzelMemoView").
    virtual QString ClassName(const void *object) const = 0;
    /// The component named Name that Owner owns, as a script value; Null when none.
    virtual Variant FindComponent(void *owner, const QString &name) const;
    /// The components Owner owns, with their names.
    virtual QList<QPair<QString, Variant>> Components(void *owner) const;
};

/// Host objects as scripts hold them. A script value of an object is a
/// positive integer handle: scripts can store, compare and pass it, and a
/// handle that names no live object (a freed one, or any number a script made
/// up) is refused with a clear error instead of reaching freed memory. The
/// same object keeps its handle while it lives, so handles compare as objects.
/// Shared by every script of the process; safe to use from any thread.
class TkvObjects
{
public:
    /// The handle of Object (static type T); 0 for nullptr. Alive tells
    /// whether the object still lives; it is either that test or, where
    /// making the test costs, a function that makes it, called only for an
    /// object that has no handle yet.
    template <class T, class F>
    static Variant Ref(T *object, const TkvObjectType *type, F &&alive)
    {
        auto *raw = const_cast<std::remove_const_t<T> *>(object);
        const std::type_index staticType(typeid(T));
        if (const int handle = Existing(raw, staticType))
            return Variant(handle);
        if constexpr (std::is_invocable_r_v<bool, F>)
            return Insert(raw, staticType, type, std::function<bool()>(std::forward<F>(alive)), nullptr);
        else
            return Insert(raw, staticType, type, std::function<bool()>(alive()), nullptr);
    }
    /// The handle of an object the scripts own; it lives until Free.
    template <class T>
    static Variant Adopt(std::shared_ptr<T> object, const TkvObjectType *type)
    {
        T *raw = object.get();
        return Insert(raw, std::type_index(typeid(T)), type, nullptr, std::move(object));
    }
    /// The object of Value when it is a live T; nullptr for nil (0 or Null).
    /// Raises "Invalid object reference" for any other value.
    template <class T>
    static T *Get(const Variant &value)
    {
        return static_cast<T *>(Lookup(value, std::type_index(typeid(T))));
    }
    /// Like Get, but nullptr instead of an error when Value is not a live T.
    template <class T>
    static T *TryGet(const Variant &value)
    {
        return static_cast<T *>(Find(value, std::type_index(typeid(T))));
    }
    /// The class name of the object Value refers to; empty when none.
    static QString ClassName(const Variant &value);
    /// The kind of the object Value refers to, and the object; nullptr when none.
    static const TkvObjectType *TypeOf(const Variant &value, void **object);
    /// The component named Name that the object Owner owns; Null when none.
    static Variant FindComponent(const Variant &owner, const QString &name);
    /// Frees an object the scripts own; other objects are left alone.
    static void Free(const Variant &value);
    /// Whether Value is nil: Null, Empty or 0.
    static bool IsNil(const Variant &value);
    /// Raises the error of a value that is no object of the expected kind.
    [[noreturn]] static void RaiseInvalid();

private:
    // The handle of a live registered object; 0 when it has none.
    static int Existing(void *object, std::type_index staticType);
    static Variant Insert(void *object, std::type_index staticType, const TkvObjectType *type,
                          std::function<bool()> alive, std::shared_ptr<void> owned);
    static void *Lookup(const Variant &value, std::type_index staticType);
    static void *Find(const Variant &value, std::type_index staticType);
};
