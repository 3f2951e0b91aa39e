#include "script/engine/kvvariables.h"

#include "script/exec/kvrunstate.h"
#include "script/exec/kvstatements.h"

#include <QRegularExpression>

TkvCustomVariable::TkvCustomVariable(Kind kind, QString name, TkvVarType typ, QString typeName)
    : Name(std::move(name)), Typ(typ), TypeName(std::move(typeName)), FValue(Variant::Null()), FKind(kind)
{
}

TkvCustomVariable::~TkvCustomVariable() = default;

Variant TkvCustomVariable::Value()
{
    return FValue;
}

void TkvCustomVariable::SetValue(const Variant &value)
{
    if (!IsReadOnly)
        FValue = value;
}

int TkvCustomVariable::RequiredParamCount() const
{
    int count = 0;
    while (count < ParamCount() && !FParams[size_t(count)]->IsOptional)
        ++count;
    return count;
}

TkvParamItem *TkvCustomVariable::AddParam(std::unique_ptr<TkvParamItem> param)
{
    FParams.push_back(std::move(param));
    return FParams.back().get();
}

TkvVariable::TkvVariable(QString name, TkvVarType typ, QString typeName)
    : TkvCustomVariable(Kind::Variable, std::move(name), typ, std::move(typeName)), FCode(kvStorageCode(typ))
{
}

TkvVariable::~TkvVariable() = default;

Variant TkvVariable::Value()
{
    if (OnGetVarValue) {
        Variant hooked = OnGetVarValue(Name, Typ, FValue);
        if (!hooked.IsNull())
            return hooked;
    }
    return FValue;
}

void TkvVariable::SetValue(const Variant &value)
{
    if (!IsReadOnly)
        Store(Variant(value));
}

Variant TkvVariable::InitialValue() const
{
    switch (Typ) {
    case fvtInt:
    case fvtClass:
        return Variant(0);
    case fvtFloat:
        return Variant(0.0);
    case fvtInt64:
        return Variant::FromInt64(0);
    case fvtBool:
        return Variant(false);
    case fvtChar:
    case fvtString:
        return Variant(QString());
    default:
        return Variant::Null();
    }
}

void TkvVariable::StoreConverted(const Variant &value)
{
    // A date stays a date in a float variable.
    if (FCode == varDouble && value.VarType() == varDate)
        FValue = value;
    else
        FValue = value.AsType(FCode);
}

TkvTypeVariable::TkvTypeVariable(QString name, TkvVarType typ)
    : TkvCustomVariable(Kind::Type, std::move(name), typ)
{
    IsReadOnly = true;
}

TkvProcVariable::TkvProcVariable(QString name, bool isFunc, TkvVarType typ, QString typeName, TkvScript *scope)
    : TkvCustomVariable(Kind::Procedure, std::move(name), typ, std::move(typeName)),
      FProg(std::make_unique<TkvScript>(scope)), FIsFunc(isFunc)
{
    IsReadOnly = true;
    FProg->FOwnerProc = this;
    FProg->ShareRunState(*scope);
    FMain = FProg->MainScript();
    FProg->UseClassLateBinding = scope->UseClassLateBinding;
    if (isFunc) {
        auto result = std::make_unique<TkvVariable>(QStringLiteral("Result"), typ, TypeName);
        FResult = result.get();
        RefItem = FResult;
        FProg->Add(FResult->Name, result.release());
    }
}

TkvProcVariable::~TkvProcVariable()
{
    // The local script lists the parameters, which belong to the procedure.
    for (const auto &param : FParams)
        FProg->Detach(param.get());
}

void TkvProcVariable::CollectLocals()
{
    FLocals.clear();
    for (int i = 0; i < FProg->Count(); ++i)
        if (auto *variable = dynamic_cast<TkvVariable *>(FProg->Items(i)))
            if (!variable->IsReadOnly)
                FLocals.push_back(variable);
}

// Restores what a call changed, also when an error leaves it.
struct TkvProcVariable::Frame
{
    TkvProcVariable &Proc;
    TkvRunState &Run;
    TkvScript *const SavedProgRunning;
    const size_t Mark;
    const bool Nested;

    ~Frame()
    {
        if (Nested) {
            for (size_t i = Proc.FLocals.size(); i-- > 0;)
                *Proc.FLocals[i]->PValue() = std::move(Proc.FSaved[Mark + i]);
            Proc.FSaved.resize(Mark);
        }
        Proc.FExecuting = Nested;
        Proc.FProg->FIsRunning = Nested;
        Run.ProgRunning = SavedProgRunning;
        --Run.Depth;
    }
};

Variant TkvProcVariable::Invoke(std::span<Variant> args)
{
    TkvRunState &run = *FProg->FRun;
    // Every few levels is enough: the stack reserve outlasts many calls.
    if ((++run.Depth & 7) == 0)
        kvCheckStack();
    const bool nested = FExecuting;
    const size_t mark = FSaved.size();
    if (nested)
        for (TkvVariable *local : FLocals)
            FSaved.push_back(*local->PValue());
    const Frame frame{*this, run, run.ProgRunning, mark, nested};
    for (size_t i = 0; i < args.size(); ++i)
        FParams[i]->Store(std::move(args[i]));
    FExecuting = true;
    FProg->FIsRunning = true;
    run.ProgRunning = FProg.get();
    Variant result = RunBody();
    for (size_t i = 0; i < args.size(); ++i)
        if (FParams[i]->IsVarParam)
            args[i] = std::move(*FParams[i]->PValue());
    return result;
}

Variant TkvProcVariable::RunBody()
{
    if (FResult)
        *FResult->PValue() = Variant();
    FProg->Statement().Run();
    Variant result = FIsFunc ? std::move(*FResult->PValue()) : Variant::Null();
    if (FMain->ClearLocalVars)
        for (TkvVariable *local : FLocals)
            if (local != FResult && !local->PValue()->IsEmpty() && !dynamic_cast<TkvParamItem *>(local))
                *local->PValue() = local->InitialValue();
    return result;
}

Variant TkvProcVariable::Value()
{
    std::vector<Variant> args(FParams.size());
    for (size_t i = 0; i < args.size(); ++i)
        args[i] = *FParams[i]->PValue();
    return Invoke(args);
}

namespace {

// The type a method's syntax names, resolved in Scope.
TkvVarType resolveType(TkvScript *scope, const QString &name, QString &typeName)
{
    typeName = name;
    if (const TkvCustomVariable *entry = scope->Find(name))
        if (entry->EntryKind() == TkvCustomVariable::Kind::Type
            || (entry->Typ == fvtEnum && entry->EntryKind() == TkvCustomVariable::Kind::Variable))
            return entry->Typ;
    return fvtClass;
}

// A default value of a method parameter: a number, a string, or a visible
// constant; Null when none of these.
Variant defaultValue(TkvScript *scope, const QString &text)
{
    if (text.size() >= 2 && text.front() == QLatin1Char('\'') && text.back() == QLatin1Char('\''))
        return Variant(text.mid(1, text.size() - 2));
    bool ok = false;
    const qint64 integer = text.toLongLong(&ok);
    if (ok)
        return integer == qint32(integer) ? Variant(qint32(integer)) : Variant::FromInt64(integer);
    const double number = text.toDouble(&ok);
    if (ok)
        return Variant(number);
    if (TkvCustomVariable *entry = scope->Find(text))
        if (entry->EntryKind() == TkvCustomVariable::Kind::Variable && entry->IsReadOnly)
            return entry->Value();
    return Variant::Null();
}

} // namespace

TkvMethodHelper::TkvMethodHelper(const QString &syntax, TkvCallMethodEvent call, TkvScript *scope)
    : TkvCustomVariable(Kind::Method, QString(), fvtVariant), Syntax(syntax), FCall(std::move(call)), FScope(scope)
{
    IsReadOnly = true;
    static const QRegularExpression head(
        QStringLiteral(R"(^\s*(macro)?(function|procedure)\s+([A-Za-z_][A-Za-z0-9_]*)\s*(\((.*)\))?)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = head.match(syntax);
    if (!m.hasMatch())
        throw TzelException(QStringLiteral("Invalid method declaration: %1").arg(syntax));
    IsMacro = m.capturedLength(1) > 0;
    Name = m.captured(3);
    FUpperName = Name.toUpper();
    Description = Name;
    if (m.captured(2).compare(QLatin1String("function"), Qt::CaseInsensitive) == 0) {
        QString result = syntax.mid(syntax.lastIndexOf(QLatin1Char(':')) + 1).trimmed();
        if (result.endsWith(QLatin1Char(';')))
            result.chop(1);
        Typ = resolveType(scope, result.trimmed(), TypeName);
    } else {
        Typ = fvtVariant;
    }
    const QStringList groups = m.captured(5).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString group : groups) {
        group = group.trimmed();
        bool byRef = false;
        for (const QLatin1String word : {QLatin1String("var "), QLatin1String("const ")}) {
            if (group.startsWith(word, Qt::CaseInsensitive)) {
                byRef = word == QLatin1String("var ");
                group = group.mid(word.size()).trimmed();
            }
        }
        const qsizetype colon = group.indexOf(QLatin1Char(':'));
        const QStringList names = group.left(colon).split(QLatin1Char(','));
        QString type = colon < 0 ? QStringLiteral("Variant") : group.mid(colon + 1);
        QString def;
        if (const qsizetype eq = type.indexOf(QLatin1Char('=')); eq >= 0) {
            def = type.mid(eq + 1).trimmed();
            type = type.left(eq);
        }
        QString typeName;
        const TkvVarType typ = resolveType(scope, type.trimmed(), typeName);
        for (qsizetype i = 0; i < names.size(); ++i) {
            auto param = std::make_unique<TkvParamItem>(names[i].trimmed(), typ, typeName);
            param->IsVarParam = byRef;
            if (!def.isNull() && i == names.size() - 1) {
                param->IsOptional = true;
                param->DefValue = defaultValue(scope, def);
            }
            AddParam(std::move(param));
        }
    }
}

Variant TkvMethodHelper::Call(const Variant &instance, std::span<Variant> args, TkvScript &script)
{
    return Call(instance, args, script, FUpperName);
}

Variant TkvMethodHelper::CallIndexed(const Variant &instance, std::span<Variant> args, TkvScript &script,
                                     bool write)
{
    return Call(instance, args, script, FUpperName + (write ? QStringLiteral(".SET") : QStringLiteral(".GET")));
}

Variant TkvMethodHelper::Call(const Variant &instance, std::span<Variant> args, TkvScript &script,
                              const QString &name)
{
    TkvMethodCall call{instance, name, args, *this, script};
    return FCall ? FCall(call) : Variant(0);
}

Variant TkvMethodHelper::Value()
{
    std::vector<Variant> args(FParams.size());
    for (size_t i = 0; i < args.size(); ++i)
        args[i] = *FParams[i]->PValue();
    const Variant result = Call(Variant::Null(), args, *FScope);
    for (size_t i = 0; i < args.size(); ++i)
        if (FParams[i]->IsVarParam)
            *FParams[i]->PValue() = args[i];
    return result;
}
