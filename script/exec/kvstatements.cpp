#include "script/exec/kvstatements.h"

#include "script/engine/kvrunerror.h"
#include "script/engine/kvvariables.h"
#include "script/exec/kvrunstate.h"

TkvStatement::TkvStatement(const TkvStatementPos &at)
    : FProgram(at.Program), FRun(at.Program->FRun.get()), FUnit(at.Unit), FLine(at.Line), FColumn(at.Column)
{
}

TkvStatement::~TkvStatement() = default;

QString TkvStatement::SourcePos() const
{
    return QStringLiteral("%1:%2").arg(FLine).arg(FColumn);
}

void TkvStatement::NotifyRunLine() const
{
    for (TkvScript *s = FProgram; s; s = s->Parent()) {
        if (s->OnRunLine()) {
            if (!s->FRunLineMuted)
                s->OnRunLine()(FProgram, FUnit, SourcePos());
            return;
        }
    }
}

void TkvStatementList::Locate(const TkvStatement &statement)
{
    try {
        throw;
    } catch (TkvRunError &e) {
        e.Locate(statement.Line(), statement.Column(), statement.UnitName());
        throw;
    } catch (const TzelException &e) {
        throw TkvRunError::From(e, statement.Line(), statement.Column(), statement.UnitName());
    }
}

namespace {

using ListPtr = std::unique_ptr<TkvStatementList>;

// A loop body's flow: whether the loop ends, and how.
bool leavesLoop(TkvFlow flow, TkvFlow &result)
{
    if (flow == TkvFlow::Break)
        return true;
    if (flow == TkvFlow::Exit) {
        result = TkvFlow::Exit;
        return true;
    }
    return false;
}

class AssignmentStmt final : public TkvStatement
{
public:
    AssignmentStmt(const TkvStatementPos &at, TkvExprPtr target, TkvExprPtr value)
        : TkvStatement(at), FTarget(std::move(target)), FValue(std::move(value)), FVariable(FTarget->Variable())
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        Variant tmp;
        const Variant &v = FValue.Get(tmp);
        if (FVariable)
            FVariable->Store(&v == &tmp ? std::move(tmp) : Variant(v));
        else
            FTarget->Assign(&v == &tmp ? std::move(tmp) : Variant(v));
        return TkvFlow::Next;
    }

private:
    TkvExprPtr FTarget;
    TkvOperand FValue;
    TkvVariable *FVariable;
};

// Target op= Value, in place when the target is a variable.
template <char Op>
class CompoundStmt final : public TkvStatement
{
public:
    CompoundStmt(const TkvStatementPos &at, TkvExprPtr target, TkvExprPtr value)
        : TkvStatement(at), FTarget(std::move(target)), FValue(std::move(value)), FVariable(FTarget->Variable())
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        if (FVariable) {
            Variant tmp;
            const Variant *v = &FValue.Get(tmp);
            Variant &slot = *FVariable->PValue();
            if (v == &slot) { // x := x + x
                tmp = slot;
                v = &tmp;
            }
            Apply(slot, *v);
            FVariable->Normalize();
        } else {
            Variant current = FTarget->Value();
            Variant tmp;
            Apply(current, FValue.Get(tmp));
            FTarget->Assign(std::move(current));
        }
        return TkvFlow::Next;
    }

private:
    static void Apply(Variant &target, const Variant &v)
    {
        if constexpr (Op == '+')
            target.AddInPlace(v);
        else if constexpr (Op == '&') // text concatenation when the target is a text
            target.IsString() ? target.AddInPlace(v.IsString() ? v : Variant(v.ToString()))
                              : target.AddInPlace(v);
        else if constexpr (Op == '-')
            target = Variant::Sub(target, v);
        else if constexpr (Op == '*')
            target = Variant::Mul(target, v);
        else
            target = Variant::Div(target, v);
    }

    TkvExprPtr FTarget;
    TkvOperand FValue;
    TkvVariable *FVariable;
};

class CallStmt final : public TkvStatement
{
public:
    CallStmt(const TkvStatementPos &at, TkvExprPtr designator, char modificator)
        : TkvStatement(at), FDesignator(std::move(designator)), FVariable(FDesignator->Variable()),
          FStep(modificator == '-' ? -1 : 1), FModificator(modificator)
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        if (FModificator == 0) {
            Variant tmp;
            FDesignator->Eval(tmp);
        } else if (FVariable) {
            FVariable->PValue()->AddInPlace(FStep);
            FVariable->Normalize();
        } else {
            FDesignator->Assign(Variant::Add(FDesignator->Value(), FStep));
        }
        return TkvFlow::Next;
    }

private:
    TkvExprPtr FDesignator;
    TkvVariable *FVariable; // the target of ++ and -- when it is a plain variable
    const Variant FStep;
    char FModificator;
};

class IfStmt final : public TkvStatement
{
public:
    IfStmt(const TkvStatementPos &at, TkvExprPtr condition, ListPtr then, ListPtr otherwise)
        : TkvStatement(at), FCondition(std::move(condition)), FThen(std::move(then)), FElse(std::move(otherwise))
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        if (FCondition->EvalBool())
            return FThen->Run();
        return FElse->Run();
    }

private:
    TkvExprPtr FCondition;
    ListPtr FThen;
    ListPtr FElse;
};

class CaseStmt final : public TkvStatement
{
public:
    CaseStmt(const TkvStatementPos &at, TkvExprPtr condition, std::vector<kvStatements::CaseSelector> selectors,
             ListPtr otherwise)
        : TkvStatement(at), FCondition(std::move(condition)), FSelectors(std::move(selectors)),
          FElse(std::move(otherwise))
    {
    }
    TkvFlow Execute() override
    {
        const Variant value = FCondition->Value();
        if (Stopped())
            return TkvFlow::Next;
        for (kvStatements::CaseSelector &selector : FSelectors)
            if (kvSetContains(*selector.Set, value))
                return selector.Body->Run();
        return FElse->Run();
    }

private:
    TkvExprPtr FCondition;
    std::vector<kvStatements::CaseSelector> FSelectors;
    ListPtr FElse;
};

class WhileStmt final : public TkvStatement
{
public:
    WhileStmt(const TkvStatementPos &at, TkvExprPtr condition, ListPtr body)
        : TkvStatement(at), FCondition(std::move(condition)), FBody(std::move(body))
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        TkvFlow result = TkvFlow::Next;
        for (;;) {
            if (!FCondition->EvalBool() || Terminated())
                break;
            if (leavesLoop(FBody->Run(), result))
                break;
        }
        return result;
    }

private:
    TkvExprPtr FCondition;
    ListPtr FBody;
};

class RepeatStmt final : public TkvStatement
{
public:
    RepeatStmt(const TkvStatementPos &at, ListPtr body, TkvExprPtr condition, bool inverse)
        : TkvStatement(at), FBody(std::move(body)), FCondition(std::move(condition)), FInverse(inverse)
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        TkvFlow result = TkvFlow::Next;
        for (;;) {
            if (leavesLoop(FBody->Run(), result) || Terminated())
                break;
            if (FCondition->EvalBool() != FInverse)
                break;
        }
        return result;
    }

private:
    ListPtr FBody;
    TkvExprPtr FCondition;
    bool FInverse;
};

class ForStmt final : public TkvStatement
{
public:
    ForStmt(const TkvStatementPos &at, TkvVariable *variable, TkvExprPtr begin, TkvExprPtr end, bool down,
            ListPtr body)
        : TkvStatement(at), FVariable(variable), FBegin(std::move(begin)), FEnd(std::move(end)),
          FBody(std::move(body)), FDown(down)
    {
    }
    TkvFlow Execute() override
    {
        const qint64 first = FBegin->Value().ToInt();
        const qint64 last = FEnd->Value().ToInt();
        if (Stopped())
            return TkvFlow::Next;
        const qint64 step = FDown ? -1 : 1;
        const qint64 count = FDown ? first - last + 1 : last - first + 1;
        TkvFlow result = TkvFlow::Next;
        Variant &slot = *FVariable->PValue();
        qint64 value = first;
        for (qint64 n = 0; n < count; ++n, value += step) {
            slot = Variant(qint32(value));
            if (leavesLoop(FBody->Run(), result) || Terminated())
                break;
        }
        return result;
    }

private:
    TkvVariable *FVariable;
    TkvExprPtr FBegin;
    TkvExprPtr FEnd;
    ListPtr FBody;
    bool FDown;
};

class VbForStmt final : public TkvStatement
{
public:
    VbForStmt(const TkvStatementPos &at, TkvVariable *variable, TkvExprPtr begin, TkvExprPtr end, TkvExprPtr step,
              ListPtr body)
        : TkvStatement(at), FVariable(variable), FBegin(std::move(begin)), FEnd(std::move(end)),
          FStep(std::move(step)), FBody(std::move(body))
    {
    }
    TkvFlow Execute() override
    {
        Variant counter = FBegin->Value();
        const Variant last = FEnd->Value();
        const Variant step = FStep ? FStep->Value() : Variant(1);
        const bool negative = Variant::Less(step, Variant(0));
        if (Stopped())
            return TkvFlow::Next;
        TkvFlow result = TkvFlow::Next;
        while (negative ? Variant::Compared<VarCmp::Ge>(counter, last) : Variant::Compared<VarCmp::Le>(counter, last)) {
            *FVariable->PValue() = counter;
            if (leavesLoop(FBody->Run(), result) || Terminated())
                break;
            counter.AddInPlace(step);
        }
        return result;
    }

private:
    TkvVariable *FVariable;
    TkvExprPtr FBegin;
    TkvExprPtr FEnd;
    TkvExprPtr FStep;
    ListPtr FBody;
};

class CppForStmt final : public TkvStatement
{
public:
    CppForStmt(const TkvStatementPos &at, ListPtr first, TkvExprPtr condition, ListPtr second, ListPtr body)
        : TkvStatement(at), FFirst(std::move(first)), FCondition(std::move(condition)), FSecond(std::move(second)),
          FBody(std::move(body))
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        TkvFlow result = FFirst->Run();
        if (result != TkvFlow::Next)
            return result;
        for (;;) {
            if ((FCondition && !FCondition->EvalBool()) || Terminated())
                break;
            if (leavesLoop(FBody->Run(), result))
                break;
            if (FSecond->Run() == TkvFlow::Exit)
                return TkvFlow::Exit;
        }
        return result;
    }

private:
    ListPtr FFirst;
    TkvExprPtr FCondition;
    ListPtr FSecond;
    ListPtr FBody;
};

class TryStmt final : public TkvStatement
{
public:
    TryStmt(const TkvStatementPos &at, ListPtr body, bool isExcept, ListPtr handler)
        : TkvStatement(at), FBody(std::move(body)), FHandler(std::move(handler)), FIsExcept(isExcept)
    {
    }
    TkvFlow Execute() override
    {
        if (Stopped())
            return TkvFlow::Next;
        if (FIsExcept) {
            try {
                return FBody->Run();
            } catch (const TkvRunError &e) { // the list made every library error one
                Program()->SetVariables(QStringLiteral("ExceptionClassName"), Variant(e.ClassName()));
                Program()->SetVariables(QStringLiteral("ExceptionMessage"), Variant(e.message()));
            }
            return FHandler->Run();
        }
        TkvFlow flow;
        try {
            flow = FBody->Run();
        } catch (...) {
            FHandler->Run();
            throw;
        }
        const TkvFlow after = FHandler->Run();
        return after != TkvFlow::Next ? after : flow;
    }

private:

    ListPtr FBody;
    ListPtr FHandler;
    bool FIsExcept;
};

class JumpStmt final : public TkvStatement
{
public:
    JumpStmt(const TkvStatementPos &at, TkvFlow flow) : TkvStatement(at), FFlow(flow) {}
    TkvFlow Execute() override
    {
        if (FFlow == TkvFlow::Exit && Stopped())
            return TkvFlow::Next;
        return FFlow;
    }

private:
    TkvFlow FFlow;
};

class WithStmt final : public TkvStatement
{
public:
    WithStmt(const TkvStatementPos &at, TkvExprPtr designator, TkvVariable *variable)
        : TkvStatement(at), FDesignator(std::move(designator)), FVariable(variable)
    {
    }
    TkvFlow Execute() override
    {
        FVariable->Store(FDesignator->Value());
        return TkvFlow::Next;
    }

private:
    TkvExprPtr FDesignator;
    TkvVariable *FVariable;
};

} // namespace

namespace kvStatements {

TkvStatementPtr Assignment(const TkvStatementPos &at, TkvExprPtr target, TkvExprPtr value, char op)
{
    switch (op) {
    case '+':
        return std::make_unique<CompoundStmt<'+'>>(at, std::move(target), std::move(value));
    case '-':
        return std::make_unique<CompoundStmt<'-'>>(at, std::move(target), std::move(value));
    case '*':
        return std::make_unique<CompoundStmt<'*'>>(at, std::move(target), std::move(value));
    case '/':
        return std::make_unique<CompoundStmt<'/'>>(at, std::move(target), std::move(value));
    case '&':
        return std::make_unique<CompoundStmt<'&'>>(at, std::move(target), std::move(value));
    default:
        return std::make_unique<AssignmentStmt>(at, std::move(target), std::move(value));
    }
}

TkvStatementPtr Call(const TkvStatementPos &at, TkvExprPtr designator, char modificator)
{
    return std::make_unique<CallStmt>(at, std::move(designator), modificator);
}

TkvStatementPtr If(const TkvStatementPos &at, TkvExprPtr condition, ListPtr then, ListPtr otherwise)
{
    return std::make_unique<IfStmt>(at, std::move(condition), std::move(then), std::move(otherwise));
}

TkvStatementPtr Case(const TkvStatementPos &at, TkvExprPtr condition, std::vector<CaseSelector> selectors,
                     ListPtr otherwise)
{
    return std::make_unique<CaseStmt>(at, std::move(condition), std::move(selectors), std::move(otherwise));
}

TkvStatementPtr While(const TkvStatementPos &at, TkvExprPtr condition, ListPtr body)
{
    return std::make_unique<WhileStmt>(at, std::move(condition), std::move(body));
}

TkvStatementPtr Repeat(const TkvStatementPos &at, ListPtr body, TkvExprPtr condition, bool inverse)
{
    return std::make_unique<RepeatStmt>(at, std::move(body), std::move(condition), inverse);
}

TkvStatementPtr For(const TkvStatementPos &at, TkvVariable *variable, TkvExprPtr begin, TkvExprPtr end, bool down,
                    ListPtr body)
{
    return std::make_unique<ForStmt>(at, variable, std::move(begin), std::move(end), down, std::move(body));
}

TkvStatementPtr VbFor(const TkvStatementPos &at, TkvVariable *variable, TkvExprPtr begin, TkvExprPtr end,
                      TkvExprPtr step, ListPtr body)
{
    return std::make_unique<VbForStmt>(at, variable, std::move(begin), std::move(end), std::move(step),
                                       std::move(body));
}

TkvStatementPtr CppFor(const TkvStatementPos &at, ListPtr first, TkvExprPtr condition, ListPtr second, ListPtr body)
{
    return std::make_unique<CppForStmt>(at, std::move(first), std::move(condition), std::move(second),
                                        std::move(body));
}

TkvStatementPtr Try(const TkvStatementPos &at, ListPtr body, bool isExcept, ListPtr handler)
{
    return std::make_unique<TryStmt>(at, std::move(body), isExcept, std::move(handler));
}

TkvStatementPtr Jump(const TkvStatementPos &at, TkvFlow flow)
{
    return std::make_unique<JumpStmt>(at, flow);
}

TkvStatementPtr With(const TkvStatementPos &at, TkvExprPtr designator, TkvVariable *variable)
{
    return std::make_unique<WithStmt>(at, std::move(designator), variable);
}

} // namespace kvStatements
