#include "script/compile/kvcompiler.h"

#include "script/compile/kvtreeitems.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvclassvariable.h"
#include "script/exec/kvdesignators.h"

namespace {

// Raised to end the compilation at the first error.
struct CompileError
{
    QString Message;
};

} // namespace

TkvCompiler::TkvCompiler(TkvScript *script, const TkvXMLDocument &grammar, bool declareVars, const QString &source)
    : FScript(script), FDeclareVars(declareVars), FSource(source)
{
    if (const TkvXMLItem *root = grammar.Root())
        FGrammarTypes = kvChild(*root, QLatin1String("types"));
    FLineStarts.push_back(0);
    for (qsizetype i = 0; i < FSource.size(); ++i)
        if (FSource.at(i) == QLatin1Char('\n'))
            FLineStarts.push_back(i + 1);
}

TkvCompiler::~TkvCompiler() = default;

bool TkvCompiler::Compile(const TkvXMLDocument &tree)
{
    try {
        const TkvXMLItem *root = tree.Root();
        if (!root || !kvNamed(*root, QLatin1String("program")))
            Error(QStringLiteral("Invalid program tree"));
        FTreeTypes = kvChild(*root, QLatin1String("types"));
        Program(*root, FScript, FScript->Statement());
        return true;
    } catch (const CompileError &e) {
        ErrorMsg = e.Message;
    } catch (const TzelException &e) {
        ErrorMsg = e.message();
    }
    ErrorPos = FPos;
    ErrorUnit = FUnit;
    return false;
}

void TkvCompiler::Error(const QString &message) const
{
    throw CompileError{message};
}

void TkvCompiler::IncompatibleTypes(TkvVarType target, const QString &targetName, TkvVarType source,
                                    const QString &sourceName) const
{
    Error(kvMessage("SIncompatibleTypes") + QStringLiteral(": ") + kvQuoted(kvTypeName(target, targetName))
          + QStringLiteral(", ") + kvQuoted(kvTypeName(source, sourceName)));
}

void TkvCompiler::At(const TkvXMLItem &element)
{
    const QString pos = element.Prop(QStringLiteral("pos"));
    if (!pos.isEmpty())
        FPos = pos;
}

qsizetype TkvCompiler::Offset(const QString &pos) const
{
    int line = 0;
    int column = 0;
    kvParsePos(pos, line, column);
    if (line < 1 || size_t(line) > FLineStarts.size())
        return -1;
    return FLineStarts[size_t(line - 1)] + column - 1;
}

QString TkvCompiler::TokenStart(const TkvXMLItem &leaf) const
{
    // A leaf's position is where its token ends; its text may be spelled
    // otherwise than in the source ("==" is "="), so the source decides.
    int line = 0;
    int column = 0;
    kvParsePos(leaf.Prop(QStringLiteral("pos")), line, column);
    if (line <= 0)
        return QString();
    qsizetype length = leaf.Prop(QStringLiteral("text")).size();
    const qsizetype end = Offset(leaf.Prop(QStringLiteral("pos")));
    if (end > 0 && end <= FSource.size()) {
        const auto isWord = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
        const bool word = isWord(FSource.at(end - 1));
        qsizetype start = end - 1;
        while (start > 0 && !FSource.at(start - 1).isSpace() && isWord(FSource.at(start - 1)) == word
               && FSource.at(start - 1) != QLatin1Char('(') && FSource.at(start - 1) != QLatin1Char('['))
            --start;
        length = end - start;
    }
    return QStringLiteral("%1:%2").arg(line).arg(column > length ? column - length : column);
}

void TkvCompiler::AtToken(const TkvXMLItem &leaf)
{
    const QString start = TokenStart(leaf);
    if (!start.isEmpty())
        FPos = start;
}

TkvStatementPos TkvCompiler::Position(const TkvXMLItem &element, TkvScript *scope) const
{
    TkvStatementPos at{scope, 0, 0, FUnit};
    kvParsePos(element.Prop(QStringLiteral("pos")), at.Line, at.Column);
    return at;
}

TkvCompiler::ListPtr TkvCompiler::NewList(const TkvXMLItem &element, TkvScript *scope) const
{
    return std::make_unique<TkvStatementList>(Position(element, scope));
}

// Declarations ---------------------------------------------------------------

void TkvCompiler::Program(const TkvXMLItem &program, TkvScript *scope, TkvStatementList &list)
{
    DeclareProcedures(program, scope);
    for (int i = 0; i < program.Count(); ++i)
        Statement(*program.Items(i), scope, list);
}

void TkvCompiler::DeclareProcedures(const TkvXMLItem &parent, TkvScript *scope)
{
    for (int i = 0; i < parent.Count(); ++i) {
        const TkvXMLItem &item = *parent.Items(i);
        if (kvNamed(item, QLatin1String("procedure")) || kvNamed(item, QLatin1String("function")))
            DeclareProcedure(item, scope);
        else if (kvNamed(item, QLatin1String("compoundstmt")))
            DeclareProcedures(item, scope);
    }
}

void TkvCompiler::DeclareProcedure(const TkvXMLItem &element, TkvScript *scope)
{
    At(element);
    const TkvXMLItem *nameItem = kvChild(element, QLatin1String("name"));
    if (!nameItem)
        Error(QStringLiteral("Invalid program tree"));
    const QString name = nameItem->Prop(QStringLiteral("text"));
    AtToken(*nameItem);
    if (scope->FindLocal(name))
        Error(kvMessage("SIdRedeclared") + kvQuoted(name));
    const TkvXMLItem *typeItem = kvChild(element, QLatin1String("type"));
    QString typeName = typeItem ? typeItem->Prop(QStringLiteral("text")) : QStringLiteral("Variant");
    const bool isFunc = kvNamed(element, QLatin1String("function"))
                     && typeName.compare(QLatin1String("void"), Qt::CaseInsensitive) != 0;
    TkvVarType typ = fvtVariant;
    if (isFunc) {
        if (typeItem)
            AtToken(*typeItem);
        typ = ResolveType(typeName, scope);
    }
    auto *proc = new TkvProcVariable(name, isFunc, typ, typeName, scope);
    proc->SourcePos = element.Prop(QStringLiteral("pos"));
    proc->SourceUnit = FUnit;
    scope->Add(name, proc);
    FProcedures.insert(&element, proc);
    if (const TkvXMLItem *params = kvChild(element, QLatin1String("parameters"))) {
        bool byRef = false;
        for (int i = 0; i < params->Count(); ++i) {
            const TkvXMLItem &item = *params->Items(i);
            if (kvNamed(item, QLatin1String("varparams"))) {
                byRef = true;
            } else if (kvNamed(item, QLatin1String("var"))) {
                Variables(item, proc->Prog(), nullptr, proc, byRef);
                byRef = false;
            }
        }
    }
}

TkvVarType TkvCompiler::ResolveType(QString &typeName, TkvScript *scope)
{
    for (const TkvXMLItem *types : {FTreeTypes, FGrammarTypes}) {
        if (!types)
            continue;
        const int at = types->Find(typeName);
        if (at >= 0) {
            typeName = types->Items(at)->Prop(QStringLiteral("type"));
            break;
        }
    }
    const TkvCustomVariable *entry = scope->Find(typeName);
    if (entry && entry->EntryKind() == TkvCustomVariable::Kind::Type)
        return entry->Typ;
    if (entry && entry->EntryKind() == TkvCustomVariable::Kind::Class)
        return fvtClass;
    if (entry && entry->Typ == fvtEnum)
        return fvtEnum;
    Error(kvMessage("SUnknownType") + kvQuoted(typeName));
}

void TkvCompiler::Variables(const TkvXMLItem &element, TkvScript *scope, TkvStatementList *list,
                            TkvCustomVariable *proc, bool byRef)
{
    At(element);
    const TkvXMLItem *typeItem = kvChild(element, QLatin1String("type"));
    const bool typeFirst = element.Count() > 0 && kvNamed(*element.Items(0), QLatin1String("type"));
    QString typeName = typeItem ? typeItem->Prop(QStringLiteral("text")) : QStringLiteral("Variant");
    if (typeItem)
        AtToken(*typeItem);
    const TkvVarType declared = ResolveType(typeName, scope);
    for (int i = 0; i < element.Count(); ++i) {
        const TkvXMLItem &ident = *element.Items(i);
        if (!kvNamed(ident, QLatin1String("ident")))
            continue;
        const QString name = ident.Prop(QStringLiteral("text"));
        AtToken(ident);
        if (scope->FindLocal(name))
            Error(kvMessage("SIdRedeclared") + kvQuoted(name));
        // What belongs to this identifier.
        const TkvXMLItem *array = nullptr;
        const TkvXMLItem *init = nullptr;
        bool isVarParam = byRef;
        // A reference mark may stand before the name.
        for (int j = i - 1; j >= 0 && !kvNamed(*element.Items(j), QLatin1String("ident")); --j)
            isVarParam = isVarParam || kvNamed(*element.Items(j), QLatin1String("varparam"));
        for (int j = i + 1; j < element.Count(); ++j) {
            const TkvXMLItem &item = *element.Items(j);
            if (kvNamed(item, QLatin1String("ident"))) {
                if (typeFirst)
                    break;
                continue;
            }
            if (kvNamed(item, QLatin1String("array")))
                array = &item;
            else if (kvNamed(item, QLatin1String("init")))
                init = &item;
            else if (kvNamed(item, QLatin1String("varparam")))
                isVarParam = true;
        }
        TkvVarType typ = declared;
        Variant initial;
        if (array) {
            At(*array);
            std::vector<VarArrayBound> bounds;
            for (int d = 0; d < array->Count(); ++d) {
                const TkvXMLItem &dim = *array->Items(d);
                if (!kvNamed(dim, QLatin1String("dim")))
                    continue;
                std::vector<int> values;
                for (int k = 0; k < dim.Count(); ++k)
                    values.push_back(ConstantValue(*dim.Items(k), scope).ToInt());
                if (values.size() == 1)
                    bounds.push_back({0, values[0] - 1});
                else if (values.size() >= 2)
                    bounds.push_back({values[0], values[1]});
            }
            if (bounds.empty())
                bounds.push_back({0, 0});
            initial = Variant::CreateArray(bounds);
            typ = fvtArray;
        }
        std::unique_ptr<TkvVariable> variable;
        TkvExprPtr initExpr;
        if (init && init->Count() > 0) {
            At(*init);
            initExpr = Expression(*init->Items(0), scope);
            if (!kvAssignCompatible(typ, typeName, initExpr->Typ, initExpr->TypeName))
                IncompatibleTypes(typ, typeName, initExpr->Typ, initExpr->TypeName);
        }
        if (proc) {
            auto param = std::make_unique<TkvParamItem>(name, typ, typeName);
            param->IsVarParam = isVarParam;
            if (initExpr) {
                param->IsOptional = true;
                param->DefValue = ConstantValue(*init->Items(0), scope);
            }
            TkvParamItem *added = proc->AddParam(std::move(param));
            added->SourcePos = ident.Prop(QStringLiteral("pos"));
            added->SourceUnit = FUnit;
            added->OnGetVarValue = scope->OnGetVarValue;
            scope->Insert(name, added, false);
            continue;
        }
        if (typ == fvtString || typ == fvtChar)
            variable = std::make_unique<TkvStringVariable>(name, typ, typeName);
        else
            variable = std::make_unique<TkvVariable>(name, typ, typeName);
        variable->Store(array ? std::move(initial) : variable->InitialValue());
        variable->SourcePos = ident.Prop(QStringLiteral("pos"));
        variable->SourceUnit = FUnit;
        variable->OnGetVarValue = scope->OnGetVarValue;
        TkvVariable *added = variable.get();
        scope->Add(name, variable.release());
        if (initExpr && list)
            list->Add(kvStatements::Assignment(Position(element, scope), kvVariableNode(added), std::move(initExpr), 0));
    }
}

void TkvCompiler::Constant(const TkvXMLItem &element, TkvScript *scope)
{
    At(element);
    if (element.Count() < 2)
        Error(QStringLiteral("Invalid program tree"));
    const TkvXMLItem &ident = *element.Items(0);
    const QString name = ident.Prop(QStringLiteral("text"));
    AtToken(ident);
    if (scope->FindLocal(name))
        Error(kvMessage("SIdRedeclared") + kvQuoted(name));
    At(*element.Items(1));
    TkvExprPtr expr;
    const Variant value = ConstantValue(*element.Items(1), scope, &expr);
    auto *constant = new TkvVariable(name, expr->Typ, expr->TypeName);
    *constant->PValue() = value;
    constant->IsReadOnly = true;
    constant->SourcePos = element.Prop(QStringLiteral("pos"));
    constant->SourceUnit = FUnit;
    scope->Add(name, constant);
}

void TkvCompiler::Uses(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    At(element);
    const QString unit = element.Prop(QStringLiteral("unit"));
    if (FUses.contains(unit, Qt::CaseInsensitive))
        return;
    FUses.append(unit);
    const TkvXMLItem *program = kvChild(element, QLatin1String("program"));
    QString text;
    if (OnGetILUnit && OnGetILUnit(unit, text)) {
        auto tree = std::make_unique<TkvXMLDocument>();
        tree->FromText(text.toUtf8());
        program = tree->Root();
        FUnitTrees.push_back(std::move(tree));
    }
    if (!program)
        return;
    const QString outer = FUnit;
    FUnit = unit;
    Program(*program, scope, list);
    FUnit = outer;
}

// Statements -----------------------------------------------------------------

void TkvCompiler::Statement(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const QString &name = element.Name();
    At(element);
    const auto is = [&name](const char *what) { return name.compare(QLatin1String(what), Qt::CaseInsensitive) == 0; };
    const bool executable = !is("compoundstmt") && !is("var") && !is("const") && !is("procedure")
                         && !is("function") && !is("uses") && !is("types");
    if (executable && element.PropExists(QStringLiteral("pos")))
        FScript->AddCodeLine(FUnit, element.Prop(QStringLiteral("pos")));
    if (is("assignstmt"))
        Assignment(element, scope, list);
    else if (is("callstmt"))
        Call(element, scope, list, Emit::None);
    else if (is("delete"))
        Call(element, scope, list, Emit::Free);
    else if (is("ifstmt"))
        If(element, scope, list);
    else if (is("casestmt"))
        Case(element, scope, list);
    else if (is("whilestmt") || is("repeatstmt") || is("cppforstmt"))
        Loop(element, scope, list);
    else if (is("forstmt") || is("vbforstmt"))
        For(element, scope, list);
    else if (is("trystmt"))
        Try(element, scope, list);
    else if (is("break"))
        list.Add(kvStatements::Jump(Position(element, scope), TkvFlow::Break));
    else if (is("continue"))
        list.Add(kvStatements::Jump(Position(element, scope), TkvFlow::Continue));
    else if (is("exit"))
        list.Add(kvStatements::Jump(Position(element, scope), TkvFlow::Exit));
    else if (is("return"))
        Return(element, scope, list);
    else if (is("with"))
        With(element, scope, list);
    else if (is("compoundstmt"))
        StatementsOf(element, scope, list);
    else if (is("uses"))
        Uses(element, scope, list);
    else if (is("var"))
        Variables(element, scope, &list, nullptr, false);
    else if (is("const"))
        Constant(element, scope);
    else if (is("procedure") || is("function")) {
        TkvProcVariable *proc = FProcedures.value(&element);
        if (!proc)
            Error(QStringLiteral("Invalid program tree"));
        Program(element, proc->Prog(), proc->Prog()->Statement());
        proc->CollectLocals();
    }
}

void TkvCompiler::StatementsOf(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    for (int i = 0; i < element.Count(); ++i)
        Statement(*element.Items(i), scope, list);
}

TkvCompiler::ListPtr TkvCompiler::Body(const TkvXMLItem &owner, const TkvXMLItem *element, TkvScript *scope)
{
    ListPtr list = NewList(owner, scope);
    if (element) {
        // A wrapper (thenstmt, elsestmt...) holds statements; anything else is one.
        if (kvNamed(*element, QLatin1String("thenstmt")) || kvNamed(*element, QLatin1String("elsestmt"))
            || kvNamed(*element, QLatin1String("exceptstmt")) || kvNamed(*element, QLatin1String("finallystmt")))
            StatementsOf(*element, scope, *list);
        else
            Statement(*element, scope, *list);
    }
    return list;
}

void TkvCompiler::Call(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list, Emit emitOp)
{
    const TkvStatementPos at = Position(element, scope);
    if (element.Count() < 1)
        Error(QStringLiteral("Invalid program tree"));
    TkvExprPtr designator = Designator(*element.Items(0), scope, emitOp);
    char modificator = 0;
    if (element.Count() > 1 && kvNamed(*element.Items(1), QLatin1String("modificator"))) {
        At(element);
        if (designator->IsReadOnly)
            Error(kvMessage("SLeftCantAssigned"));
        const QString text = element.Items(1)->Prop(QStringLiteral("text"));
        modificator = text.startsWith(QLatin1Char('-')) ? '-' : '+';
    }
    list.Add(kvStatements::Call(at, std::move(designator), modificator));
}

void TkvCompiler::If(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const TkvStatementPos at = Position(element, scope);
    if (element.Count() < 1)
        Error(QStringLiteral("Invalid program tree"));
    TkvExprPtr condition = Expression(*element.Items(0), scope);
    ListPtr then = Body(element, kvChild(element, QLatin1String("thenstmt")), scope);
    ListPtr otherwise = Body(element, kvChild(element, QLatin1String("elsestmt")), scope);
    list.Add(kvStatements::If(at, std::move(condition), std::move(then), std::move(otherwise)));
}

void TkvCompiler::Case(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const TkvStatementPos at = Position(element, scope);
    if (element.Count() < 1)
        Error(QStringLiteral("Invalid program tree"));
    TkvExprPtr condition = Expression(*element.Items(0), scope);
    std::vector<kvStatements::CaseSelector> selectors;
    const TkvXMLItem *otherwise = nullptr;
    for (int i = 1; i < element.Count(); ++i) {
        const TkvXMLItem &item = *element.Items(i);
        if (!kvNamed(item, QLatin1String("caseselector"))) {
            if (i == element.Count() - 1)
                otherwise = &item;
            continue;
        }
        At(item);
        if (item.Count() != 2)
            continue; // a selector without a statement
        TkvExprPtr set = SetExpression(*item.Items(0), scope);
        selectors.push_back({std::move(set), Body(item, item.Items(1), scope)});
    }
    list.Add(kvStatements::Case(at, std::move(condition), std::move(selectors), Body(element, otherwise, scope)));
}

void TkvCompiler::Loop(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const TkvStatementPos at = Position(element, scope);
    const int count = element.Count();
    if (kvNamed(element, QLatin1String("whilestmt"))) {
        if (count < 1)
            Error(QStringLiteral("Invalid program tree"));
        TkvExprPtr condition = Expression(*element.Items(0), scope);
        list.Add(kvStatements::While(at, std::move(condition), Body(element, count > 1 ? element.Items(1) : nullptr, scope)));
    } else if (kvNamed(element, QLatin1String("repeatstmt"))) {
        const bool inverse = count > 0 && kvNamed(*element.Items(count - 1), QLatin1String("inverse"));
        const int conditionAt = count - (inverse ? 2 : 1);
        if (conditionAt < 0)
            Error(QStringLiteral("Invalid program tree"));
        ListPtr body = NewList(element, scope);
        for (int i = 0; i < conditionAt; ++i)
            Statement(*element.Items(i), scope, *body);
        TkvExprPtr condition = Expression(*element.Items(conditionAt), scope);
        list.Add(kvStatements::Repeat(at, std::move(body), std::move(condition), inverse));
    } else {
        if (count < 3)
            Error(QStringLiteral("Invalid program tree"));
        ListPtr first = Body(element, element.Items(0), scope);
        TkvExprPtr condition = Expression(*element.Items(1), scope);
        ListPtr second = Body(element, element.Items(2), scope);
        ListPtr body = Body(element, count > 3 ? element.Items(3) : nullptr, scope);
        list.Add(kvStatements::CppFor(at, std::move(first), std::move(condition), std::move(second), std::move(body)));
    }
}

TkvVariable *TkvCompiler::LoopVariable(const TkvXMLItem &ident, TkvScript *scope)
{
    AtToken(ident);
    TkvCustomVariable *entry = Lookup(ident.Prop(QStringLiteral("text")), scope);
    auto *variable = dynamic_cast<TkvVariable *>(entry);
    if (!variable || variable->IsReadOnly
        || (variable->Typ != fvtInt && variable->Typ != fvtFloat && variable->Typ != fvtVariant
            && variable->Typ != fvtInt64))
        Error(kvMessage("SForError"));
    return variable;
}

void TkvCompiler::For(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const TkvStatementPos at = Position(element, scope);
    const bool vb = kvNamed(element, QLatin1String("vbforstmt"));
    if (element.Count() < 3)
        Error(QStringLiteral("Invalid program tree"));
    TkvVariable *variable = LoopVariable(*element.Items(0), scope);
    int next = 1;
    const auto bound = [&]() {
        TkvExprPtr expr = Expression(*element.Items(next++), scope);
        if (!kvAssignCompatible(variable->Typ, variable->TypeName, expr->Typ, expr->TypeName))
            IncompatibleTypes(variable->Typ, variable->TypeName, expr->Typ, expr->TypeName);
        return expr;
    };
    TkvExprPtr begin = bound();
    bool down = false;
    if (!vb && next < element.Count() && kvNamed(*element.Items(next), QLatin1String("downto"))) {
        down = true;
        ++next;
    }
    if (next >= element.Count())
        Error(QStringLiteral("Invalid program tree"));
    TkvExprPtr end = bound();
    TkvExprPtr step;
    if (vb && next < element.Count() && kvNamed(*element.Items(next), QLatin1String("expr")))
        step = Expression(*element.Items(next++), scope);
    ListPtr body = Body(element, next < element.Count() ? element.Items(next) : nullptr, scope);
    if (vb)
        list.Add(kvStatements::VbFor(at, variable, std::move(begin), std::move(end), std::move(step), std::move(body)));
    else
        list.Add(kvStatements::For(at, variable, std::move(begin), std::move(end), down, std::move(body)));
}

void TkvCompiler::Try(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const TkvStatementPos at = Position(element, scope);
    ListPtr body = NewList(element, scope);
    ListPtr handler = NewList(element, scope);
    bool isExcept = false;
    for (int i = 0; i < element.Count(); ++i) {
        const TkvXMLItem &item = *element.Items(i);
        if (kvNamed(item, QLatin1String("exceptstmt")) || kvNamed(item, QLatin1String("finallystmt"))) {
            isExcept = kvNamed(item, QLatin1String("exceptstmt"));
            StatementsOf(item, scope, *handler);
        } else {
            Statement(item, scope, *body);
        }
    }
    list.Add(kvStatements::Try(at, std::move(body), isExcept, std::move(handler)));
}

void TkvCompiler::Return(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const TkvStatementPos at = Position(element, scope);
    if (element.Count() > 0) {
        TkvCustomVariable *result = Lookup(QStringLiteral("Result"), scope);
        auto *variable = dynamic_cast<TkvVariable *>(result);
        if (!variable || variable->IsReadOnly)
            Error(kvMessage("SLeftCantAssigned"));
        TkvExprPtr value = Expression(*element.Items(0), scope);
        At(element);
        if (!kvAssignCompatible(variable->Typ, variable->TypeName, value->Typ, value->TypeName))
            IncompatibleTypes(variable->Typ, variable->TypeName, value->Typ, value->TypeName);
        list.Add(kvStatements::Assignment(at, kvVariableNode(variable), std::move(value), 0));
    }
    list.Add(kvStatements::Jump(at, TkvFlow::Exit));
}

void TkvCompiler::With(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const int count = element.Count();
    for (int i = 0; i + 1 < count; ++i) {
        const TkvXMLItem &dsgn = *element.Items(i);
        TkvExprPtr designator = Designator(dsgn, scope, Emit::None);
        At(dsgn);
        if (designator->Typ != fvtClass && designator->Typ != fvtVariant)
            Error(kvMessage("SClassRequired"));
        int n = 0;
        while (scope->FindLocal(QStringLiteral("_WithList_%1").arg(n)))
            ++n;
        const QString name = QStringLiteral("_WithList_%1").arg(n);
        TkvClassVariable *binding = nullptr;
        if (designator->Typ == fvtClass) {
            binding = scope->FindClass(designator->TypeName);
            if (!binding)
                Error(kvMessage("SUnknownType") + kvQuoted(designator->TypeName));
        }
        auto *hidden = new TkvVariable(name, designator->Typ, designator->TypeName);
        scope->Add(name, hidden);
        list.Add(kvStatements::With(Position(dsgn, scope), std::move(designator), hidden));
        FWithList.push_back({hidden, binding});
    }
    if (count > 0)
        Statement(*element.Items(count - 1), scope, list);
    FWithList.resize(FWithList.size() - size_t(qMax(0, count - 1)));
}
