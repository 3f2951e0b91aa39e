#pragma once
/// \file

#include "model/report/zelcustomreportscript.h"
#include "script/report/zelexpressioncache.h"

#include <QHash>
#include <memory>

class TkvProcVariable;
class TkvScript;
class TkvVariable;
class TzelReport;

/// A report's script program: before a build it makes the report's objects,
/// data sets, helpers and functions visible, compiles the report's script
/// text in its language and runs the main block; while the report builds it
/// runs the event procedures that objects name, and evaluates expressions
/// that are not a single name through the expression cache.
class TzelReportScript final : public TzelCustomReportScript
{
public:
    /// The program of Report.
    explicit TzelReportScript(TzelReport *report);
    ~TzelReportScript() override;

    /// The program itself (hosts may add their own names before a build).
    TkvScript &Program() { return *FScript; }
    /// The compiled expressions.
    TzelExpressionCache &Expressions() { return FCache; }

    bool Prepare() override;
    bool RunMain() override;
    void CallEvent(TzelComponent *sender, const QString &eventName) override;
    void CallParamEvent(const QString &eventName, QList<Variant> &params) override;
    Variant Calc(const QString &expression, QString &error) override;
    bool Variable(const QString &name, Variant &value) const override;
    void SetSelf(TzelComponent *object) override;
    void SetValue(const Variant &value) override;

private:
    // Prepares the program to serve Active, which is this script's report
    // or a report inheriting from it: the names stand for Active's objects.
    bool PrepareFor(TzelReport *active);
    void AddReportNames();
    void AddUserFunctions();
    bool CheckEventProcedures();
    // An event procedure and the program it belongs to: this one or a
    // parent report's.
    struct TzelProcedure
    {
        TkvScript *Program = nullptr;
        TkvProcVariable *Proc = nullptr;
    };
    // The procedure Name of the program or of a parent report's, or none.
    TzelProcedure Procedure(const QString &name);
    // Raises an error of the event procedure Name run for Sender, naming both.
    [[noreturn]] void EventFailed(TzelComponent *sender, const QString &name, const TzelException &e) const;
    QString ErrorPlace() const;

    TzelReport *FReport;
    TzelReport *FActive;                           // the report the names stand for
    TzelReportScript *FParentScript = nullptr;     // the parent report's program
    std::unique_ptr<TkvScript> FScript;
    TzelExpressionCache FCache;
    TkvVariable *FValue = nullptr;
    TkvVariable *FSelf = nullptr;
    QHash<QString, TzelProcedure> FProcedures; // looked up once per preparation
    bool FPrepared = false;
};
