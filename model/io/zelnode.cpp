#include "model/io/zelnode.h"

#include <QIODevice>
#include <algorithm>
#include <utility>

namespace {

bool nameLess(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

TzelNode::TzelNode(const QString &name)
    : FName(name)
{
}

TzelNode::~TzelNode()
{
    if (FParent)
        FParent->RemoveNode(this);
    Clear();
}

void TzelNode::SetName(const QString &value)
{
    if (value == FName)
        return;
    const QString old = FName;
    if (FParent) {
        TzelNode *parent = FParent;
        parent->Unlink(this);
        FName = value;
        parent->Insert(this);
    } else {
        FName = value;
    }
    TzelNode *root = Root();
    if (root->FOnAddItem && root->FOnRemoveItem) {
        root->FOnRemoveItem(old, true, FObjectData);
        root->FOnAddItem(FName, true, FObjectData);
    }
}

void TzelNode::SetOriginalName(const QString &value)
{
    const bool wasFile = IsFile();
    FOriginalName = value;
    if (IsFile() != wasFile)
        AdjustCount(wasFile ? -1 : 1);
}

void TzelNode::SetObjectData(QIODevice *value)
{
    if (value == FObjectData)
        return;
    const bool wasFile = IsFile();
    QIODevice *old = FObjectData;
    FObjectData = value;
    if (IsFile() != wasFile)
        AdjustCount(wasFile ? -1 : 1);

    const TzelNode *root = Root();
    const bool replacing = old && value;
    if (old && root->FOnRemoveItem)
        root->FOnRemoveItem(FName, replacing, old);
    if (value && root->FOnAddItem)
        root->FOnAddItem(FName, replacing, value);
}

TzelNode *TzelNode::Root()
{
    TzelNode *n = this;
    while (n->FParent)
        n = n->FParent;
    return n;
}

TzelNode *TzelNode::Add(const QString &name, QIODevice *object)
{
    auto *child = new TzelNode(name);
    Insert(child);
    if (object)
        child->SetObjectData(object);
    else if (const TzelNode *root = Root(); root->FOnAddItem)
        root->FOnAddItem(name, false, nullptr);
    return child;
}

TzelNode *TzelNode::Find(const QIODevice *object, bool searchInChilds) const
{
    for (TzelNode *child : FItems) {
        if (child->FObjectData == object)
            return child;
        if (searchInChilds)
            if (TzelNode *found = child->Find(object, true))
                return found;
    }
    return nullptr;
}

TzelNode *TzelNode::Find(const QString &name, bool searchInChilds) const
{
    const auto it = std::lower_bound(FItems.begin(), FItems.end(), name,
                                     [](const TzelNode *n, const QString &key) { return nameLess(n->FName, key); });
    if (it != FItems.end() && QString::compare((*it)->FName, name, Qt::CaseInsensitive) == 0)
        return *it;
    if (searchInChilds)
        for (const TzelNode *child : FItems)
            if (TzelNode *found = child->Find(name, true))
                return found;
    return nullptr;
}

void TzelNode::RemoveNode(TzelNode *node)
{
    if (!node || node->FParent != this)
        return;
    Unlink(node);
    node->FParent = nullptr;
    if (node->FFilesCount)
        AdjustCount(-node->FFilesCount);
}

void TzelNode::Clear()
{
    std::vector<TzelNode *> items;
    items.swap(FItems);
    int removed = 0;
    for (TzelNode *child : items) {
        removed += child->FFilesCount;
        child->FParent = nullptr; // already unlinked: its destructor must not touch us
        delete child;
    }
    if (IsFile())
        ++removed;
    QIODevice *object = std::exchange(FObjectData, nullptr);
    if (FOwnsObject)
        delete object;
    FOriginalName.clear();
    FName.clear();
    if (removed)
        AdjustCount(-removed);
}

void TzelNode::AdjustCount(int delta)
{
    for (TzelNode *n = this; n; n = n->FParent)
        n->FFilesCount += delta;
}

void TzelNode::Insert(TzelNode *child)
{
    // After any equal names, so that children of one name keep their order.
    const auto it = std::upper_bound(FItems.begin(), FItems.end(), child->FName,
                                     [](const QString &key, const TzelNode *n) { return nameLess(key, n->FName); });
    FItems.insert(it, child);
    child->FParent = this;
}

void TzelNode::Unlink(TzelNode *child)
{
    const auto it = std::find(FItems.begin(), FItems.end(), child);
    if (it != FItems.end())
        FItems.erase(it);
}
