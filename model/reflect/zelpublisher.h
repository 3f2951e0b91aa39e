#pragma once
/// \file

#include "base/core/zeltextlines.h"

#include "base/core/zelset.h"
#include "model/reflect/zelenuminfo.h"
#include "model/reflect/zelpropinfo.h"

#include <QChar>
#include <QStringList>
#include <functional>
#include <type_traits>
#include <vector>

/// Value names of Boolean properties: False, True.
const TzelEnumInfo &zelBooleanInfo();


/// How a C++ value type travels as a variant and which property kind it is.
template <class V, class Enable = void>
struct TzelPropTraits;

/// int properties: Integer.
template <>
struct TzelPropTraits<int>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Integer; ///< the property kind
    static const char *TypeName() { return "Integer"; } ///< the type name the reflection tables show
    static Variant ToVariant(int v) { return Variant(v); } ///< the value as a variant
    static int FromVariant(const Variant &v) { return v.ToInt(); } ///< the value from a variant
};

/// qint64 properties: Int64.
template <>
struct TzelPropTraits<qint64>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Int64; ///< the property kind
    static const char *TypeName() { return "Int64"; } ///< the type name the reflection tables show
    static Variant ToVariant(qint64 v) { return Variant(v); } ///< the value as a variant
    static qint64 FromVariant(const Variant &v) { return v.ToInt64(); } ///< the value from a variant
};

/// double properties: Extended.
template <>
struct TzelPropTraits<double>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Float; ///< the property kind
    static const char *TypeName() { return "Extended"; } ///< the type name the reflection tables show
    static Variant ToVariant(double v) { return Variant(v); } ///< the value as a variant
    static double FromVariant(const Variant &v) { return v.ToDouble(); } ///< the value from a variant
};

/// bool properties: Boolean.
template <>
struct TzelPropTraits<bool>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Boolean; ///< the property kind
    static const char *TypeName() { return "Boolean"; } ///< the type name the reflection tables show
    static Variant ToVariant(bool v) { return Variant(v); } ///< the value as a variant
    static bool FromVariant(const Variant &v) { return v.ToBool(); } ///< the value from a variant
};

/// QChar properties: Char, a character code in a variant.
template <>
struct TzelPropTraits<QChar>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Char; ///< the property kind
    static const char *TypeName() { return "Char"; } ///< the type name the reflection tables show
    static Variant ToVariant(QChar v) { return Variant(int(v.unicode())); } ///< the value as a variant
    static QChar FromVariant(const Variant &v) { return QChar(char16_t(v.ToInt())); } ///< the value from a variant
};

/// QString properties: String.
template <>
struct TzelPropTraits<QString>
{
    static constexpr TzelPropKind Kind = TzelPropKind::String; ///< the property kind
    static const char *TypeName() { return "String"; } ///< the type name the reflection tables show
    static Variant ToVariant(const QString &v) { return Variant(v); } ///< the value as a variant
    static QString FromVariant(const Variant &v) { return v.ToString(); } ///< the value from a variant
};

/// QStringList properties: TStrings, one text of lines in a variant.
template <>
struct TzelPropTraits<QStringList>
{
    static constexpr TzelPropKind Kind = TzelPropKind::StringList; ///< the property kind
    static const char *TypeName() { return "TStrings"; } ///< the type name the reflection tables show
    static Variant ToVariant(const QStringList &v) { return Variant(zelJoinLines(v)); } ///< the value as a variant
    static QStringList FromVariant(const Variant &v) { return zelSplitLines(v.ToString()); } ///< the value from a variant
};

/// Variant properties, passed through unchanged.
template <>
struct TzelPropTraits<Variant>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Variant; ///< the property kind
    static const char *TypeName() { return "Variant"; } ///< the type name the reflection tables show
    static Variant ToVariant(const Variant &v) { return v; } ///< the value as a variant
    static Variant FromVariant(const Variant &v) { return v; } ///< the value from a variant
};

/// Enumeration properties: the ordinal in a variant.
template <class E>
struct TzelPropTraits<E, std::enable_if_t<std::is_enum_v<E>>>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Enum; ///< the property kind
    static const TzelEnumInfo *Enum() { return &zelEnumInfo<E>(); } ///< the value names
    static Variant ToVariant(E v) { return Variant(int(v)); } ///< the value as a variant
    static E FromVariant(const Variant &v) { return E(v.ToInt()); } ///< the value from a variant
};

/// Set properties: the bits in a variant.
template <class E>
struct TzelPropTraits<TzelSet<E>>
{
    static constexpr TzelPropKind Kind = TzelPropKind::Set; ///< the property kind
    static const TzelEnumInfo *Enum() { return &zelEnumInfo<E>(); } ///< the value names
    static Variant ToVariant(TzelSet<E> v) { return Variant(qint64(v.Bits())); } ///< the value as a variant
    static TzelSet<E> FromVariant(const Variant &v) { return TzelSet<E>::FromBits(quint32(v.ToInt64())); } ///< the value from a variant
};

/// Declares the published properties of class T, one short line each, from
/// T's static Publish(TzelPublisher<T>&). Members may be fields or a getter
/// with a setter; modifiers follow: .Default(v), .StoredIf(&T::Test), .Type(n).
template <class T>
class TzelPublisher
{
public:
    /// A publisher appending the declared properties to Out.
    explicit TzelPublisher(std::vector<TzelPropInfo> &out) : FOut(out) {}

    /// Modifiers of the property just declared.
    template <class V>
    class Decl
    {
    public:
        /// Modifiers of Prop.
        explicit Decl(TzelPropInfo &prop) : FProp(prop) {}
        /// Values equal to Value are not stored.
        Decl &Default(const V &value)
        {
            FProp.Default = TzelPropTraits<V>::ToVariant(value);
            return *this;
        }
        /// The property is stored only when Test answers True.
        template <class B>
            requires std::is_base_of_v<B, T>
        Decl &StoredIf(bool (B::*test)() const)
        {
            FProp.Stored = [test](const TzelPersistent &o) { return (static_cast<const T &>(o).*test)(); };
            return *this;
        }
        /// The property is never stored (it mirrors another one).
        Decl &NotStored()
        {
            FProp.Stored = [](const TzelPersistent &) { return false; };
            return *this;
        }
        /// Overrides the type name editors look up.
        Decl &Type(const char *typeName)
        {
            FProp.TypeName = QString::fromLatin1(typeName);
            return *this;
        }

    private:
        TzelPropInfo &FProp;
    };

    /// A property backed by field Field (of T or of a base class of T).
    template <class V, class B>
        requires std::is_base_of_v<B, T>
    Decl<V> Prop(const char *name, V B::*field)
    {
        TzelPropInfo &p = Add<V>(name);
        p.Get = [field](const TzelPersistent &o) { return TzelPropTraits<V>::ToVariant(static_cast<const T &>(o).*field); };
        p.Set = [field](TzelPersistent &o, const Variant &v) { static_cast<T &>(o).*field = TzelPropTraits<V>::FromVariant(v); };
        Typed<V>(p, [field](T &o, const V &v) { o.*field = v; });
        return Decl<V>(p);
    }

    /// A property read by Getter and written by Setter.
    template <class R, class A, class B, class C>
        requires std::is_base_of_v<B, T> && std::is_base_of_v<C, T>
    Decl<std::decay_t<R>> Prop(const char *name, R (B::*getter)() const, void (C::*setter)(A))
    {
        using V = std::decay_t<R>;
        TzelPropInfo &p = Add<V>(name);
        p.Get = [getter](const TzelPersistent &o) { return TzelPropTraits<V>::ToVariant((static_cast<const T &>(o).*getter)()); };
        p.Set = [setter](TzelPersistent &o, const Variant &v) { (static_cast<T &>(o).*setter)(TzelPropTraits<V>::FromVariant(v)); };
        Typed<V>(p, [setter](T &o, const V &v) { (o.*setter)(v); });
        return Decl<V>(p);
    }

    /// A property read and written through functions of the object, for a
    /// pair of properties that one helper publishes for many classes.
    template <class V>
    Decl<V> PropFn(const char *name, std::function<V(const T &)> get, std::function<void(T &, const V &)> set)
    {
        TzelPropInfo &p = Add<V>(name);
        p.Get = [get](const TzelPersistent &o) { return TzelPropTraits<V>::ToVariant(get(static_cast<const T &>(o))); };
        p.Set = [set](TzelPersistent &o, const Variant &v) { set(static_cast<T &>(o), TzelPropTraits<V>::FromVariant(v)); };
        return Decl<V>(p);
    }

    /// A reference to a component of class C read and written through functions of the object.
    template <class C>
    Decl<int> RefFn(const char *name, std::function<C *(const T &)> get, std::function<void(T &, C *)> set)
    {
        TzelPropInfo &p = Add(name, TzelPropKind::ComponentRef, QString::fromLatin1(C::StaticClassName));
        p.ObjectClass = &C::StaticClassInfo;
        p.GetRef = [get](const TzelPersistent &o) -> TzelPersistent * { return get(static_cast<const T &>(o)); };
        p.SetRef = [set](TzelPersistent &o, TzelPersistent *ref) { set(static_cast<T &>(o), dynamic_cast<C *>(ref)); };
        return Decl<int>(p);
    }

    /// A read-only property.
    template <class R, class B>
        requires std::is_base_of_v<B, T>
    Decl<std::decay_t<R>> ReadOnly(const char *name, R (B::*getter)() const)
    {
        using V = std::decay_t<R>;
        TzelPropInfo &p = Add<V>(name);
        p.Get = [getter](const TzelPersistent &o) { return TzelPropTraits<V>::ToVariant((static_cast<const T &>(o).*getter)()); };
        return Decl<V>(p);
    }

    /// A colour held in an integer field.
    template <class B>
        requires std::is_base_of_v<B, T>
    Decl<int> Color(const char *name, int B::*field)
    {
        Decl<int> d = Prop(name, field);
        Retype(TzelPropKind::Color, "TColor");
        return d;
    }

    /// A colour read by Getter and written by Setter.
    template <class R, class A, class B, class C>
        requires std::is_base_of_v<B, T> && std::is_base_of_v<C, T>
    Decl<int> Color(const char *name, R (B::*getter)() const, void (C::*setter)(A))
    {
        Decl<int> d = Prop(name, getter, setter);
        Retype(TzelPropKind::Color, "TColor");
        return d;
    }

    /// The name of a script procedure called on an event of type TypeName.
    template <class B>
        requires std::is_base_of_v<B, T>
    Decl<QString> Event(const char *name, QString B::*field, const char *typeName = "TzelNotifyEvent")
    {
        Decl<QString> d = Prop(name, field);
        Retype(TzelPropKind::Event, typeName);
        return d;
    }

    /// A nested object owned by T, stored under dotted names.
    template <class N, class B>
        requires std::is_base_of_v<B, T>
    Decl<int> Object(const char *name, N B::*field)
    {
        TzelPropInfo &p = Add(name, TzelPropKind::Object, QString::fromLatin1(N::StaticClassName));
        p.ObjectClass = &N::StaticClassInfo;
        p.Nested = [field](const TzelPersistent &o) -> TzelPersistent * {
            return const_cast<N *>(&(static_cast<const T &>(o).*field));
        };
        return Decl<int>(p);
    }

    /// A nested object reached through Accessor.
    template <class N, class B>
        requires std::is_base_of_v<B, T>
    Decl<int> Object(const char *name, N &(B::*accessor)())
    {
        TzelPropInfo &p = Add(name, TzelPropKind::Object, QString::fromLatin1(N::StaticClassName));
        p.ObjectClass = &N::StaticClassInfo;
        p.Nested = [accessor](const TzelPersistent &o) -> TzelPersistent * {
            return &(const_cast<T &>(static_cast<const T &>(o)).*accessor)();
        };
        return Decl<int>(p);
    }

    /// A reference to a component of class C, read by Getter and written by Setter.
    template <class C, class A, class B, class D>
        requires std::is_base_of_v<B, T> && std::is_base_of_v<D, T>
    Decl<int> Ref(const char *name, C *(B::*getter)() const, void (D::*setter)(A))
    {
        TzelPropInfo &p = Add(name, TzelPropKind::ComponentRef, QString::fromLatin1(C::StaticClassName));
        p.ObjectClass = &C::StaticClassInfo;
        p.GetRef = [getter](const TzelPersistent &o) -> TzelPersistent * { return (static_cast<const T &>(o).*getter)(); };
        p.SetRef = [setter](TzelPersistent &o, TzelPersistent *ref) {
            (static_cast<T &>(o).*setter)(dynamic_cast<C *>(ref));
        };
        return Decl<int>(p);
    }

    /// A host callback of type TypeName: listed, never stored.
    void Callback(const char *name, const char *typeName)
    {
        Add(name, TzelPropKind::Callback, QString::fromLatin1(typeName));
    }

private:
    // The variant-free writer of a value of type V, where there is one.
    template <class V, class Assign>
    static void Typed(TzelPropInfo &p, Assign assign)
    {
        if constexpr (std::is_same_v<V, double>)
            p.SetFloat = [assign](TzelPersistent &o, double v) { assign(static_cast<T &>(o), v); };
        else if constexpr (std::is_same_v<V, QString>)
            p.SetText = [assign](TzelPersistent &o, const QString &v) { assign(static_cast<T &>(o), v); };
        else if constexpr (std::is_same_v<V, bool>)
            p.SetNumber = [assign](TzelPersistent &o, qint64 v) { assign(static_cast<T &>(o), v != 0); };
        else if constexpr (std::is_same_v<V, int> || std::is_same_v<V, qint64> || std::is_enum_v<V>)
            p.SetNumber = [assign](TzelPersistent &o, qint64 v) { assign(static_cast<T &>(o), V(v)); };
    }

    template <class V>
    TzelPropInfo &Add(const char *name)
    {
        using Traits = TzelPropTraits<V>;
        if constexpr (Traits::Kind == TzelPropKind::Enum || Traits::Kind == TzelPropKind::Set) {
            TzelPropInfo &p = Add(name, Traits::Kind, QString());
            p.Enum = Traits::Enum();
            p.TypeName = p.Enum->TypeName();
            if constexpr (Traits::Kind == TzelPropKind::Set)
                p.TypeName = QStringLiteral("set of ") + p.TypeName;
            return p;
        } else {
            TzelPropInfo &p = Add(name, Traits::Kind, QString::fromLatin1(Traits::TypeName()));
            if constexpr (Traits::Kind == TzelPropKind::Boolean)
                p.Enum = &zelBooleanInfo();
            return p;
        }
    }

    TzelPropInfo &Add(const char *name, TzelPropKind kind, const QString &typeName)
    {
        TzelPropInfo &p = FOut.emplace_back();
        p.Name = QString::fromLatin1(name);
        p.Kind = kind;
        p.TypeName = typeName;
        return p;
    }

    void Retype(TzelPropKind kind, const char *typeName)
    {
        FOut.back().Kind = kind;
        FOut.back().TypeName = QString::fromLatin1(typeName);
    }

    std::vector<TzelPropInfo> &FOut;
};
