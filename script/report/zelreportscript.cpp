#include "script/report/zelreportscript.h"

#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/component/zelcomponent.h"
#include "model/reflect/zelclassinfo.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvscript.h"
#include "script/engine/kvvariables.h"
#include "script/exec/kvstatements.h"
#include "script/report/zelreportobjects.h"
#include "script/report/zelscriptobjects.h"

#include <array>

namespace {

// Calls Visit(property, procedure name) for each event property of Object
// that names a procedure, until Visit returns true.
template <class F>
void forEachEvent(const TzelComponent &object, F &&visit)
{
    for (const TzelPropInfo *prop : object.ClassInfo().Properties()) {
        if (prop->Kind != TzelPropKind::Event || !prop->Get)
            continue;
        const QString name = prop->Get(object).ToString().trimmed();
        if (!name.isEmpty() && visit(*prop, name))
            return;
    }
}

const QStringList aggregates{QStringLiteral("SUM"), QStringLiteral("AVG"), QStringLiteral("MIN"),
                             QStringLiteral("MAX"), QStringLiteral("COUNT")};

// Whether Name is a call of an aggregate function: "SUM(<a."b">)".
bool isAggregateCall(const QString &name)
{
    const qsizetype bracket = name.indexOf(QLatin1Char('('));
    return bracket > 0 && aggregates.contains(name.left(bracket).trimmed().toUpper());
}

} // namespace

TzelReportScript::TzelReportScript(TzelReport *report)
    : FReport(report), FActive(report), FScript(std::make_unique<TkvScript>(TkvScript::GlobalUnit()))
{
    FScript->ExtendedCharset = true;
}

TzelReportScript::~TzelReportScript() = default;

QString TzelReportScript::ErrorPlace() const
{
    return FScript->ErrorUnit.isEmpty() ? FScript->ErrorPos : FScript->ErrorUnit + QLatin1Char(' ') + FScript->ErrorPos;
}

bool TzelReportScript::Prepare()
{
    return PrepareFor(FReport);
}

bool TzelReportScript::PrepareFor(TzelReport *active)
{
    FPrepared = false;
    FActive = active;
    FParentScript = nullptr;
    // An inherited report's program looks up what it does not define in
    // its parent report's, prepared first for this report's objects.
    TkvScript *scope = TkvScript::GlobalUnit();
    if (auto *parent = const_cast<TzelReport *>(FReport->ParentReportObject())) {
        auto *script = dynamic_cast<TzelReportScript *>(parent->Script());
        if (script && !script->PrepareFor(active)) {
            const TkvScript &program = script->Program();
            const QString name = parent->Name().isEmpty() ? FReport->ParentReport() : parent->Name();
            if (!program.ErrorMsg.isEmpty())
                active->Errors().Add(zelFormat(zelRes("clScrError"),
                                               {QStringLiteral("Parent report: ") + name +
                                                    QStringLiteral(" Line: ") + program.ErrorPos,
                                                program.ErrorMsg}));
            return false;
        }
        if (script) {
            FParentScript = script;
            scope = &script->Program();
        }
    }
    FScript->SetParent(scope);
    const QString language =
        FReport->ScriptLanguage.isEmpty() ? QStringLiteral("PascalScript") : FReport->ScriptLanguage;
    FCache.Clear();
    FCache.ScriptLanguage = language;
    FCache.CaseSensitive = FReport->CaseSensitiveExpressions;
    FProcedures.clear();
    FScript->ClearItems(FReport);
    FScript->AddedBy = FReport;
    // The host decides for the report it runs, parents included.
    FScript->Restricted = FActive->EngineOptions().Restricted;
    AddReportNames();
    AddUserFunctions();
    if (const auto &prepared = zelGlobalScriptEvents().OnPrepareScript)
        prepared(*FActive);
    bool compiled = true;
    // A template without script text has no main block and no procedures.
    if (!FReport->ScriptText.join(QString()).trimmed().isEmpty()) {
        FScript->SyntaxType = language;
        FScript->Lines = FReport->ScriptText;
        compiled = FScript->Compile();
    }
    FScript->AddedBy = nullptr;
    if (!compiled) {
        // A parent's failure is told by the report that inherits it.
        if (active == FReport)
            FReport->Errors().Add(zelFormat(zelRes("clScrError"), {ErrorPlace(), FScript->ErrorMsg}));
        return false;
    }
    // Event properties belong to the inheriting report, which checks them.
    FPrepared = active != FReport || CheckEventProcedures();
    return FPrepared;
}

void TzelReportScript::AddReportNames()
{
    TkvScript &s = *FScript;
    // An inherited object is named by the parent report's program, which
    // stands for the inheriting report's object of the same name.
    for (TzelComponent *c : FReport->AllObjects()) {
        if (c->Name().isEmpty() || (FActive == FReport && c->IsAncestor()))
            continue;
        TzelComponent *target = FActive == FReport ? c : FActive->FindObject(c->Name());
        if (target)
            s.AddVariable(c->Name(), target->ClassName(), zelScriptValue(target));
    }
    s.AddVariable(QStringLiteral("Report"), QStringLiteral("TzelReport"), zelScriptValue(FActive));
    TzelCustomPreviewPages *pages = FActive->PreviewPages();
    s.AddVariable(QStringLiteral("PreviewPages"), QStringLiteral("TzelPreviewPages"),
                  zelPreviewPagesValue(pages, FActive));
    s.AddVariable(QStringLiteral("Engine"), QStringLiteral("TzelEngine"), zelEngineValue(FActive->Engine(), FActive));
    s.AddVariable(QStringLiteral("Outline"), QStringLiteral("TzelOutline"),
                  pages ? zelOutlineValue(&pages->Outline(), FActive) : Variant(0));
    s.AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"), Variant::Null());
    s.AddVariable(QStringLiteral("Self"), QStringLiteral("TzelView"), Variant(0));
    FValue = dynamic_cast<TkvVariable *>(s.FindLocal(QStringLiteral("Value")));
    FSelf = dynamic_cast<TkvVariable *>(s.FindLocal(QStringLiteral("Self")));

    s.AddMethod(QStringLiteral("function Get(Name: String): Variant"), [this](TkvMethodCall &call) {
        const QString name = call.Params[0].ToString();
        Variant value;
        if (FActive->LookupValue(name, value))
            return value;
        if (isAggregateCall(name))
            return FActive->CalcFromScript(name);
        if (const auto &hook = zelGlobalScriptEvents().OnGetScriptValue; hook && hook(name, value))
            return value;
        if (FActive->EngineOptions().IgnoreExprError)
            return Variant(name);
        FActive->Errors().Add(zelRes("clUnknownVar") + QLatin1Char(' ') + name);
        return Variant::Null();
    });
    s.AddMethod(QStringLiteral("procedure Set(Name: String; Value: Variant)"), [this](TkvMethodCall &call) {
        FActive->Variables().SetValue(call.Params[0].ToString(), call.Params[1]);
        return Variant::Null();
    });
    // Macros get their arguments as source text and evaluate what they need.
    s.AddMethod(QStringLiteral("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"),
                [this](TkvMethodCall &call) {
                    Variant result;
                    try {
                        const bool condition = FActive->CalcFromScript(call.Params[0].ToString()).ToBool();
                        result = FActive->CalcFromScript(call.Params[condition ? 1 : 2].ToString());
                    } catch (const TzelException &) {
                        // a failing branch leaves the result empty
                    }
                    return result;
                });
    // Totals are read from the engine, which accumulates them while it builds.
    for (const QString &name : aggregates) {
        const bool count = name == QLatin1String("COUNT");
        const QString syntax = count ? QStringLiteral("macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant")
                                     : QStringLiteral("macrofunction %1(Expr: Variant; Band: Variant = 0; "
                                                      "Flags: Integer = 0): Variant")
                                           .arg(name);
        s.AddMethod(syntax, [this, name, count](TkvMethodCall &call) {
            const int first = count ? 0 : 1;
            const QString band = call.Params[first].ToString().trimmed();
            const QString flags = call.Params[first + 1].ToString().trimmed();
            TzelCustomEngine *engine = FActive->Engine();
            if (!engine)
                return Variant::Null();
            // The band goes by its name, as the template scan found it.
            return engine->GetAggregateValue(name, count ? QString() : call.Params[0].ToString(),
                                             band.isEmpty() || band == QLatin1String("0") ? Variant(0) : Variant(band),
                                             flags.isEmpty() ? 0 : FActive->CalcFromScript(flags).ToInt());
        });
    }
}

void TzelReportScript::AddUserFunctions()
{
    for (const TzelReport::UserFunction &f : FActive->UserFunctions())
        FScript->AddMethod(
            f.Syntax,
            [this](TkvMethodCall &call) {
                if (!FActive->OnUserFunction)
                    return Variant::Null();
                QList<Variant> params(call.Params.begin(), call.Params.end());
                const Variant result = FActive->OnUserFunction(call.Name, params);
                for (qsizetype i = 0; i < params.size() && size_t(i) < call.Params.size(); ++i)
                    call.Params[size_t(i)] = params[i];
                return result;
            },
            f.Category, f.Description);
}

bool TzelReportScript::CheckEventProcedures()
{
    bool ok = true;
    QList<TzelComponent *> objects = FReport->AllObjects();
    objects.prepend(FReport);
    for (TzelComponent *c : objects)
        forEachEvent(*c, [&](const TzelPropInfo &prop, const QString &name) {
            if (Procedure(name).Proc)
                return false;
            const QString owner = c == FReport ? QStringLiteral("Report") : c->Name();
            FReport->Errors().Add(zelFormat(zelRes("clNoEventProc"), {owner + QLatin1Char('.') + prop.Name, name}));
            ok = false;
            return false;
        });
    return ok;
}

TzelReportScript::TzelProcedure TzelReportScript::Procedure(const QString &name)
{
    const auto it = FProcedures.constFind(name);
    if (it != FProcedures.cend())
        return *it;
    TzelProcedure found;
    if (auto *proc = dynamic_cast<TkvProcVariable *>(FScript->FindLocal(name.trimmed())))
        found = {FScript.get(), proc};
    else if (FParentScript)
        found = FParentScript->Procedure(name);
    FProcedures.insert(name, found);
    return found;
}

bool TzelReportScript::RunMain()
{
    if (!FPrepared || FScript->Statement().Count() == 0)
        return FPrepared;
    try {
        FScript->Execute();
        return true;
    } catch (const TzelException &e) {
        FReport->Errors().Add(zelFormat(zelRes("clScrError"), {ErrorPlace(), e.message()}));
    }
    return false;
}

void TzelReportScript::EventFailed(TzelComponent *sender, const QString &name, const TzelException &e) const
{
    QString event = name;
    if (sender)
        forEachEvent(*sender, [&](const TzelPropInfo &prop, const QString &procedure) {
            if (procedure != name)
                return false;
            event = prop.Name + QStringLiteral(" (") + name + QLatin1Char(')');
            return true;
        });
    const auto *run = dynamic_cast<const TkvRunError *>(&e);
    QString place = run && run->Located() ? run->Pos() : QString();
    if (run && !run->Unit().isEmpty())
        place = run->Unit() + QLatin1Char(' ') + place;
    if (sender)
        FReport->CurObject = sender == FReport ? QStringLiteral("Report") : sender->Name();
    throw TzelException(event + QStringLiteral(": ") + zelFormat(zelRes("clScrError"), {place, e.message()}));
}

void TzelReportScript::CallEvent(TzelComponent *sender, const QString &eventName)
{
    const TzelProcedure proc = Procedure(eventName);
    if (!proc.Proc)
        return;
    std::array<Variant, 1> args{zelScriptValue(sender)};
    try {
        proc.Program->Call(proc.Proc, args);
    } catch (const TzelException &e) {
        EventFailed(sender, eventName, e);
    }
}

void TzelReportScript::CallParamEvent(const QString &eventName, QList<Variant> &params)
{
    const TzelProcedure proc = Procedure(eventName);
    if (!proc.Proc)
        return;
    std::vector<Variant> args(params.begin(), params.end());
    try {
        proc.Program->Call(proc.Proc, args);
    } catch (const TzelException &e) {
        EventFailed(nullptr, eventName, e);
    }
    for (qsizetype i = 0; i < params.size(); ++i)
        params[i] = args[size_t(i)];
}

Variant TzelReportScript::Calc(const QString &expression, QString &error)
{
    TkvScript *running = FScript->ProgRunning();
    return FCache.Calc(expression, running ? *running : *FScript, FScript->ProgName(), error);
}

bool TzelReportScript::Variable(const QString &name, Variant &value) const
{
    const TkvCustomVariable *entry = FScript->Find(name);
    if (!entry || entry->EntryKind() != TkvCustomVariable::Kind::Variable)
        return false;
    value = *const_cast<TkvCustomVariable *>(entry)->PValue();
    return true;
}

void TzelReportScript::SetSelf(TzelComponent *object)
{
    if (FSelf)
        *FSelf->PValue() = zelScriptValue(object);
}

void TzelReportScript::SetValue(const Variant &value)
{
    if (FValue)
        *FValue->PValue() = value;
}
