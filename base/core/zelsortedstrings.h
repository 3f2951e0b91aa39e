#pragma once
/// \file

#include <QStringList>

/// A sorted list of strings compared without regard to case, ignoring
/// duplicates: the report's error list and the expanded drill-down groups.
class TzelSortedStrings
{
public:
    /// Inserts S in order; a string equal to one held (case ignored) is dropped.
    void Add(const QString &s);
    /// Whether a string equal to S (case ignored) is held.
    bool Contains(const QString &s) const;
    /// Removes every string.
    void Clear() { FItems.clear(); }
    /// Number of strings.
    int Count() const { return int(FItems.size()); }
    /// Whether the list is empty.
    bool IsEmpty() const { return FItems.isEmpty(); }
    /// The strings in order.
    const QStringList &Items() const { return FItems; }
    /// The strings joined by CR LF.
    QString Text() const;
    /// Replaces the strings by the lines of Text (CR LF or LF separated).
    void SetText(const QString &text);

private:
    qsizetype LowerBound(const QString &s) const;

    QStringList FItems;
};
