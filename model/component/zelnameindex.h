#pragma once
/// \file

#include "base/core/zelcaseless.h"

#include <QString>
#include <unordered_map>

class TzelComponent;

/// The index of names kept on the root of a tree (case ignored, duplicates
/// ignored). Entries may stand without an object: the markers of
/// CreateUniqueName. Lookups hash the name with its case folded, so they cost
/// no allocation: every object of a template is looked up while it is read.
class TzelNameIndex
{
public:
    /// Enters Name for Component; an entry that is there already keeps its
    /// object unless it has none.
    void Add(const QString &name, TzelComponent *component);
    /// Removes Name when it stands for Component.
    void Remove(const QString &name, const TzelComponent *component);
    /// Removes Name whatever it stands for.
    void RemoveName(const QString &name) { FEntries.erase(name); }
    /// The object of Name, or nullptr.
    TzelComponent *Find(const QString &name) const;
    /// Whether Name is entered (with or without an object).
    bool Contains(const QString &name) const { return FEntries.count(name) != 0; }
    /// Number of entries.
    int Count() const { return int(FEntries.size()); }
    /// Number of entries that sort strictly between Low and High (case ignored).
    int CountBetween(const QString &low, const QString &high) const;

private:
    std::unordered_map<QString, TzelComponent *, TzelCaselessHash, TzelCaselessEqual> FEntries;
};
