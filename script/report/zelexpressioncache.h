#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QHash>
#include <QString>

#include <memory>

class TkvProcVariable;
class TkvScript;

/// Expression with the system variables whose names end in "#" (Line#,
/// Page#...), which no script language reads as a name, turned into
/// references ("<Line#>"). Quoted texts and references stay as they are.
QString zelReferenceHashNames(const QString &expression);

/// Report expressions that are not a single name, each compiled once into a
/// small function of the report's script language and then only called. A
/// function lives in a script of its own whose parent is the scope it was
/// first asked in, so every name of the report's script is visible to it.
class TzelExpressionCache
{
public:
    TzelExpressionCache();
    ~TzelExpressionCache();
    TzelExpressionCache(const TzelExpressionCache &) = delete;
    TzelExpressionCache &operator=(const TzelExpressionCache &) = delete;

    QString ScriptLanguage = QStringLiteral("PascalScript"); ///< language of the functions
    bool CaseSensitive = true; ///< whether "a+B" and "A+b" are different expressions

    /// Forgets every compiled expression.
    void Clear();
    /// The value of Expression in Scope (the report's script, or the local
    /// scope of its running procedure, which then keys the cache too). On a
    /// compile or run error: Null, with Error set to the message.
    Variant Calc(const QString &expression, TkvScript &scope, const QString &procedure, QString &error);
    /// Number of compiled expressions.
    int Count() const { return int(FItems.size()); }

private:
    struct Item;
    // The function of Expression, compiled now when new; nullptr with Error set.
    Item *Compiled(const QString &key, const QString &expression, TkvScript &scope, QString &error);

    QHash<QString, std::shared_ptr<Item>> FItems;
    int FCompiled = 0; // functions made so far: each gets its own name
};
