#pragma once
/// \file

#include "script/engine/kvclassvariable.h"

#include <functional>

/// Reads a property of the object Self.
using TkvGetter = std::function<Variant(const Variant &self)>;
/// Writes a property of the object Self.
using TkvSetter = std::function<void(const Variant &self, const Variant &value)>;

/// Adds the members of one class binding of the GUI modules. Declarations
/// that name enumerations and sets take their values (kvTypeParams), and in
/// native mode every member runs through kvNativeCall, so an error of an event
/// handler it fires reaches the script. When another binding already made the
/// class, its members are left as they are and these are not added.
class TkvBinder
{
public:
    /// The binding ClassName with Ancestor in Script.
    TkvBinder(TkvScript &script, const QString &className, const QString &ancestor, bool native = false);
    /// Members of Binding, a class made before (nullptr: none are added).
    TkvBinder(TkvScript &script, TkvClassVariable *binding, bool native = false)
        : FScript(script), FClass(binding), FNative(native)
    {
    }

    /// The binding; nullptr when another binding made the class.
    TkvClassVariable *Class() const { return FClass; }

    /// Adds a method declared by Syntax.
    void Method(const char *syntax, TkvCallMethodEvent call);
    /// Adds a constructor declared by Syntax ("constructor Create(AOwner: TComponent)").
    void Constructor(const char *syntax, TkvCallMethodEvent call);
    /// Adds a property of Type; read-only without Set.
    void Prop(const char *name, const char *type, TkvGetter get, TkvSetter set = nullptr);
    /// Adds the indexed property Name[Params] of Type; with IsDefault it is
    /// the class's default property.
    void Indexed(const char *name, const char *params, const char *type, TkvCallMethodEvent call, bool readOnly = false,
                 bool isDefault = false);
    /// Adds the event Name, whose adapters Factory makes.
    void Event(const char *name, TkvEventFactory factory);

private:
    TkvCallMethodEvent Wrap(TkvCallMethodEvent call) const;

    TkvScript &FScript;
    TkvClassVariable *FClass;
    bool FNative;
};
