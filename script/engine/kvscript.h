#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "script/engine/kvtypes.h"

#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class TkvCustomEvent;
class TkvCustomVariable;
class TkvProcVariable;
class TkvRTTIModule;
class TkvStatementList;
class TkvMethodHelper;
struct TkvRunState;

/// Called before each statement runs: the statement's script, unit (empty
/// for the main text) and position "line:column". The debugger's hook.
using TkvRunLineEvent = std::function<void(class TkvScript *sender, const QString &unitName, const QString &pos)>;
/// Gives the text of a unit (source or program tree); False when unknown.
using TkvGetUnitEvent = std::function<bool(const QString &unitName, QString &text)>;
/// Read hook of variables: returns the value to read, Null for the stored one.
using TkvGetVariableValueEvent = std::function<Variant(const QString &name, TkvVarType typ, const Variant &stored)>;

/// One call of a host method: the object (Null for plain functions), the
/// member name in upper case and the arguments, by-reference ones writable.
struct TkvMethodCall
{
    const Variant &Instance;   ///< the object the method is called on
    const QString &Name;       ///< upper-case name (".GET"/".SET" for indexed properties)
    std::span<Variant> Params; ///< one per parameter, defaults filled in
    TkvMethodHelper &Method;   ///< the member being called
    class TkvScript &Script;   ///< the calling script
};
/// A host method: gets the call, returns its result (ignored for procedures).
using TkvCallMethodEvent = std::function<Variant(TkvMethodCall &call)>;

/// One script program: a symbol table of named entries, a main statement list,
/// and the operations to compile source text, run it, call its procedures from
/// the host and evaluate single expressions. Procedures own local scripts whose
/// Parent is the declaring scope, so lookup walks from the innermost scope out.
class TkvScript
{
public:
    /// A script whose names are looked up in Parent after its own.
    explicit TkvScript(TkvScript *parent = nullptr);
    virtual ~TkvScript();
    TkvScript(const TkvScript &) = delete;
    TkvScript &operator=(const TkvScript &) = delete;

    // What the compilation reads.
    QStringList Lines;                          ///< the source text
    QString SyntaxType = QStringLiteral("PascalScript"); ///< the language
    TkvGetUnitEvent OnGetUnit;                  ///< source text of a unit
    TkvGetUnitEvent OnGetILUnit;                ///< program tree of a unit (SetILCode)
    TkvGetVariableValueEvent OnGetVarValue;     ///< read hook given to new variables
    QStringList IncludePath{QString()};         ///< folders searched for units
    bool ExtendedCharset = false;               ///< codes 128..255 are identifier characters
    bool UseClassLateBinding = false;           ///< unknown class members resolve at run time
    bool ClearLocalVars = false;                ///< reset locals after each procedure call
    QStringList Macros;                         ///< kept for hosts; unused by the engine
    const void *AddedBy = nullptr;              ///< stamped on entries added while set
    /// Host members that write or read files, start programs, print or open
    /// windows refuse to run in this script and its inner scopes (for
    /// templates from untrusted sources).
    bool Restricted = false;

    /// Whether this script or an enclosing one is Restricted.
    bool IsRestricted() const;
    /// Raises "What is not allowed in restricted mode" when IsRestricted.
    void CheckAllowed(const QString &what) const;

    /// The hook called before each statement runs (empty for none).
    const TkvRunLineEvent &OnRunLine() const { return FOnRunLine; }
    /// Sets or clears the hook.
    void SetOnRunLine(TkvRunLineEvent handler);

    /// The enclosing scope.
    TkvScript *Parent() const { return FParent; }
    /// Makes Parent the enclosing scope.
    void SetParent(TkvScript *parent);

    // The last compile or run error.
    QString ErrorMsg;  ///< message, empty when none
    QString ErrorPos;  ///< "line:column"
    QString ErrorUnit; ///< unit name, empty for the main text
    /// The last error as "line:column: message", the unit before the
    /// position when the error is in one ("tools.pas 3:7: message").
    QString ErrorText() const;
    /// Whether the last Evaluate failed (its value is then the message).
    bool EvaluteRiseError() const { return FEvaluateFailed; }

    /// Number of entries of this scope.
    int Count() const { return int(FItems.size()); }
    /// Entry I in sorted name order.
    TkvCustomVariable *Items(int i) const { return FItems[i].Item; }
    /// Value of the entry Name (this scope, then parents); Null when absent.
    Variant Variables(const QString &name) const;
    /// Sets the value of Name, adding a Variant variable when absent.
    void SetVariables(const QString &name, const Variant &value);

    /// The running procedure's local script (on the main program).
    TkvScript *ProgRunning() const { return FProgRunning; }
    /// Name of the running procedure.
    QString ProgName() const;
    /// Whether the script or one of its procedures is running.
    bool IsRunning() const { return FIsRunning; }
    /// The main statement list.
    TkvStatementList &Statement() { return *FStatement; }

    // Registration. The names of entries are case-insensitive.
    /// Adds Item (owned) under Name, stamped with AddedBy.
    void Add(const QString &name, TkvCustomVariable *item);
    /// Adds the named type TypeName of the type ParentType names.
    virtual void AddType(const QString &typeName, TkvVarType parentType);
    /// Adds a read-only constant of the type TypeName names.
    virtual void AddConst(const QString &name, const QString &typeName, const Variant &value);
    /// Adds a variable of the type TypeName names.
    virtual void AddVariable(const QString &name, const QString &typeName, const Variant &value);
    /// Adds the enumeration TypeName with the comma-separated Names = 0, 1, 2...
    virtual void AddEnum(const QString &typeName, const QString &names);
    /// Adds the set type TypeName with the comma-separated Names = 1, 2, 4...
    virtual void AddEnumSet(const QString &typeName, const QString &names);
    /// Adds a host function or procedure declared by Syntax
    /// ("function IntToStr(i: Integer): String").
    virtual TkvMethodHelper *AddMethod(const QString &syntax, TkvCallMethodEvent call,
                                       const QString &category = QString(), const QString &description = QString());
    /// Adds the binding of a host class whose members continue in the binding
    /// of AncestorName; nullptr when the name is already visible.
    virtual class TkvClassVariable *AddClass(const QString &className, const QString &ancestorName);
    /// The class binding Name, visible from this scope; nullptr when none.
    class TkvClassVariable *FindClass(const QString &name) const;
    /// Names the class of an object value, for "is" and for members reached
    /// through Variant values; the host that hands objects to scripts sets it.
    std::function<QString(const Variant &object)> OnGetObjectClass;
    /// The class binding of Object: through OnGetObjectClass of this script or
    /// the first parent that has one; nullptr when unknown.
    class TkvClassVariable *ClassOf(const Variant &object) const;
    /// Instantiates every registered binding module not yet instantiated for
    /// this script (modules registered later join on the next call).
    void AddRTTI();
    /// Removes the binding modules and what they added.
    void ClearRTTI();
    /// Frees and removes Item.
    void Remove(TkvCustomVariable *item);
    /// Frees and removes the entries added while AddedBy was Owner.
    void RemoveItems(const void *owner);
    /// RemoveItems, then empties the main statement list.
    void ClearItems(const void *owner);
    /// Frees everything but the binding modules' entries; clears the errors.
    void Clear();
    /// The entry Name in this scope or a parent's; nullptr when absent.
    TkvCustomVariable *Find(const QString &name) const;
    /// The entry Name in this scope only.
    TkvCustomVariable *FindLocal(const QString &name) const;

    // Compilation and execution.
    /// Compiles Lines in SyntaxType; False with ErrorMsg and ErrorPos set.
    bool Compile();
    /// Writes the program tree of Lines to Stream (first stage only).
    bool GetILCode(QIODevice &stream);
    /// Compiles the program tree read from Stream.
    bool SetILCode(QIODevice &stream);
    /// Runs the main statement list. An uncaught error propagates as
    /// TkvRunError, with ErrorMsg, ErrorPos and ErrorUnit set.
    void Execute();
    /// Compile, then Execute on success; False when the compile failed.
    bool Run();
    /// Stops the running program before its next statement; callable from
    /// any thread and from hooks and host methods.
    void Terminate();
    /// Whether Terminate stopped the last run.
    bool Terminated() const;

    /// Calls the procedure Name (in this scope, or visible when Global) with
    /// Params (a variant array, or a single value, or Empty for none); Null
    /// when there is no such procedure.
    Variant CallFunction(const QString &name, const Variant &params = Variant(), bool global = false);
    /// CallFunction, copying the parameters back into Params afterwards.
    Variant CallFunction1(const QString &name, Variant &params, bool global = false);
    /// Calls Proc with Params.
    Variant CallFunction2(TkvProcVariable *proc, const Variant &params = Variant());
    /// Calls Proc with Args, one per parameter; by-reference parameters'
    /// final values are written back into Args. Errors propagate.
    Variant Call(TkvProcVariable *proc, std::span<Variant> args);

    /// Takes Event, replacing the adapter of the same object and event.
    void AddEvent(std::unique_ptr<TkvCustomEvent> event);
    /// Frees the adapter of Instance's event EventName, if any.
    void RemoveEvent(const Variant &instance, const QString &eventName);
    /// The outermost script of the program: the first one not local to a procedure.
    TkvScript *MainScript();
    /// Value of Expression in the script's language and the running scope;
    /// on failure the error message (and EvaluteRiseError is set).
    Variant Evaluate(const QString &expression);

    /// Marks the line of Pos ("line:column") of UnitName as executable.
    void AddCodeLine(const QString &unitName, const QString &pos);
    /// Whether a statement starts on Line of UnitName (where a breakpoint can stop).
    bool IsExecutableLine(int line, const QString &unitName = QString()) const;

    /// The shared scope holding every binding module; hosts make it Parent.
    static TkvScript *GlobalUnit();

private:
    friend class TkvCompiler;
    friend class TkvProcVariable;
    friend class TkvStatement;

    struct Entry
    {
        QString Key; // upper case
        TkvCustomVariable *Item;
        bool Owned;
    };
    size_t LowerBound(const QString &key) const;
    // The entry under the upper-case Key in this scope.
    TkvCustomVariable *FindKey(const QString &key) const;
    void Insert(const QString &name, TkvCustomVariable *item, bool owned);
    // Removes Item from the table without freeing it.
    void Detach(TkvCustomVariable *item);
    void FreeEntries(const std::function<bool(TkvCustomVariable *)> &which);
    // Runs in the run state of Other (procedures share their scope's).
    void ShareRunState(const TkvScript &other);
    void PrepareParser(class TkvILParser &parser) const;
    bool CompileTree(const class TkvXMLDocument &tree, const class TkvXMLDocument &grammar, bool declareVars,
                     const QString &source);
    bool Fail(const QString &message, const QString &pos, const QString &unit);

    TkvScript *FParent = nullptr;
    TkvProcVariable *FOwnerProc = nullptr; // the procedure this is the local scope of
    std::vector<Entry> FItems;
    std::vector<std::unique_ptr<TkvRTTIModule>> FModules;
    std::vector<std::unique_ptr<TkvCustomEvent>> FEvents; // freed first: they refer to procedures
    std::unique_ptr<TkvStatementList> FStatement;
    std::shared_ptr<TkvRunState> FRun;
    TkvScript *FProgRunning = nullptr;
    QString FProgName;
    bool FIsRunning = false;
    bool FRTTIAdded = false;
    bool FEvaluateFailed = false;
    bool FRunLineMuted = false; // while Evaluate runs its own code
    TkvRunLineEvent FOnRunLine;
    QHash<QString, QList<int>> FCodeLines; // sorted line numbers per unit
};
