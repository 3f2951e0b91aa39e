#pragma once
/// \file

#include "script/engine/kvscript.h"

#include <memory>
#include <vector>

class TkvParamItem;

/// The base of every symbol-table entry: a named, typed value with optional
/// parameters. Entries are created by declarations and by hosts.
class TkvCustomVariable
{
public:
    /// What an entry is, for the compiler's dispatch.
    enum class Kind : quint8 { Variable, Type, Procedure, Method, Class, Property };

    /// An entry of Kind named Name with static type Typ.
    TkvCustomVariable(Kind kind, QString name, TkvVarType typ, QString typeName = QString());
    virtual ~TkvCustomVariable();
    TkvCustomVariable(const TkvCustomVariable &) = delete;
    TkvCustomVariable &operator=(const TkvCustomVariable &) = delete;

    /// What the entry is.
    Kind EntryKind() const { return FKind; }

    QString Name;                          ///< the identifier as declared
    TkvVarType Typ;                        ///< static type
    QString TypeName;                      ///< class, enumeration or declared type name
    bool IsReadOnly = false;               ///< constants, enumeration values, procedures
    bool IsMacro = false;                  ///< receives the source text of its arguments
    bool NeedResult = true;                ///< cleared by a caller that discards the value
    TkvCustomVariable *RefItem = nullptr;  ///< a function's Result variable
    QString SourcePos;                     ///< declaration position "line:column"
    QString SourceUnit;                    ///< declaration unit, empty for the main text
    const void *AddedBy = nullptr;         ///< owner tag of host entries
    TkvGetVariableValueEvent OnGetVarValue; ///< read hook

    /// The value (a call, for procedures and methods).
    virtual Variant Value();
    /// Writes the value; ignored while IsReadOnly.
    virtual void SetValue(const Variant &value);
    /// The stored value.
    Variant *PValue() { return &FValue; }

    /// Number of formal parameters.
    int ParamCount() const { return int(FParams.size()); }
    /// Parameter I.
    TkvParamItem *Params(int i) const { return FParams[size_t(i)].get(); }
    /// Number of parameters before the first optional one.
    int RequiredParamCount() const;
    /// Appends a parameter (owned).
    TkvParamItem *AddParam(std::unique_ptr<TkvParamItem> param);

protected:
    Variant FValue; ///< the value
    std::vector<std::unique_ptr<TkvParamItem>> FParams; ///< the parameters, in order

private:
    Kind FKind;
};

/// A variable or constant. Writing converts the value to the declared type.
class TkvVariable : public TkvCustomVariable
{
public:
    /// A variable Name of type Typ, initially Null.
    TkvVariable(QString name, TkvVarType typ, QString typeName = QString());
    ~TkvVariable() override;

    Variant Value() override;
    void SetValue(const Variant &value) override;

    /// Whether reads go through a hook (otherwise PValue is the value).
    bool HasReadHook() const { return bool(OnGetVarValue); }
    /// Stores Value converted to the declared type, ignoring IsReadOnly.
    void Store(Variant &&value)
    {
        if (FCode == varVariant || value.VarType() == FCode)
            FValue = std::move(value);
        else
            StoreConverted(value);
    }
    /// Converts what an in-place operation left in the storage back to the
    /// declared type.
    void Normalize()
    {
        if (FCode != varVariant && FValue.VarType() != FCode)
            StoreConverted(Variant(FValue));
    }
    /// The initial value of the declared type: 0, False, '' or Null.
    Variant InitialValue() const;

private:
    void StoreConverted(const Variant &value);
    quint16 FCode; // storage type code, varVariant for none
};

// A variable that keeps a string (Char and String variables).
class TkvStringVariable : public TkvVariable
{
public:
    using TkvVariable::TkvVariable;
};

/// A named type: only its Typ matters.
class TkvTypeVariable : public TkvCustomVariable
{
public:
    /// The type Name standing for Typ.
    TkvTypeVariable(QString name, TkvVarType typ);
};

/// A formal parameter; its value is the argument during a call.
class TkvParamItem : public TkvVariable
{
public:
    using TkvVariable::TkvVariable;

    Variant DefValue = Variant::Null(); ///< value of an omitted optional argument
    bool IsOptional = false;            ///< may be omitted
    bool IsVarParam = false;            ///< passed by reference
};

/// A procedure or function of the script, with its own local scope.
class TkvProcVariable : public TkvCustomVariable
{
public:
    /// A procedure (or function when IsFunc) declared in Scope.
    TkvProcVariable(QString name, bool isFunc, TkvVarType typ, QString typeName, TkvScript *scope);
    ~TkvProcVariable() override;

    /// Calls the procedure with the parameters' current values.
    Variant Value() override;

    /// Whether it is a function.
    bool IsFunc() const { return FIsFunc; }
    /// Whether a call is in progress.
    bool Executing() const { return FExecuting; }
    /// The local scope: parameters, locals, nested procedures and the body.
    TkvScript *Prog() const { return FProg.get(); }
    /// The function's Result variable (nullptr for procedures).
    TkvVariable *Result() const { return FResult; }

    /// Calls with Args, one per parameter (moved into the parameters); when
    /// the procedure is already running, its locals are saved around the call.
    /// By-reference parameters' final values are moved back into Args.
    Variant Invoke(std::span<Variant> args);

private:
    friend class TkvCompiler;
    struct Frame;
    Variant RunBody();
    void CollectLocals();

    std::unique_ptr<TkvScript> FProg;
    TkvScript *FMain; // the program's outermost script
    TkvVariable *FResult = nullptr;
    std::vector<TkvVariable *> FLocals; // parameters, Result and local variables
    std::vector<Variant> FSaved;        // locals of the calls in progress
    bool FIsFunc;
    bool FExecuting = false;
};

/// A function or procedure implemented by the host.
class TkvMethodHelper : public TkvCustomVariable
{
public:
    /// The method declared by Syntax, served by Call; types resolve in Scope.
    TkvMethodHelper(const QString &syntax, TkvCallMethodEvent call, TkvScript *scope);

    /// Calls with the parameters' current values and no object.
    Variant Value() override;
    /// Calls with Args (by-reference ones are written) on Instance.
    Variant Call(const Variant &instance, std::span<Variant> args, TkvScript &script);
    /// Calls an indexed property: a read gets "NAME.GET" with the indices, a
    /// write "NAME.SET" with the indices and the value last.
    Variant CallIndexed(const Variant &instance, std::span<Variant> args, TkvScript &script, bool write);

    QString Syntax;          ///< the declaration it was made from
    QString Category;        ///< function-tree category ("ctString")
    QString Description;     ///< shown to users; the name by default
    bool IndexMethod = false; ///< implements an indexed property

private:
    Variant Call(const Variant &instance, std::span<Variant> args, TkvScript &script, const QString &name);

    TkvCallMethodEvent FCall;
    QString FUpperName;
    TkvScript *FScope;
};
