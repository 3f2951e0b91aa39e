#pragma once
/// \file

#include "base/core/zelexception.h"

/// An error raised while a script runs, located at the innermost statement
/// that was running when it happened.
class TkvRunError : public TzelException
{
public:
    /// An error of class ClassName ("Exception", "EVariantError") with Message.
    TkvRunError(QString message, QString className);
    ~TkvRunError() override;

    /// Whether a statement position has been recorded.
    bool Located() const { return FLine > 0; }
    /// Records where it happened, unless already recorded.
    void Locate(int line, int column, const QString &unit)
    {
        if (FLine == 0)
            FLine = line, FColumn = column, FUnit = unit;
    }
    /// Line of the innermost statement (from 1; 0 when unknown).
    int Line() const { return FLine; }
    /// Its column.
    int Column() const { return FColumn; }
    /// "line:column".
    QString Pos() const;
    /// The unit it is in, empty for the main text.
    const QString &Unit() const { return FUnit; }
    /// The error's class name, as try/except gives it to ExceptionClassName.
    const QString &ClassName() const { return FClassName; }

    /// Raises the engine's message under Key, followed by Detail.
    [[noreturn]] static void Raise(const char *key, const QString &detail = QString());
    /// The located form of any library error raised at Line:Column.
    static TkvRunError From(const TzelException &e, int line, int column, const QString &unit);

private:
    QString FClassName;
    QString FUnit;
    int FLine = 0;
    int FColumn = 0;
};
