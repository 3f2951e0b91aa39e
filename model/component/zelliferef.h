#pragma once
/// \file

#include <memory>

/// A reference to a component that turns empty when the component is freed,
/// so that an object referring to one the host or the designer may free (a
/// data set, the text a memo flows into) never dangles. T is a TzelComponent.
template <class T>
class TzelLifeRef
{
public:
    /// No component.
    TzelLifeRef() = default;
    /// Refers to Target (nullptr for none).
    TzelLifeRef(T *target) { *this = target; }
    /// Refers to Target (nullptr for none).
    TzelLifeRef &operator=(T *target)
    {
        FTarget = target;
        FToken = target ? target->LifeToken() : std::weak_ptr<void>();
        return *this;
    }
    /// The component, or nullptr when none is referred to or it was freed.
    T *Get() const { return FTarget && !FToken.expired() ? FTarget : nullptr; }

private:
    T *FTarget = nullptr;
    std::weak_ptr<void> FToken;
};
