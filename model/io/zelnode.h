#pragma once
/// \file

#include "model/io/zeliotransporttypes.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

class QIODevice;

/// One node of a transport's container tree: a folder, or a file with the
/// stream open on it. Children are kept sorted by name, case ignored, and every
/// node knows how many files lie at and below it.
class TzelNode
{
public:
    /// Called on the root with a node's name, whether the call is half of a
    /// rename or of an object replacement, and the node's object.
    using ItemEvent = std::function<void(const QString &name, bool replacing, QIODevice *object)>;

    /// Creates a detached node (a root).
    explicit TzelNode(const QString &name = QString());
    /// Detaches the node from its parent, then frees its children and owned object.
    ~TzelNode();
    TzelNode(const TzelNode &) = delete;
    TzelNode &operator=(const TzelNode &) = delete;

    /// Node name; a change re-sorts the parent's children and, when the root
    /// has both events, reports the old name removed and the new one added.
    const QString &Name() const { return FName; }
    /// Sets Name.
    void SetName(const QString &value);
    /// Full file name a stream was asked for; empty for a folder.
    const QString &OriginalName() const { return FOriginalName; }
    /// Sets OriginalName.
    void SetOriginalName(const QString &value);
    /// The node's stream. Setting it never frees the old one, and reports the
    /// change to the root's events.
    QIODevice *ObjectData() const { return FObjectData; }
    /// Sets ObjectData.
    void SetObjectData(QIODevice *value);
    /// Whether Clear and the destructor free the object (default True).
    bool OwnsObject() const { return FOwnsObject; }
    /// Sets OwnsObject.
    void SetOwnsObject(bool value) { FOwnsObject = value; }
    /// Value for the owner's own use.
    const QVariant &Data() const { return FData; }
    /// Sets Data.
    void SetData(const QVariant &value) { FData = value; }
    /// Access the stream was opened with (default faWrite).
    TzelFilterAccess FilterAccess() const { return FFilterAccess; }
    /// Sets FilterAccess.
    void SetFilterAccess(TzelFilterAccess value) { FFilterAccess = value; }
    /// Number of nodes at and below this one that hold an object or an original name.
    int FilesCount() const { return FFilesCount; }

    /// The containing node; nullptr for a root.
    TzelNode *Parent() const { return FParent; }
    /// The topmost ancestor.
    TzelNode *Root();
    /// Number of children.
    int Count() const { return int(FItems.size()); }
    /// Child at Index, in name order.
    TzelNode *Nodes(int index) const { return FItems[size_t(index)]; }

    /// Adds a child named Name holding Object (may be nullptr) and reports it to the root.
    TzelNode *Add(const QString &name, QIODevice *object = nullptr);
    /// The first child (depth first when SearchInChilds) holding Object, or nullptr.
    TzelNode *Find(const QIODevice *object, bool searchInChilds) const;
    /// The child named Name (case ignored), else, when SearchInChilds, the
    /// first such node depth first; nullptr when none.
    TzelNode *Find(const QString &name, bool searchInChilds) const;
    /// Detaches the child Node without freeing it.
    void RemoveNode(TzelNode *node);
    /// Frees every child and the owned object, and empties both names.
    void Clear();

    /// Event raised on the root when a child is added, renamed or its object changes.
    const ItemEvent &OnAddItem() const { return FOnAddItem; }
    /// Sets OnAddItem.
    void SetOnAddItem(ItemEvent handler) { FOnAddItem = std::move(handler); }
    /// Event raised on the root when a name or an object goes away.
    const ItemEvent &OnRemoveItem() const { return FOnRemoveItem; }
    /// Sets OnRemoveItem.
    void SetOnRemoveItem(ItemEvent handler) { FOnRemoveItem = std::move(handler); }

private:
    bool IsFile() const { return FObjectData || !FOriginalName.isEmpty(); }
    void AdjustCount(int delta);
    void Insert(TzelNode *child);
    void Unlink(TzelNode *child);

    QString FName;
    QString FOriginalName;
    QIODevice *FObjectData = nullptr;
    QVariant FData;
    TzelNode *FParent = nullptr;
    std::vector<TzelNode *> FItems;
    ItemEvent FOnAddItem;
    ItemEvent FOnRemoveItem;
    int FFilesCount = 0;
    TzelFilterAccess FFilterAccess = faWrite;
    bool FOwnsObject = true;
};
