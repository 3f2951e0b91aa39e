#pragma once

#include "script/engine/kvvariables.h"

/// Reads a property of an object: the object and the upper-case name.
using TkvGetValueEvent = std::function<Variant(const Variant &instance, const QString &name)>;
/// Writes a property of an object.
using TkvSetValueEvent = std::function<void(const Variant &instance, const QString &name, const Variant &value)>;

// A property of a class binding, served by the host's read and write calls.
class TkvPropertyHelper : public TkvCustomVariable
{
public:
    /// The property Name of type Typ; read-only without a write call.
    TkvPropertyHelper(QString name, TkvVarType typ, QString typeName, TkvGetValueEvent get, TkvSetValueEvent set);

    /// The property of Instance (a Boolean property reads as True or False).
    Variant Get(const Variant &instance) const;
    /// Writes the property of Instance; ignored when read-only.
    void Set(const Variant &instance, const Variant &value) const;

private:
    TkvGetValueEvent FGet;
    TkvSetValueEvent FSet;
    QString FUpperName;
};

// A host class as scripts see it: its members, its ancestor's binding and
// its default indexed property. Objects travel as variants the host gives
// meaning to (0 is nil); the script's OnGetObjectClass names their class.
class TkvClassVariable : public TkvCustomVariable
{
public:
    /// The binding of ClassName, whose members continue in the binding of
    /// AncestorName; types resolve in Script.
    TkvClassVariable(const QString &className, const QString &ancestorName, TkvScript *script);
    ~TkvClassVariable() override;

    QString Ancestor; ///< name of the binding searched after this one

    /// A type cast Class(x) gives x; the class itself gives nil.
    Variant Value() override;

    /// Adds a constructor: "constructor Create(AOwner: TComponent)"; a call
    /// of it has the class's type.
    TkvMethodHelper *AddConstructor(const QString &syntax, TkvCallMethodEvent call);
    /// Adds a method declared by Syntax.
    TkvMethodHelper *AddMethod(const QString &syntax, TkvCallMethodEvent call);
    /// Adds a property; read-only when Set is empty.
    TkvPropertyHelper *AddProperty(const QString &name, const QString &typeName, TkvGetValueEvent get,
                                   TkvSetValueEvent set = nullptr);
    /// Adds an indexed property Name[ParamTypes]: Call gets "NAME.GET" with the
    /// indices, or "NAME.SET" with the indices and the value.
    TkvMethodHelper *AddIndexProperty(const QString &name, const QString &paramTypes, const QString &typeName,
                                      TkvCallMethodEvent call, bool isReadOnly = false);
    /// AddIndexProperty, made the default property (obj[i]).
    TkvMethodHelper *AddDefaultProperty(const QString &name, const QString &paramTypes, const QString &typeName,
                                        TkvCallMethodEvent call, bool isReadOnly = false);

    /// The member Name of this class or an ancestor; nullptr when none.
    TkvCustomVariable *Find(const QString &name) const;
    /// The default property of this class or an ancestor.
    TkvMethodHelper *DefaultProperty() const;
    /// Whether this class is ClassName or descends from it.
    bool InheritsFrom(const QString &className) const;
    /// The binding of the ancestor; nullptr when none.
    TkvClassVariable *AncestorClass() const;

    /// Number of members.
    int MembersCount() const { return int(FMembers.size()); }
    /// Member I, in registration order.
    TkvCustomVariable *Members(int i) const { return FMembers[size_t(i)].get(); }

private:
    TkvCustomVariable *AddMember(std::unique_ptr<TkvCustomVariable> member);

    std::vector<std::unique_ptr<TkvCustomVariable>> FMembers;
    TkvMethodHelper *FDefProperty = nullptr;
    TkvScript *FScript;
};
