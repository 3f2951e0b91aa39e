#pragma once
/// \file

#include "script/engine/kvscript.h"
#include "script/exec/kvexpr.h"
#include "script/exec/kvstatements.h"
#include "script/xml/kvxmldocument.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class TkvClassVariable;
class TkvVariable;

/// The second compilation stage: turns a program tree into symbol-table
/// entries and executable statements and expressions, resolving every name,
/// member and slot on the way. The first error ends it, with its position.
class TkvCompiler
{
public:
    /// Compiles into Script, with the grammar of its language (for type
    /// names and whether declarations are required) and the source text the
    /// tree came from (for macro arguments; empty when unknown).
    TkvCompiler(TkvScript *script, const TkvXMLDocument &grammar, bool declareVars, const QString &source);
    ~TkvCompiler();

    /// Gives the program tree of a unit the tree only names.
    TkvGetUnitEvent OnGetILUnit;

    /// Compiles Tree; False with ErrorMsg, ErrorPos and ErrorUnit set.
    bool Compile(const TkvXMLDocument &tree);

    QString ErrorMsg;  ///< the first error
    QString ErrorPos;  ///< where, "line:column"
    QString ErrorUnit; ///< the unit, empty for the main text

private:
    struct Node;
    struct Tree;
    enum class Emit { None, Create, Free };
    using ListPtr = std::unique_ptr<TkvStatementList>;

    [[noreturn]] void Error(const QString &message) const;
    [[noreturn]] void IncompatibleTypes(TkvVarType target, const QString &targetName, TkvVarType source,
                                        const QString &sourceName) const;
    void At(const TkvXMLItem &element);
    void AtToken(const TkvXMLItem &leaf);
    QString TokenStart(const TkvXMLItem &leaf) const;
    // Offset in the source of the position "line:column"; -1 when outside.
    qsizetype Offset(const QString &pos) const;
    TkvStatementPos Position(const TkvXMLItem &element, TkvScript *scope) const;
    ListPtr NewList(const TkvXMLItem &element, TkvScript *scope) const;

    // Declarations.
    void Program(const TkvXMLItem &program, TkvScript *scope, TkvStatementList &list);
    void DeclareProcedures(const TkvXMLItem &parent, TkvScript *scope);
    void DeclareProcedure(const TkvXMLItem &element, TkvScript *scope);
    void Variables(const TkvXMLItem &element, TkvScript *scope, TkvStatementList *list, TkvCustomVariable *proc,
                   bool byRef);
    void Constant(const TkvXMLItem &element, TkvScript *scope);
    void Uses(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    TkvVarType ResolveType(QString &typeName, TkvScript *scope);

    // Statements.
    void Statement(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void StatementsOf(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    ListPtr Body(const TkvXMLItem &owner, const TkvXMLItem *element, TkvScript *scope);
    void Assignment(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void Call(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list, Emit emitOp);
    void If(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void Case(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void Loop(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void For(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void Try(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void Return(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    void With(const TkvXMLItem &element, TkvScript *scope, TkvStatementList &list);
    TkvVariable *LoopVariable(const TkvXMLItem &ident, TkvScript *scope);

    // Expressions and designators.
    TkvExprPtr Expression(const TkvXMLItem &expr, TkvScript *scope);
    void BuildTree(const TkvXMLItem &expr, TkvScript *scope, Tree &tree);
    void AddOperator(Tree &tree, const TkvXMLItem &op);
    void CheckTypes(Tree &tree);
    char Optimize(Tree &tree, TkvVariable *target);
    TkvExprPtr Build(Node *node);
    TkvExprPtr Designator(const TkvXMLItem &dsgn, TkvScript *scope, Emit emitOp);
    TkvExprPtr Entry(TkvCustomVariable *entry, const std::vector<const TkvXMLItem *> &args, TkvScript *scope);
    TkvExprPtr Member(TkvExprPtr object, const QString &name, std::vector<const TkvXMLItem *> args,
                      const TkvXMLItem &dsgn, int &next, TkvScript *scope);
    TkvExprPtr WithMember(const QString &name, TkvScript *scope);
    // Takes the indices of a "[" step at Next into Args when they belong to
    // the member before it; whether it did.
    bool TakeIndex(const TkvXMLItem &dsgn, int &next, std::vector<const TkvXMLItem *> &args) const;
    std::vector<TkvExprPtr> Expressions(const std::vector<const TkvXMLItem *> &items, TkvScript *scope);
    std::vector<TkvExprPtr> Arguments(TkvCustomVariable *callee, const std::vector<const TkvXMLItem *> &args,
                                      TkvScript *scope);
    TkvCustomVariable *Lookup(const QString &name, TkvScript *scope);
    TkvExprPtr SetExpression(const TkvXMLItem &set, TkvScript *scope);
    QString SourceOf(const TkvXMLItem &expr) const;
    Variant ConstantValue(const TkvXMLItem &expr, TkvScript *scope, TkvExprPtr *compiled = nullptr);

    TkvScript *FScript;
    const TkvXMLItem *FGrammarTypes = nullptr;
    const TkvXMLItem *FTreeTypes = nullptr;
    bool FDeclareVars;
    QString FSource;
    std::vector<qsizetype> FLineStarts;
    QString FPos;
    QString FUnit;
    QStringList FUses;
    QHash<const TkvXMLItem *, TkvProcVariable *> FProcedures;
    std::vector<std::unique_ptr<TkvXMLDocument>> FUnitTrees;
    struct WithEntry
    {
        TkvVariable *Hidden;       // holds the object while the statement runs
        TkvClassVariable *Binding; // its class; nullptr for a Variant
    };
    std::vector<WithEntry> FWithList; // innermost last
    TkvScript *FBuildScope = nullptr; // the scope of the expression being built
    int FProcedureCalls = 0;          // calls of script procedures compiled so far
};
