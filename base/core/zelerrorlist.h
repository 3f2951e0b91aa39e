#pragma once
/// \file

#include "base/core/zellocatederror.h"
#include "base/core/zelsortedstrings.h"

#include <QList>

/// The errors a load or a build collected, kept two ways: the distinct
/// messages in sorted order (what the report's message box lists) and every
/// error in the order it was met, with where it happened (what the
/// command-line tool prints, like a compiler).
class TzelErrorList
{
public:
    /// Adds a message whose place is not known.
    void Add(const QString &message);
    /// Adds an error with its place.
    void Add(const TzelLocatedError &error);
    /// Whether a message equal to Message (case ignored) is held.
    bool Contains(const QString &message) const { return FMessages.Contains(message); }
    /// Removes every error.
    void Clear();
    /// Number of distinct messages.
    int Count() const { return FMessages.Count(); }
    /// Whether nothing was collected.
    bool IsEmpty() const { return FMessages.IsEmpty(); }
    /// The distinct messages, sorted.
    const QStringList &Items() const { return FMessages.Items(); }
    /// The distinct messages joined by CR LF.
    QString Text() const { return FMessages.Text(); }
    /// Every error in the order met.
    const QList<TzelLocatedError> &InOrder() const { return FInOrder; }

private:
    TzelSortedStrings FMessages;
    QList<TzelLocatedError> FInOrder;
};
