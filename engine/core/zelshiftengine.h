#pragma once
/// \file

#include <memory>
#include <unordered_map>

class TzelComponent;
class TzelShiftedObjectList;

/// Moves the objects of a container that lie below objects that grew or
/// shrank while the engine stretches it. Each container gets its structure
/// on first use and keeps it for every row until Clear; a container or object
/// freed meanwhile is noticed, never dereferenced.
class TzelShiftEngine
{
public:
    /// An engine with no structures.
    TzelShiftEngine();
    /// Frees the structures.
    ~TzelShiftEngine();
    TzelShiftEngine(const TzelShiftEngine &) = delete;
    TzelShiftEngine &operator=(const TzelShiftEngine &) = delete;

    /// Builds Container's shift structure on first use (band's ShiftEngine picks linear/tree/none; other containers: tree).
    void PrepareShiftTree(TzelComponent *container);
    /// Sets Object's own growth (new height - old height) before shifting; resets its shifted state.
    void InitShiftAmount(TzelComponent *object, double amount);
    /// Moves the objects of Container below grown/shrunk objects by the method of its structure.
    void ShiftObjects(TzelComponent *container);
    /// Forgets every structure (end of a build).
    void Clear();

private:
    std::unordered_map<const TzelComponent *, std::unique_ptr<TzelShiftedObjectList>> FContainers;
};

