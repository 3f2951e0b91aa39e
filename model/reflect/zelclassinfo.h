#pragma once
/// \file

#include "model/reflect/zelpropinfo.h"

#include <QString>
#include <memory>
#include <vector>

template <class T>
class TzelPublisher;

/// Run-time type information of one class: its name, base class, published
/// properties (base-class properties first, in declaration order) and a
/// factory when the class can be created by name.
class TzelClassInfo
{
public:
    /// Creates a new instance of a class.
    using Factory = TzelPersistent *(*)();

    /// Info for class Name derived from Base, declaring Own properties.
    TzelClassInfo(QString name, const TzelClassInfo *base, std::vector<TzelPropInfo> own, Factory create);
    ~TzelClassInfo();
    TzelClassInfo(const TzelClassInfo &) = delete;
    TzelClassInfo &operator=(const TzelClassInfo &) = delete;

    /// Builds the info of T from Base's and T's own Publish(TzelPublisher<T>&).
    template <class T, class Base>
    static TzelClassInfo Make(const char *name);

    /// The class name ("TzelMemoView").
    const QString &ClassName() const { return FName; }
    /// The base class, nullptr for the root.
    const TzelClassInfo *Base() const { return FBase; }
    /// Whether this class is Other or derives from it.
    bool InheritsFrom(const TzelClassInfo &other) const;
    /// Whether this class derives from the class named Name (case ignored), or is it.
    bool InheritsFrom(QStringView name) const;
    /// All published properties, base-class properties first.
    const std::vector<const TzelPropInfo *> &Properties() const { return FAll; }
    /// The property named Name (case ignored), or nullptr.
    const TzelPropInfo *FindProperty(QStringView name) const;
    /// Whether instances can be created by name.
    bool CanCreate() const { return FCreate != nullptr; }
    /// A new instance; nullptr for classes that cannot be created.
    TzelPersistent *Create() const { return FCreate ? FCreate() : nullptr; }

private:
    struct Slot
    {
        size_t hash = 0;
        const TzelPropInfo *prop = nullptr;
    };

    QString FName;
    const TzelClassInfo *FBase;
    std::vector<TzelPropInfo> FOwn;
    std::vector<const TzelPropInfo *> FAll;
    std::vector<Slot> FSlots; // open addressing by case-folded name
    Factory FCreate;
};

#include "model/reflect/zelpublisher.h"

template <class T, class Base>
TzelClassInfo TzelClassInfo::Make(const char *name)
{
    std::vector<TzelPropInfo> own;
    const TzelClassInfo *base = nullptr;
    if constexpr (!std::is_void_v<Base>)
        base = &Base::StaticClassInfo();
    TzelPublisher<T> publisher(own);
    if constexpr (requires(TzelPublisher<T> &p) { T::Publish(p); })
        T::Publish(publisher);
    Factory create = nullptr;
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>)
        create = []() -> TzelPersistent * { return new T(); };
    return TzelClassInfo(QString::fromLatin1(name), base, std::move(own), create);
}
