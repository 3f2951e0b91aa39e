#pragma once
/// \file

#include "script/engine/kvvariables.h"

class TkvCustomEvent;
class TkvEventHelper;
class TkvEventTarget;
/// Makes the adapter of one event signature for a target.
using TkvEventFactory = std::function<std::unique_ptr<TkvCustomEvent>(const TkvEventTarget &target)>;

/// Reads a property of an object: the object and the upper-case name.
using TkvGetValueEvent = std::function<Variant(const Variant &instance, const QString &name)>;
/// Writes a property of an object.
using TkvSetValueEvent = std::function<void(const Variant &instance, const QString &name, const Variant &value)>;

/// A property of a class binding, served by the host's read and write calls.
class TkvPropertyHelper : public TkvCustomVariable
{
public:
    /// The property Name of type Typ; read-only without a write call.
    TkvPropertyHelper(QString name, TkvVarType typ, QString typeName, TkvGetValueEvent get, TkvSetValueEvent set);

    /// The property of Instance (a Boolean property reads as True or False),
    /// read for the running Script.
    virtual Variant Get(const Variant &instance, TkvScript &script) const;
    /// Writes the property of Instance; ignored when read-only.
    virtual void Set(const Variant &instance, const Variant &value, TkvScript &script) const;

private:
    TkvGetValueEvent FGet;
    TkvSetValueEvent FSet;
    QString FUpperName;
};

/// A component owned by the object, reached as a member named after it
/// (Form1.Button1): found among the object's components when read, never
/// written.
class TkvComponentHelper : public TkvPropertyHelper
{
public:
    /// The member for the component Name of class ClassName.
    TkvComponentHelper(const QString &name, const QString &className);

    /// The component of Instance with this name; an error when it has none.
    Variant Get(const Variant &instance, TkvScript &script) const override;
    /// Always an error: a component member cannot be assigned.
    void Set(const Variant &instance, const Variant &value, TkvScript &script) const override;
};

/// A host class as scripts see it: its members, its ancestor's binding and
/// its default indexed property. Objects travel as variants the host gives
/// meaning to (0 is nil); the script's OnGetObjectClass names their class.
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

    /// Adds the event property Name, whose handlers are adapters Factory makes.
    TkvEventHelper *AddEvent(const QString &name, TkvEventFactory factory);
    /// The member for the owned component Name of class ClassName: the
    /// existing component member, a new one, or nullptr when another member
    /// has that name.
    TkvComponentHelper *AddComponent(const QString &name, const QString &className);

    /// The member Name of this class or an ancestor (component members only
    /// when IncludeComponents); nullptr when none.
    TkvCustomVariable *Find(const QString &name, bool includeComponents = true) const;
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
