// Expressions and designators of the second compilation stage.

#include "script/compile/kvcompiler.h"

#include "script/compile/kvtreeitems.h"
#include "base/core/zelformat.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvclassvariable.h"
#include "script/engine/kvobjects.h"
#include "script/exec/kvdesignators.h"
#include "script/exec/kvstatements.h"

namespace {

struct OperatorInfo
{
    const char *Text;
    TkvOperatorType Op;
    int Priority; // smaller binds tighter
};

// The same priorities serve every language.
constexpr OperatorInfo kOperators[] = {
    {">", opGreat, 4},     {"<", opLess, 4},     {"<=", opLessEq, 4},     {">=", opGreatEq, 4},
    {"<>", opNonEq, 4},    {"=", opEq, 4},       {"+", opPlus, 3},        {"STRCAT", opPlus, 3},
    {"-", opMinus, 3},     {"OR", opOr, 3},      {"XOR", opXor, 3},       {"*", opMul, 2},
    {"/", opDivFloat, 2},  {"DIV", opDivInt, 2}, {"MOD", opMod, 2},       {"AND", opAnd, 2},
    {"SHL", opShl, 2},     {"SHR", opShr, 2},    {"(", opLeftBracket, 6}, {")", opRightBracket, 5},
    {"NOT", opNot, 1},     {"UNMINUS", opUnMinus, 1}, {"IN", opIn, 4},    {"IS", opIs, 4},
};

bool isComparison(TkvOperatorType op)
{
    return op >= opGreat && op <= opEq;
}

TkvVarType typeOfConstant(const Variant &value)
{
    switch (value.VarType()) {
    case varBoolean:
        return fvtBool;
    case varSingle:
    case varDouble:
    case varCurrency:
        return fvtFloat;
    case varInt64:
        return fvtInt64;
    default:
        return value.IsString() ? fvtString : fvtInt;
    }
}

} // namespace

// A node of the operator-priority tree an expression is first built into.
struct TkvCompiler::Node
{
    TkvOperatorType Op = opNone;
    int Priority = 0;
    bool StrCat = false;
    bool OptimizeBool = false;
    Node *Left = nullptr;
    Node *Right = nullptr;
    Node *Parent = nullptr;
    TkvExprPtr Operand; // set for operands
    TkvClassVariable *Class = nullptr; // an operand that names a class ("is")
    QString Pos;
    TkvVarType Typ = fvtVariant;
    QString TypeName;
};

struct TkvCompiler::Tree
{
    std::deque<Node> Nodes;
    Node *Root;
    Node *Current;
    TkvVarType Typ = fvtVariant; // of the whole expression, once checked
    QString TypeName;
    Tree()
    {
        Root = &Nodes.emplace_back();
        Root->Priority = 7;
        Current = Root;
    }
    Node *Top() const { return Root->Left; }
};

void TkvCompiler::Assignment(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list)
{
    const TkvStatementPos at = Position(element, scope);
    if (element.Count() < 2)
        Error(QStringLiteral("Invalid program tree"));
    TkvExprPtr target = Designator(*element.Items(0), scope, Emit::None);
    At(element);
    if (target->IsReadOnly)
        Error(kvMessage("SLeftCantAssigned"));
    char op = 0;
    int valueAt = 1;
    if (kvNamed(*element.Items(1), QLatin1String("modificator"))) {
        const QString text = element.Items(1)->Prop(QStringLiteral("text"));
        op = text.isEmpty() ? 0 : char(text.at(0).unicode());
        valueAt = 2;
    }
    if (valueAt >= element.Count())
        Error(QStringLiteral("Invalid program tree"));
    Tree tree;
    BuildTree(*element.Items(valueAt), scope, tree);
    CheckTypes(tree);
    At(element);
    if (!kvAssignCompatible(target->Typ, target->TypeName, tree.Typ, tree.TypeName))
        IncompatibleTypes(target->Typ, target->TypeName, tree.Typ, tree.TypeName);
    TkvVariable *variable = target->Variable();
    if (op == 0 && variable)
        op = Optimize(tree, variable);
    FBuildScope = scope;
    TkvExprPtr value = Build(tree.Top());
    list.Add(kvStatements::Assignment(at, std::move(target), std::move(value), op));
}

TkvExprPtr TkvCompiler::Expression(const TkvXMLItem &expr, TkvScript *scope)
{
    Tree tree;
    BuildTree(expr, scope, tree);
    CheckTypes(tree);
    FBuildScope = scope;
    return Build(tree.Top());
}

void TkvCompiler::BuildTree(const TkvXMLItem &expr, TkvScript *scope, Tree &tree)
{
    const auto operand = [&tree](TkvExprPtr value, const QString &pos) {
        Node &node = tree.Nodes.emplace_back();
        node.Typ = value->Typ;
        node.TypeName = value->TypeName;
        node.Operand = std::move(value);
        node.Pos = pos;
        Node *parent = tree.Current;
        node.Parent = parent;
        (parent->Left ? parent->Right : parent->Left) = &node;
        tree.Current = &node;
    };
    for (int i = 0; i < expr.Count(); ++i) {
        const TkvXMLItem &item = *expr.Items(i);
        At(item);
        const QString pos = item.Prop(QStringLiteral("pos"));
        if (kvNamed(item, QLatin1String("op"))) {
            const QString text = item.Prop(QStringLiteral("text"));
            if (i == expr.Count() - 1 && text != QLatin1String(")"))
                continue; // a dangling operator
            AddOperator(tree, item);
        } else if (kvNamed(item, QLatin1String("number"))) {
            const QString text = item.Prop(QStringLiteral("text"));
            bool ok = false;
            const qint64 integer = text.startsWith(QLatin1Char('$')) ? text.mid(1).toLongLong(&ok, 16)
                                                                     : text.toLongLong(&ok);
            Variant value;
            if (ok)
                value = integer == qint32(integer) ? Variant(qint32(integer)) : Variant::FromInt64(integer);
            else
                value = Variant(text.toDouble());
            TkvExprPtr node = kvConstNode(value);
            node->Typ = typeOfConstant(value);
            operand(std::move(node), pos);
        } else if (kvNamed(item, QLatin1String("string"))) {
            const QString text = item.Prop(QStringLiteral("text"));
            TkvExprPtr node = kvConstNode(Variant(text.mid(1, text.size() - 2)));
            node->Typ = fvtString;
            operand(std::move(node), pos);
        } else if (kvNamed(item, QLatin1String("dsgn"))) {
            operand(Designator(item, scope, Emit::None), pos);
            if (item.Count() == 1 && kvNamed(*item.Items(0), QLatin1String("node")))
                tree.Current->Class = scope->FindClass(item.Items(0)->Prop(QStringLiteral("text")));
        } else if (kvNamed(item, QLatin1String("set"))) {
            operand(SetExpression(item, scope), pos);
        } else if (kvNamed(item, QLatin1String("new"))) {
            if (item.Count() > 0)
                operand(Designator(*item.Items(0), scope, Emit::Create), pos);
        } else if (kvNamed(item, QLatin1String("expr"))) {
            BuildTree(item, scope, tree);
        }
    }
}

void TkvCompiler::AddOperator(Tree &tree, const TkvXMLItem &op)
{
    const QString text = op.Prop(QStringLiteral("text")).toUpper();
    const OperatorInfo *info = nullptr;
    for (const OperatorInfo &candidate : kOperators)
        if (text == QLatin1String(candidate.Text))
            info = &candidate;
    if (!info)
        Error(QStringLiteral("Unknown operator: ") + kvQuoted(text));
    if (info->Op == opRightBracket) {
        Node *open = tree.Current;
        while (open && info->Priority >= open->Priority)
            open = open->Parent;
        if (!open || open->Op != opLeftBracket || !open->Left)
            Error(QStringLiteral("Unbalanced brackets"));
        Node *inner = open->Left;
        Node *parent = open->Parent;
        (parent->Left == open ? parent->Left : parent->Right) = inner;
        inner->Parent = parent;
        tree.Current = inner;
        return;
    }
    Node &node = tree.Nodes.emplace_back();
    node.Op = info->Op;
    node.Priority = info->Priority;
    node.StrCat = text == QLatin1String("STRCAT");
    node.Pos = TokenStart(op);
    Node *current = tree.Current;
    const bool prefix = info->Op == opLeftBracket || info->Op == opNot || info->Op == opUnMinus;
    if (prefix || current == tree.Root || (current->Op == opLeftBracket && !current->Operand)) {
        node.Parent = current;
        (current->Left ? current->Right : current->Left) = &node;
        tree.Current = &node;
        return;
    }
    // Climb while the new operator binds as loosely as the node or looser,
    // so that operators of one priority associate to the left.
    Node *passed = current;
    Node *at = current->Parent;
    while (at && node.Priority >= at->Priority) {
        passed = at;
        at = at->Parent;
    }
    (at->Left == passed ? at->Left : at->Right) = &node;
    node.Parent = at;
    node.Left = passed;
    passed->Parent = &node;
    tree.Current = &node;
}

void TkvCompiler::CheckTypes(Tree &tree)
{
    if (!tree.Top())
        Error(QStringLiteral("Expression expected"));
    QString errorPos;
    const std::function<void(Node *)> infer = [&](Node *node) {
        if (!node || node->Operand)
            return;
        infer(node->Left);
        infer(node->Right);
        if (node->Op == opLeftBracket) { // an unclosed bracket: its content
            node->Typ = node->Left ? node->Left->Typ : fvtVariant;
            node->TypeName = node->Left ? node->Left->TypeName : QString();
            return;
        }
        const TkvVarType l = node->Left ? node->Left->Typ : fvtVariant;
        const TkvVarType r = node->Right ? node->Right->Typ : fvtVariant;
        const QString &lName = node->Left ? node->Left->TypeName : QString();
        const QString &rName = node->Right ? node->Right->TypeName : QString();
        const TkvOperatorType op = node->Op;
        node->OptimizeBool = l == fvtBool && r == fvtBool;
        bool error = false;
        // Text concatenation takes any operand after a text.
        const bool textCat = node->StrCat && (l == fvtString || l == fvtChar);
        if (!(op == opIs && l == fvtClass && r == fvtClass) && !textCat) {
            error = !kvTypesCompatible(l, lName, r, rName)
                 || (l == fvtBool && op != opNonEq && op != opEq && op != opOr && op != opXor && op != opAnd
                     && op != opNot)
                 || ((l == fvtChar || l == fvtString) && !isComparison(op) && op != opPlus && op != opIn)
                 || ((l == fvtClass || l == fvtArray) && op != opEq && op != opNonEq);
        }
        if (error && errorPos.isEmpty())
            errorPos = node->Pos;
        node->Typ = l;
        node->TypeName = lName;
        if ((l == fvtInt && r == fvtFloat) || (l == fvtFloat && r == fvtInt) || (l == fvtFloat && r == fvtInt64)
            || (l == fvtInt64 && r == fvtFloat)
            || (op == opDivFloat && ((l == fvtInt && r == fvtInt) || (l == fvtInt64 && r == fvtInt64))))
            node->Typ = fvtFloat;
        if (isComparison(op) || op == opIn || op == opIs)
            node->Typ = fvtBool;
    };
    infer(tree.Top());
    if (!errorPos.isEmpty()) {
        FPos = errorPos;
        Error(kvMessage("SIncompatibleTypes"));
    }
    tree.Typ = tree.Top()->Typ;
    tree.TypeName = tree.Top()->TypeName;
}

char TkvCompiler::Optimize(Tree &tree, TkvVariable *target)
{
    Node *root = tree.Top();
    if (!root || root->Operand)
        return 0;
    const auto isTarget = [target](const Node *node) {
        return node && node->Operand && node->Operand->Variable() == target;
    };
    char op = 0;
    switch (root->Op) {
    case opPlus:
        op = root->StrCat ? '&' : '+';
        break;
    case opMinus:
        op = '-';
        break;
    case opMul:
        op = '*';
        break;
    case opDivFloat:
        op = '/';
        break;
    default:
        return 0;
    }
    Node *rest = nullptr;
    if (isTarget(root->Left) && root->Right) {
        rest = root->Right;
    } else if ((op == '+' || op == '*') && isTarget(root->Right) && target->Typ != fvtString
               && target->Typ != fvtVariant) {
        rest = root->Left;
    } else {
        return 0;
    }
    tree.Root->Left = rest;
    rest->Parent = tree.Root;
    return op;
}

TkvExprPtr TkvCompiler::Build(Node *node)
{
    if (node->Operand)
        return std::move(node->Operand);
    if (node->Op == opLeftBracket)
        return Build(node->Left);
    TkvExprPtr result;
    bool constant = false;
    switch (node->Op) {
    case opNot:
    case opUnMinus: {
        TkvExprPtr operand = Build(node->Left);
        constant = operand->IsConst;
        result = kvUnaryNode(node->Op, std::move(operand));
        break;
    }
    case opIs: {
        if (!node->Left || !node->Right || !node->Right->Class) {
            FPos = node->Pos;
            Error(kvMessage("SClassRequired"));
        }
        result = kvIsNode(Build(node->Left), node->Right->Class, FBuildScope);
        break;
    }
    default: {
        if (!node->Left || !node->Right)
            Error(QStringLiteral("Expression expected"));
        TkvExprPtr left = Build(node->Left);
        TkvExprPtr right = Build(node->Right);
        constant = left->IsConst && right->IsConst;
        if (node->Op == opIn)
            result = kvInNode(std::move(left), std::move(right));
        else
            result = kvBinaryNode(node->Op, std::move(left), std::move(right), node->StrCat, node->OptimizeBool);
        break;
    }
    }
    if (constant) {
        // Folded now; an operation that fails is left to fail when it runs.
        try {
            result = kvConstNode(result->Value());
        } catch (const TzelException &) {
        }
    }
    result->Typ = node->Typ;
    result->TypeName = node->TypeName;
    return result;
}

Variant TkvCompiler::ConstantValue(const TkvXMLItem &expr, TkvScript *scope, TkvExprPtr *compiled)
{
    // Worked out while compiling, so it may not run the script's own code,
    // which could run for ever or use what is not compiled yet.
    const int calls = FProcedureCalls;
    TkvExprPtr value = Expression(expr, scope);
    if (FProcedureCalls != calls)
        Error(QStringLiteral("Constant expression expected"));
    const Variant result = value->Value();
    if (compiled)
        *compiled = std::move(value);
    return result;
}

TkvExprPtr TkvCompiler::SetExpression(const TkvXMLItem &set, TkvScript *scope)
{
    std::vector<TkvExprPtr> items;
    for (int i = 0; i < set.Count(); ++i) {
        const TkvXMLItem &item = *set.Items(i);
        if (kvNamed(item, QLatin1String("range")))
            items.push_back(nullptr);
        else if (kvNamed(item, QLatin1String("expr")))
            items.push_back(Expression(item, scope));
    }
    TkvExprPtr node = kvSetNode(std::move(items));
    node->Typ = fvtVariant;
    return node;
}

TkvCustomVariable *TkvCompiler::Lookup(const QString &name, TkvScript *scope)
{
    if (TkvCustomVariable *entry = scope->Find(name))
        return entry;
    if (FDeclareVars)
        Error(kvMessage("SIdUndeclared") + kvQuoted(name));
    // Languages without declarations make a Variant where a name is first used.
    auto *variable = new TkvVariable(name, fvtVariant);
    variable->OnGetVarValue = scope->OnGetVarValue;
    variable->SourcePos = FPos;
    variable->SourceUnit = FUnit;
    scope->Add(name, variable);
    return variable;
}

TkvExprPtr TkvCompiler::Designator(const TkvXMLItem &dsgn, TkvScript *scope, Emit emitOp)
{
    At(dsgn);
    const int count = dsgn.Count();
    if (count == 0)
        Error(QStringLiteral("Invalid program tree"));
    if (kvNamed(*dsgn.Items(0), QLatin1String("addr"))) {
        // The address of a procedure is its name.
        if (count != 2 || !kvNamed(*dsgn.Items(1), QLatin1String("node")))
            Error(kvMessage("SVarRequired"));
        TkvExprPtr name = kvConstNode(Variant(dsgn.Items(1)->Prop(QStringLiteral("text"))));
        name->Typ = fvtString;
        return name;
    }
    // Each step: a name or "[", and the expressions that follow it.
    const auto argsFrom = [&dsgn, count](int &i) {
        std::vector<const TkvXMLItem *> args;
        while (i < count && kvNamed(*dsgn.Items(i), QLatin1String("expr")))
            args.push_back(dsgn.Items(i++));
        return args;
    };
    const TkvXMLItem &first = *dsgn.Items(0);
    if (!kvNamed(first, QLatin1String("node")))
        Error(QStringLiteral("Invalid program tree"));
    const QString firstName = first.Prop(QStringLiteral("text"));
    AtToken(first);
    int i = 1;
    TkvExprPtr current = WithMember(firstName, scope);
    if (current) {
        current = Member(std::move(current), firstName, argsFrom(i), dsgn, i, scope);
    } else {
        TkvCustomVariable *entry = Lookup(firstName, scope);
        if (emitOp == Emit::Create) {
            if (entry->EntryKind() != TkvCustomVariable::Kind::Class)
                Error(kvMessage("SClassRequired"));
            // new Class(args) calls the class's Create with them.
            current = Entry(entry, {}, scope);
            current = Member(std::move(current), QStringLiteral("Create"), argsFrom(i), dsgn, i, scope);
        } else {
            current = Entry(entry, argsFrom(i), scope);
        }
    }
    while (i < count) {
        const TkvXMLItem &step = *dsgn.Items(i++);
        if (!kvNamed(step, QLatin1String("node")))
            Error(QStringLiteral("Invalid program tree"));
        AtToken(step);
        current = Member(std::move(current), step.Prop(QStringLiteral("text")), argsFrom(i), dsgn, i, scope);
    }
    if (emitOp == Emit::Free) {
        if (current->Typ != fvtClass && current->Typ != fvtVariant)
            Error(kvMessage("SClassRequired"));
        if (current->Typ == fvtVariant) { // the object's own Free, found when it runs
            current = kvLateMemberNode(std::move(current), QStringLiteral("Free"), {}, scope, false);
        } else {
            int none = count;
            current = Member(std::move(current), QStringLiteral("Free"), {}, dsgn, none, scope);
        }
    }
    return current;
}

TkvExprPtr TkvCompiler::WithMember(const QString &name, TkvScript *scope)
{
    for (auto with = FWithList.rbegin(); with != FWithList.rend(); ++with) {
        const bool member = with->Binding ? with->Binding->Find(name) != nullptr : !scope->Find(name);
        if (member)
            return kvVariableNode(with->Hidden);
    }
    return nullptr;
}

std::vector<TkvExprPtr> TkvCompiler::Expressions(const std::vector<const TkvXMLItem *> &items, TkvScript *scope)
{
    std::vector<TkvExprPtr> result;
    for (const TkvXMLItem *item : items)
        result.push_back(Expression(*item, scope));
    return result;
}

TkvExprPtr TkvCompiler::Member(TkvExprPtr object, const QString &name, std::vector<const TkvXMLItem *> args,
                               const TkvXMLItem &dsgn, int &next, TkvScript *scope)
{
    const QString pos = FPos;
    const TkvVarType typ = object->Typ;
    const bool index = name == QLatin1String("[");
    if (typ == fvtString || typ == fvtChar || typ == fvtArray || (index && typ == fvtVariant)) {
        if (!index)
            Error(kvMessage(typ == fvtArray ? "SArrayRequired" : "SStringError"));
        if (args.empty())
            Error(kvMessage("SIndexRequired"));
        return kvIndexNode(std::move(object), Expressions(args, scope), scope);
    }
    if (typ == fvtVariant) { // the object's class decides when it runs
        const bool indexed = TakeIndex(dsgn, next, args);
        return kvLateMemberNode(std::move(object), name, Expressions(args, scope), scope, indexed);
    }
    if (typ != fvtClass)
        Error(kvMessage("SArrayRequired"));
    TkvClassVariable *binding = scope->FindClass(object->TypeName);
    if (!binding)
        Error(kvMessage("SUnknownType") + kvQuoted(object->TypeName));
    TkvCustomVariable *member = nullptr;
    if (index) {
        member = binding->DefaultProperty();
        if (!member)
            Error(zelFormat(kvMessage("SClassError"), {binding->Name}));
    } else {
        member = binding->Find(name);
        if (!member) // Form1.Button1: a component the object holds now
            if (TkvVariable *variable = object->Variable()) {
                const Variant component = TkvObjects::FindComponent(*variable->PValue(), name);
                if (!TkvObjects::IsNil(component))
                    member = binding->AddComponent(name, TkvObjects::ClassName(component));
            }
    }
    if (!member) {
        if (FScript->UseClassLateBinding)
            return kvLateMemberNode(std::move(object), name, Expressions(args, scope), scope, false);
        Error(kvMessage("SIdUndeclared") + kvQuoted(name));
    }
    if (member->EntryKind() == TkvCustomVariable::Kind::Property)
        return kvPropertyNode(static_cast<TkvPropertyHelper *>(member), std::move(object), scope);
    auto *method = static_cast<TkvMethodHelper *>(member);
    if (method->IndexMethod) {
        if (!index)
            TakeIndex(dsgn, next, args);
        if (args.empty())
            Error(kvMessage("SIndexRequired"));
        FPos = pos;
        return kvIndexedPropertyNode(method, std::move(object), Arguments(method, args, scope), scope);
    }
    const QString className = binding->Name;
    TkvExprPtr call = kvMethodCallNode(method, std::move(object), Arguments(method, args, scope), scope);
    if (method->Typ == fvtConstructor) { // a constructor's value is the new object
        call->Typ = fvtClass;
        call->TypeName = className;
    }
    return call;
}

bool TkvCompiler::TakeIndex(const TkvXMLItem &dsgn, int &next, std::vector<const TkvXMLItem *> &args) const
{
    // Items[i]: a member without arguments followed by a "[" step of its own.
    if (!args.empty() || next >= dsgn.Count() || !kvNamed(*dsgn.Items(next), QLatin1String("node"))
        || dsgn.Items(next)->Prop(QStringLiteral("text")) != QLatin1String("["))
        return false;
    ++next;
    while (next < dsgn.Count() && kvNamed(*dsgn.Items(next), QLatin1String("expr")))
        args.push_back(dsgn.Items(next++));
    return true;
}

TkvExprPtr TkvCompiler::Entry(TkvCustomVariable *entry, const std::vector<const TkvXMLItem *> &args,
                              TkvScript *scope)
{
    switch (entry->EntryKind()) {
    case TkvCustomVariable::Kind::Procedure:
        ++FProcedureCalls;
        return kvProcCallNode(static_cast<TkvProcVariable *>(entry), Arguments(entry, args, scope));
    case TkvCustomVariable::Kind::Method:
        return kvMethodCallNode(static_cast<TkvMethodHelper *>(entry), nullptr, Arguments(entry, args, scope),
                                scope);
    case TkvCustomVariable::Kind::Class: {
        auto *binding = static_cast<TkvClassVariable *>(entry);
        if (args.size() > 1)
            Error(kvMessage("STooManyParams"));
        // Class(x) casts x; the class alone stands for nil, the object of constructors.
        return kvClassCastNode(binding, args.empty() ? kvConstNode(Variant(0)) : Expression(*args[0], scope));
    }
    case TkvCustomVariable::Kind::Type:
    case TkvCustomVariable::Kind::Property:
        if (!args.empty())
            Error(kvMessage("STooManyParams"));
        return kvEntryNode(entry);
    case TkvCustomVariable::Kind::Variable:
        break;
    }
    auto *variable = static_cast<TkvVariable *>(entry);
    TkvExprPtr node;
    if (variable->IsReadOnly && !variable->HasReadHook()) {
        node = kvConstNode(*variable->PValue()); // constants and enumeration values
        node->Typ = variable->Typ;
        node->TypeName = variable->TypeName;
    } else {
        node = kvVariableNode(variable);
    }
    if (args.empty())
        return node;
    // name(i) indexes like name[i].
    int none = 0;
    return Member(std::move(node), QStringLiteral("["), args, *args[0], none, scope);
}

std::vector<TkvExprPtr> TkvCompiler::Arguments(TkvCustomVariable *callee, const std::vector<const TkvXMLItem *> &args,
                                               TkvScript *scope)
{
    const QString pos = FPos; // the callee's name
    if (int(args.size()) < callee->RequiredParamCount())
        Error(kvMessage("SNotEnoughParams"));
    if (int(args.size()) > callee->ParamCount())
        Error(kvMessage("STooManyParams"));
    std::vector<TkvExprPtr> result;
    for (int i = 0; i < callee->ParamCount(); ++i) {
        const TkvParamItem *param = callee->Params(i);
        TkvExprPtr arg;
        if (i >= int(args.size())) {
            arg = kvConstNode(param->DefValue);
            arg->Typ = param->Typ;
        } else if (callee->IsMacro) {
            arg = kvConstNode(Variant(SourceOf(*args[size_t(i)])));
            arg->Typ = fvtString;
        } else {
            arg = Expression(*args[size_t(i)], scope);
            if (!kvAssignCompatible(param->Typ, param->TypeName, arg->Typ, arg->TypeName)) {
                FPos = pos;
                IncompatibleTypes(param->Typ, param->TypeName, arg->Typ, arg->TypeName);
            }
        }
        result.push_back(std::move(arg));
    }
    FPos = pos;
    return result;
}

QString TkvCompiler::SourceOf(const TkvXMLItem &expr) const
{
    const qsizetype from = Offset(expr.Prop(QStringLiteral("pos")));
    const qsizetype to = Offset(expr.Prop(QStringLiteral("pos1")));
    if (from < 0 || to < from || to > FSource.size())
        return QString();
    return FSource.mid(from, to - from).trimmed();
}
