#pragma once
/// \file

#include "base/core/zellocatederror.h"

#include <QList>
#include <QString>

class TzelComponent;
class TzelPersistent;
struct TzelPropInfo;

/// Copies objects through their published properties, carrying what a
/// template carries (every stored property, default values included, the text
/// of text objects, the binary data beside the properties, the collections of
/// objects that keep their own) without writing it out as text and reading it
/// back. References are found again by name, once everything is copied; what
/// a target refuses is kept in Errors, named by the object and property.
class TzelComponentCopier
{
public:
    /// A copier whose references are looked up below NameOwner (the target's
    /// report); without one, a reference keeps the object it refers to.
    explicit TzelComponentCopier(TzelComponent *nameOwner);

    /// Copies the properties of Source onto Target, the name only when CopyName.
    void CopyProperties(const TzelPersistent &source, TzelPersistent &target, bool copyName);
    /// Makes Target's tree a copy of Source's, as loading Source's saved text
    /// into Target would: Target's own children go (inherited ones stay, and
    /// objects are matched by name), Source's are made anew below Target.
    void CopyTree(const TzelComponent &source, TzelComponent &target);
    /// Sets every reference met, found by name; call once all is copied.
    void ResolveReferences();

    /// What targets refused, in the order met.
    QList<TzelLocatedError> Errors;

private:
    struct Reference
    {
        TzelPersistent *Target;
        const TzelPropInfo *Prop;
        QString Name; ///< empty for none
    };

    void CopyInto(const TzelPersistent &source, TzelPersistent &target, bool copyName, const QString &where);
    void CopyChildren(const TzelComponent &source, TzelComponent &target, QList<TzelComponent *> &copied);
    void Refuse(const QString &where, const QString &message);

    TzelComponent *FNameOwner;
    QList<Reference> FReferences;
};
