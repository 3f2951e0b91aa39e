#include "script/engine/kvscript.h"

#include "base/core/zelformat.h"
#include "script/compile/kvcompiler.h"
#include "script/engine/kvclassvariable.h"
#include "script/engine/kvevents.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvobjects.h"
#include "script/engine/kvrttimodule.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvvariables.h"
#include "script/exec/kvrunstate.h"
#include "script/exec/kvstatements.h"
#include "script/grammar/kvilparser.h"

#include <QBuffer>

namespace {

// The owner tag of the entries binding modules add.
const char kBindingMarker = 0;

QString upper(const QString &name)
{
    return name.toUpper();
}

} // namespace

TkvScript::TkvScript(TkvScript *parent)
    : FParent(parent), FRun(std::make_shared<TkvRunState>())
{
    FStatement = std::make_unique<TkvStatementList>(TkvStatementPos{this, 0, 0, QString()});
}

TkvScript::~TkvScript()
{
    SetOnRunLine(nullptr);
    FEvents.clear();
    FStatement.reset();
    FreeEntries([](TkvCustomVariable *) { return true; });
    FModules.clear();
}

void TkvScript::SetOnRunLine(TkvRunLineEvent handler)
{
    if (bool(FOnRunLine) != bool(handler))
        kvRunLineHooks.fetch_add(handler ? 1 : -1);
    FOnRunLine = std::move(handler);
}

void TkvScript::SetParent(TkvScript *parent)
{
    FParent = parent;
}

void TkvScript::ShareRunState(const TkvScript &other)
{
    FRun = other.FRun;
    FStatement = std::make_unique<TkvStatementList>(TkvStatementPos{this, 0, 0, QString()});
}

TkvScript *TkvScript::MainScript()
{
    TkvScript *s = this;
    while (s->FOwnerProc && s->FParent)
        s = s->FParent;
    return s;
}

QString TkvScript::ProgName() const
{
    const TkvScript *running = FRun->ProgRunning;
    return running && running->FOwnerProc ? running->FOwnerProc->Name : QString();
}

size_t TkvScript::LowerBound(const QString &key) const
{
    return size_t(std::lower_bound(FItems.begin(), FItems.end(), key,
                                   [](const Entry &e, const QString &k) { return e.Key < k; })
                  - FItems.begin());
}

void TkvScript::Insert(const QString &name, TkvCustomVariable *item, bool owned)
{
    const QString key = upper(name);
    const auto at = std::upper_bound(FItems.begin(), FItems.end(), key,
                                     [](const QString &k, const Entry &e) { return k < e.Key; });
    FItems.insert(at, Entry{key, item, owned});
}

void TkvScript::Add(const QString &name, TkvCustomVariable *item)
{
    if (AddedBy)
        item->AddedBy = AddedBy;
    Insert(name, item, true);
}

void TkvScript::Detach(TkvCustomVariable *item)
{
    std::erase_if(FItems, [item](const Entry &e) { return e.Item == item; });
}

void TkvScript::FreeEntries(const std::function<bool(TkvCustomVariable *)> &which)
{
    std::vector<Entry> kept;
    std::vector<TkvCustomVariable *> freed;
    for (Entry &e : FItems) {
        if (which(e.Item)) {
            if (e.Owned)
                freed.push_back(e.Item);
        } else {
            kept.push_back(std::move(e));
        }
    }
    FItems = std::move(kept);
    for (TkvCustomVariable *item : freed)
        delete item;
}

Variant TkvScript::Variables(const QString &name) const
{
    TkvCustomVariable *entry = Find(name);
    return entry ? entry->Value() : Variant::Null();
}

void TkvScript::SetVariables(const QString &name, const Variant &value)
{
    if (TkvCustomVariable *entry = Find(name))
        entry->SetValue(value);
    else
        AddVariable(name, QStringLiteral("Variant"), value);
}

TkvCustomVariable *TkvScript::FindKey(const QString &key) const
{
    const size_t at = LowerBound(key);
    return at < FItems.size() && FItems[at].Key == key ? FItems[at].Item : nullptr;
}

TkvCustomVariable *TkvScript::FindLocal(const QString &name) const
{
    return FindKey(upper(name));
}

TkvCustomVariable *TkvScript::Find(const QString &name) const
{
    const QString key = upper(name);
    for (const TkvScript *s = this; s; s = s->FParent)
        if (TkvCustomVariable *entry = s->FindKey(key))
            return entry;
    return nullptr;
}

namespace {

// The type Name stands for in Script: a type entry's, fvtClass otherwise.
TkvVarType typeByName(const TkvScript &script, const QString &name)
{
    const TkvCustomVariable *entry = script.Find(name);
    return entry && entry->EntryKind() == TkvCustomVariable::Kind::Type ? entry->Typ : fvtClass;
}

} // namespace

void TkvScript::AddType(const QString &typeName, TkvVarType parentType)
{
    if (!Find(typeName))
        Add(typeName, new TkvTypeVariable(typeName, parentType));
}

void TkvScript::AddConst(const QString &name, const QString &typeName, const Variant &value)
{
    if (Find(name))
        return;
    auto *constant = new TkvVariable(name, typeByName(*this, typeName), typeName);
    constant->Store(Variant(value));
    constant->IsReadOnly = true;
    Add(name, constant);
}

void TkvScript::AddVariable(const QString &name, const QString &typeName, const Variant &value)
{
    if (Find(name))
        return;
    const TkvVarType typ = typeByName(*this, typeName);
    TkvVariable *variable = typ == fvtString || typ == fvtChar ? new TkvStringVariable(name, typ, typeName)
                                                               : new TkvVariable(name, typ, typeName);
    variable->Store(Variant(value));
    variable->OnGetVarValue = OnGetVarValue;
    Add(name, variable);
}

namespace {

// An enumeration type entry, then one read-only value per name.
void addEnumeration(TkvScript &script, const QString &typeName, const QString &names, bool isSet)
{
    auto *type = new TkvVariable(typeName, fvtEnum, typeName);
    type->IsReadOnly = true;
    script.Add(typeName, type);
    qint32 value = isSet ? 1 : 0;
    for (const QString &name : names.split(QLatin1Char(','))) {
        auto *item = new TkvVariable(name.trimmed(), fvtEnum, typeName);
        item->Store(Variant(value));
        value = isSet ? qint32(quint32(value) << 1) : value + 1;
        item->IsReadOnly = true;
        script.Add(item->Name, item);
    }
}

} // namespace

void TkvScript::AddEnum(const QString &typeName, const QString &names)
{
    addEnumeration(*this, typeName, names, false);
}

void TkvScript::AddEnumSet(const QString &typeName, const QString &names)
{
    addEnumeration(*this, typeName, names, true);
}

TkvMethodHelper *TkvScript::AddMethod(const QString &syntax, TkvCallMethodEvent call, const QString &category,
                                      const QString &description)
{
    auto *method = new TkvMethodHelper(syntax, std::move(call), this);
    method->Category = category;
    if (!description.isEmpty())
        method->Description = description;
    Add(method->Name, method);
    return method;
}

TkvClassVariable *TkvScript::AddClass(const QString &className, const QString &ancestorName)
{
    if (Find(className))
        return nullptr;
    auto *binding = new TkvClassVariable(className, ancestorName, this);
    Add(className, binding);
    return binding;
}

TkvClassVariable *TkvScript::FindClass(const QString &name) const
{
    TkvCustomVariable *entry = Find(name);
    return entry && entry->EntryKind() == TkvCustomVariable::Kind::Class ? static_cast<TkvClassVariable *>(entry)
                                                                         : nullptr;
}

TkvClassVariable *TkvScript::ClassOf(const Variant &object) const
{
    for (const TkvScript *s = this; s; s = s->FParent)
        if (s->OnGetObjectClass)
            if (const QString name = s->OnGetObjectClass(object); !name.isEmpty())
                return FindClass(name);
    const QString name = TkvObjects::ClassName(object);
    return name.isEmpty() ? nullptr : FindClass(name);
}

bool TkvScript::IsRestricted() const
{
    for (const TkvScript *s = this; s; s = s->FParent)
        if (s->Restricted)
            return true;
    return false;
}

void TkvScript::CheckAllowed(const QString &what) const
{
    if (IsRestricted())
        throw TkvRunError(zelFormat(kvMessage("SRestricted"), {what}), QStringLiteral("Exception"));
}

void TkvScript::AddEvent(std::unique_ptr<TkvCustomEvent> event)
{
    RemoveEvent(event->Target().Instance, event->Target().EventName);
    FEvents.push_back(std::move(event));
}

void TkvScript::RemoveEvent(const Variant &instance, const QString &eventName)
{
    for (auto it = FEvents.begin(); it != FEvents.end(); ++it)
        if (Variant::Identical((*it)->Target().Instance, instance)
            && (*it)->Target().EventName.compare(eventName, Qt::CaseInsensitive) == 0) {
            const std::unique_ptr<TkvCustomEvent> gone = std::move(*it);
            FEvents.erase(it);
            return;
        }
}

void TkvScript::AddRTTI()
{
    // Modules registered since the last call join too, in their order.
    FRTTIAdded = true;
    if (FModules.size() >= kvRTTIModuleCount())
        return;
    const std::vector<TkvRTTIModuleFactory> modules = kvRTTIModules();
    const void *added = AddedBy;
    AddedBy = &kBindingMarker;
    for (size_t i = FModules.size(); i < modules.size(); ++i)
        FModules.push_back(modules[i](this));
    AddedBy = added;
}

void TkvScript::ClearRTTI()
{
    FModules.clear();
    FreeEntries([](TkvCustomVariable *item) { return item->AddedBy == &kBindingMarker; });
    FRTTIAdded = false;
}

void TkvScript::Remove(TkvCustomVariable *item)
{
    FreeEntries([item](TkvCustomVariable *e) { return e == item; });
}

void TkvScript::RemoveItems(const void *owner)
{
    FreeEntries([owner](TkvCustomVariable *item) { return item->AddedBy == owner; });
}

void TkvScript::ClearItems(const void *owner)
{
    FEvents.clear();
    RemoveItems(owner);
    FStatement->Clear();
    FCodeLines.clear();
}

void TkvScript::Clear()
{
    FEvents.clear();
    FStatement->Clear();
    FreeEntries([](TkvCustomVariable *item) { return item->AddedBy != &kBindingMarker; });
    FCodeLines.clear();
    ErrorMsg.clear();
    ErrorPos.clear();
    ErrorUnit.clear();
}

QString TkvScript::ErrorText() const
{
    const QString unit = ErrorUnit.isEmpty() ? QString() : ErrorUnit + QLatin1Char(' ');
    return unit + ErrorPos + QStringLiteral(": ") + ErrorMsg;
}

bool TkvScript::Fail(const QString &message, const QString &pos, const QString &unit)
{
    ErrorMsg = message;
    ErrorPos = pos;
    ErrorUnit = unit;
    return false;
}

void TkvScript::PrepareParser(TkvILParser &parser) const
{
    parser.SelectLanguage(SyntaxType);
    parser.ExtendedCharset = ExtendedCharset;
    parser.IncludePath = IncludePath;
    parser.OnGetUnit = OnGetUnit;
}

bool TkvScript::Compile()
{
    ErrorMsg.clear();
    ErrorUnit.clear();
    TkvILParser parser;
    try {
        PrepareParser(parser);
        const QString source = Lines.join(QLatin1Char('\n'));
        if (!parser.MakeILScript(source))
            return Fail(parser.ErrorMsg, parser.ErrorPos, parser.ErrorUnit);
        return CompileTree(parser.ILScript, parser.Grammar(), parser.NeedDeclareVars(), source);
    } catch (const TzelException &e) {
        return Fail(e.message(), QString(), QString());
    }
}

bool TkvScript::GetILCode(QIODevice &stream)
{
    ErrorMsg.clear();
    TkvILParser parser;
    try {
        PrepareParser(parser);
        if (!parser.MakeILScript(Lines.join(QLatin1Char('\n'))))
            return Fail(parser.ErrorMsg, parser.ErrorPos, parser.ErrorUnit);
        parser.ILScript.SaveToStream(&stream);
    } catch (const TzelException &e) {
        return Fail(e.message(), QString(), QString());
    }
    ErrorPos.clear();
    return true;
}

bool TkvScript::SetILCode(QIODevice &stream)
{
    ErrorMsg.clear();
    TkvILParser parser;
    try {
        parser.SelectLanguage(SyntaxType);
        TkvXMLDocument tree;
        tree.LoadFromStream(&stream);
        return CompileTree(tree, parser.Grammar(), parser.NeedDeclareVars(), QString());
    } catch (const TzelException &e) {
        return Fail(e.message(), QString(), QString());
    }
}

bool TkvScript::CompileTree(const TkvXMLDocument &tree, const TkvXMLDocument &grammar, bool declareVars,
                            const QString &source)
{
    TkvCompiler compiler(this, grammar, declareVars, source);
    compiler.OnGetILUnit = OnGetILUnit;
    if (!compiler.Compile(tree))
        return Fail(compiler.ErrorMsg, compiler.ErrorPos, compiler.ErrorUnit);
    ErrorPos.clear();
    return true;
}

void TkvScript::Execute()
{
    FRun->Terminated = false;
    FIsRunning = true;
    struct Done
    {
        TkvScript &S;
        ~Done() { S.FIsRunning = false; }
    } done{*this};
    const TkvActiveRun active(*FRun);
    try {
        FStatement->Run();
    } catch (const TkvRunError &e) { // the list made every library error one
        Fail(e.message(), e.Located() ? e.Pos() : QString(), e.Unit());
        throw;
    }
}

bool TkvScript::Run()
{
    if (!Compile())
        return false;
    Execute();
    return true;
}

void TkvScript::Terminate()
{
    FRun->Terminated = true;
}

bool TkvScript::Terminated() const
{
    return FRun->Terminated;
}

Variant TkvScript::CallFunction(const QString &name, const Variant &params, bool global)
{
    Variant copy = params;
    return CallFunction1(name, copy, global);
}

Variant TkvScript::CallFunction1(const QString &name, Variant &params, bool global)
{
    auto *proc = dynamic_cast<TkvProcVariable *>(global ? Find(name) : FindLocal(name));
    if (!proc)
        return Variant::Null();
    std::vector<Variant> args(size_t(proc->ParamCount()));
    const bool isArray = params.IsArray();
    const int low = isArray ? params.ArrayLowBound(1) : 0;
    const int given = isArray ? params.ArrayHighBound(1) - low + 1 : params.IsEmpty() ? 0 : 1;
    for (int i = 0; i < proc->ParamCount(); ++i) {
        if (i < given)
            args[size_t(i)] = isArray ? params.GetElement(low + i) : params;
        else
            args[size_t(i)] = proc->Params(i)->DefValue;
    }
    const Variant result = Call(proc, args);
    for (int i = 0; i < given && i < proc->ParamCount(); ++i) {
        if (!proc->Params(i)->IsVarParam)
            continue;
        if (isArray)
            params.PutElement(low + i, args[size_t(i)]);
        else
            params = args[size_t(i)];
    }
    return result;
}

Variant TkvScript::Call(TkvProcVariable *proc, std::span<Variant> args)
{
    // A call from the host starts afresh after a stopped run; one made while
    // the program runs keeps its stop request.
    if (FRun->Active == 0)
        FRun->Terminated = false;
    const TkvActiveRun active(*FRun);
    const size_t count = size_t(proc->ParamCount());
    if (args.size() == count)
        return proc->Invoke(args);
    // A handler declared with fewer or more parameters than the event passes
    // gets the leading values and its defaults.
    std::vector<Variant> own(count);
    for (size_t i = 0; i < count; ++i)
        own[i] = i < args.size() ? args[i] : proc->Params(int(i))->DefValue;
    const Variant result = proc->Invoke(own);
    for (size_t i = 0; i < count && i < args.size(); ++i)
        args[i] = std::move(own[i]);
    return result;
}

Variant TkvScript::CallFunction2(TkvProcVariable *proc, const Variant &params)
{
    return CallFunction(proc->Name, params, true);
}

Variant TkvScript::Evaluate(const QString &expression)
{
    FEvaluateFailed = false;
    TkvScript *scope = FRun->ProgRunning ? FRun->ProgRunning : this;
    TkvScript temp(scope);
    temp.ShareRunState(*scope);
    temp.OnGetVarValue = scope->OnGetVarValue;
    temp.SyntaxType = SyntaxType;
    bool hasBindings = false;
    for (const TkvScript *s = scope; s && !hasBindings; s = s->FParent)
        hasBindings = s->FRTTIAdded;
    if (!hasBindings)
        temp.AddRTTI();
    // Muted rather than removed: Evaluate may be called from the hook itself.
    const bool muted = FRunLineMuted;
    FRunLineMuted = true;
    struct Restore
    {
        TkvScript &S;
        bool Muted;
        ~Restore() { S.FRunLineMuted = Muted; }
    } restore{*this, muted};

    QString text;
    if (SyntaxType == QLatin1String("PascalScript"))
        text = QStringLiteral("function kvEvaluateFUNC: Variant; begin Result := %1 end; begin end.").arg(expression);
    else if (SyntaxType == QLatin1String("C++Script"))
        text = QStringLiteral("Variant kvEvaluateFUNC() { return %1; } {}").arg(expression);
    else if (SyntaxType == QLatin1String("BasicScript"))
        text = QStringLiteral("function kvEvaluateFUNC\r\nreturn %1\r\nend function\r\n").arg(expression); // a line ends each statement
    else if (SyntaxType == QLatin1String("JScript"))
        text = QStringLiteral("function kvEvaluateFUNC() { return (%1); }").arg(expression);
    temp.Lines = {text};
    if (!temp.Compile()) {
        FEvaluateFailed = true;
        return Variant(temp.ErrorMsg);
    }
    return temp.CallFunction(QStringLiteral("kvEvaluateFUNC"));
}

void TkvScript::AddCodeLine(const QString &unitName, const QString &pos)
{
    const int line = pos.section(QLatin1Char(':'), 0, 0).toInt();
    QList<int> &lines = FCodeLines[unitName];
    const auto at = std::lower_bound(lines.begin(), lines.end(), line);
    if (at == lines.end() || *at != line)
        lines.insert(at, line);
}

bool TkvScript::IsExecutableLine(int line, const QString &unitName) const
{
    const auto lines = FCodeLines.constFind(unitName);
    return lines != FCodeLines.constEnd() && std::binary_search(lines->begin(), lines->end(), line);
}

TkvScript *TkvScript::GlobalUnit()
{
    // Freed at exit and not made again afterwards.
    static std::unique_ptr<TkvScript> unit = std::make_unique<TkvScript>();
    unit->AddRTTI();
    return unit.get();
}
