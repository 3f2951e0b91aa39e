#pragma once
/// \file

#include <QString>
#include <map>
#include <vector>

class TzelComponent;

/// The prepared report's dictionary: short unique names for the objects of the
/// source pages, each linked to its source name ("Page", source page index,
/// ".", object name) and to the source object.
class TzelDictionary
{
public:
    /// Links Name to SourceName and Obj; a Name held already is ignored.
    void Add(const QString &name, const QString &sourceName, TzelComponent *obj);
    /// Makes a unique name from Base, links it as Add does and returns it.
    QString AddUnique(const QString &base, const QString &sourceName, TzelComponent *obj);
    /// Base followed by the first free number (see the .cpp for the search).
    QString CreateUniqueName(const QString &base) const;
    /// The source object of Name, or nullptr.
    TzelComponent *GetObject(const QString &name) const;
    /// The source name of Name, or an empty string.
    QString GetSourceName(const QString &name) const;
    /// Whether Name is held.
    bool Contains(const QString &name) const { return FNames.contains(name); }
    /// Number of unique names.
    int Count() const { return int(FNames.size()); }
    /// Calls F(name, sourceName) for every unique name in sorted order.
    template <class F>
    void ForEach(F &&f) const
    {
        for (const auto &[name, index] : FNames)
            f(name, FSources[size_t(index)].Name);
    }
    /// Forgets every name.
    void Clear();

private:
    struct Source
    {
        QString Name;
        TzelComponent *Object;
    };
    bool Taken(const QString &base, int n) const;
    static bool InRange(const QString &base, const QString &name);

    std::map<QString, int> FNames;  // sorted: unique names probed by prefix
    std::vector<Source> FSources;
    mutable std::map<QString, int> FBaseCounts; // names of a base followed by a digit
};
