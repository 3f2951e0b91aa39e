#pragma once
/// \file

#include "script/exec/kvexpr.h"
#include "script/exec/kvrunstate.h"

#include <QString>

#include <memory>
#include <vector>

class TkvScript;
struct TkvRunState;

/// Where a statement is: its script, position and unit (empty: main text).
struct TkvStatementPos
{
    TkvScript *Program = nullptr; ///< the script the statement belongs to
    int Line = 0; ///< line, from 1
    int Column = 0; ///< column, from 1
    QString Unit; ///< the unit, empty for the main text
};

/// How a statement ended: normally, or with a break, continue or exit that
/// the enclosing loop or procedure takes over.
enum class TkvFlow : quint8 { Next, Break, Continue, Exit };

/// An executable statement with its source position.
class TkvStatement
{
public:
    /// A statement at At.
    explicit TkvStatement(const TkvStatementPos &at);
    virtual ~TkvStatement();
    TkvStatement(const TkvStatement &) = delete;
    TkvStatement &operator=(const TkvStatement &) = delete;

    /// Runs the statement.
    virtual TkvFlow Execute() = 0;

    TkvScript *Program() const { return FProgram; } ///< the owning script
    int Line() const { return FLine; }             ///< from 1
    int Column() const { return FColumn; }         ///< from 1
    const QString &UnitName() const { return FUnit; } ///< empty for the main text
    /// "line:column".
    QString SourcePos() const;

protected:
    /// Calls the run-line hook, when any script has one; True when the
    /// program was stopped meanwhile and the statement must skip its work.
    bool Stopped() const
    {
        if (Q_LIKELY(kvRunLineHooks.load(std::memory_order_relaxed) == 0))
            return false;
        NotifyRunLine();
        return Terminated();
    }
    /// Whether the program was asked to stop.
    bool Terminated() const { return FRun->Terminated.load(std::memory_order_relaxed); }

private:
    void NotifyRunLine() const;

    TkvScript *FProgram;
    TkvRunState *FRun;
    QString FUnit;
    int FLine;
    int FColumn;
};

/// An owned statement.
using TkvStatementPtr = std::unique_ptr<TkvStatement>;

/// A list of statements run in order; records the innermost position of an
/// error that passes through it.
class TkvStatementList : public TkvStatement
{
public:
    using TkvStatement::TkvStatement;
    TkvFlow Execute() override { return Run(); }
    /// Execute without the virtual call, for the statements that own lists.
    TkvFlow Run()
    {
        const size_t count = FItems.size();
        size_t i = 0;
        try {
            for (; i < count; ++i) {
                if (Q_UNLIKELY(Terminated()))
                    return TkvFlow::Exit;
                const TkvFlow flow = FItems[i]->Execute();
                if (Q_UNLIKELY(flow != TkvFlow::Next))
                    return flow;
            }
        } catch (...) {
            Locate(*FItems[i]);
        }
        return TkvFlow::Next;
    }

    /// Appends Statement.
    void Add(TkvStatementPtr statement) { FItems.push_back(std::move(statement)); }
    /// Number of statements.
    int Count() const { return int(FItems.size()); }
    /// Statement I.
    TkvStatement *Items(int i) const { return FItems[size_t(i)].get(); }
    /// Removes every statement.
    void Clear() { FItems.clear(); }

private:
    // Records Statement's position in the error being raised (the innermost
    // statement gets there first) and raises it again.
    [[noreturn]] static void Locate(const TkvStatement &statement);

    std::vector<TkvStatementPtr> FItems;
};

/// Statement factories used by the compiler. Each statement notifies the
/// run-line hook before its work.
namespace kvStatements {
/// Target := Value; Op '+', '-', '*', '/' for the compound forms ('&': text
/// concatenation), 0 for plain.
TkvStatementPtr Assignment(const TkvStatementPos &at, TkvExprPtr target, TkvExprPtr value, char op);
/// A call whose value is discarded; Modificator '+'/'-' for ++ and --.
TkvStatementPtr Call(const TkvStatementPos &at, TkvExprPtr designator, char modificator);
/// if Condition then Then else Else.
TkvStatementPtr If(const TkvStatementPos &at, TkvExprPtr condition, std::unique_ptr<TkvStatementList> then,
                   std::unique_ptr<TkvStatementList> otherwise);
/// One branch of a case statement.
struct CaseSelector
{
    TkvExprPtr Set; ///< made by kvSetNode
    std::unique_ptr<TkvStatementList> Body; ///< the statements the branch runs
};
/// case Condition of selectors else Else.
TkvStatementPtr Case(const TkvStatementPos &at, TkvExprPtr condition, std::vector<CaseSelector> selectors,
                     std::unique_ptr<TkvStatementList> otherwise);
/// while Condition do Body.
TkvStatementPtr While(const TkvStatementPos &at, TkvExprPtr condition, std::unique_ptr<TkvStatementList> body);
/// repeat Body until Condition (until not Condition when Inverse).
TkvStatementPtr Repeat(const TkvStatementPos &at, std::unique_ptr<TkvStatementList> body, TkvExprPtr condition,
                       bool inverse);
/// for Variable := Begin to/downto End do Body, counting 32-bit integers.
TkvStatementPtr For(const TkvStatementPos &at, TkvVariable *variable, TkvExprPtr begin, TkvExprPtr end, bool down,
                    std::unique_ptr<TkvStatementList> body);
/// For Variable = Begin To End Step Step (Step may be null: 1).
TkvStatementPtr VbFor(const TkvStatementPos &at, TkvVariable *variable, TkvExprPtr begin, TkvExprPtr end,
                      TkvExprPtr step, std::unique_ptr<TkvStatementList> body);
/// for (First; Condition; Second) Body; a missing Condition is True.
TkvStatementPtr CppFor(const TkvStatementPos &at, std::unique_ptr<TkvStatementList> first, TkvExprPtr condition,
                       std::unique_ptr<TkvStatementList> second, std::unique_ptr<TkvStatementList> body);
/// try Body except/finally Handler.
TkvStatementPtr Try(const TkvStatementPos &at, std::unique_ptr<TkvStatementList> body, bool isExcept,
                    std::unique_ptr<TkvStatementList> handler);
/// break, continue or exit.
TkvStatementPtr Jump(const TkvStatementPos &at, TkvFlow flow);
/// Stores the object Designator names in the hidden with variable.
TkvStatementPtr With(const TkvStatementPos &at, TkvExprPtr designator, TkvVariable *variable);
} // namespace kvStatements
