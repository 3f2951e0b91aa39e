#pragma once
/// \file

#include <QString>
#include <vector>

/// One element of an XML document: a name, the raw text of its attributes and
/// ordered children. Attributes are not parsed into a map; a lookup scans the
/// raw text, which keeps loading cheap for elements read once.
class TzelXMLItem
{
public:
    TzelXMLItem();
    /// Frees the children and removes the element from its parent.
    ~TzelXMLItem();
    TzelXMLItem(const TzelXMLItem &) = delete;
    TzelXMLItem &operator=(const TzelXMLItem &) = delete;

    /// Appends a new child.
    TzelXMLItem *Add();
    /// Appends a new child named Name.
    TzelXMLItem *Add(const QString &name);
    /// Adopts Item as the last child, moving it from its old parent.
    void AddItem(TzelXMLItem *item);
    /// Adopts Item at Index, moving it from its old parent.
    void InsertItem(int index, TzelXMLItem *item);
    /// Index of the first child named Name (case ignored), or -1.
    int Find(const QString &name) const;
    /// The first child named Name; appended when there is none.
    TzelXMLItem *FindItem(const QString &name);
    /// Index of Item among the children, or -1.
    int IndexOf(const TzelXMLItem *item) const;
    /// The topmost ancestor.
    TzelXMLItem *Root();
    /// Frees the children; an unloadable element becomes not loaded.
    void Clear();
    /// Becomes a deep copy of Source: name, attributes, value, data and children.
    void Assign(const TzelXMLItem &source);

    /// The unescaped value of attribute Name (case ignored); empty when missing.
    QString Prop(const QString &name) const;
    /// Replaces or appends attribute Name, escaping Value.
    void SetProp(const QString &name, const QString &value);
    /// Whether attribute Name is present (even when empty).
    bool PropExists(const QString &name) const;
    /// Removes attribute Name with the character that follows it.
    void DeleteProp(const QString &name);

    /// Element name as read.
    const QString &Name() const { return FName; }
    /// Sets Name.
    void SetName(const QString &name) { FName = name; }
    /// Raw, escaped attribute text of the start tag.
    const QString &Text() const { return FText; }
    /// Sets Text.
    void SetText(const QString &text) { FText = text; }
    /// Element content: written, never read back.
    const QString &Value() const { return FValue; }
    /// Sets Value.
    void SetValue(const QString &value) { FValue = value; }

    /// Number of children.
    int Count() const { return int(FItems.size()); }
    /// Child at Index.
    TzelXMLItem *Items(int index) const { return FItems[size_t(index)]; }
    /// The containing element, nullptr for a root.
    TzelXMLItem *Parent() const { return FParent; }

    /// Pointer for the user's own use.
    void *Data() const { return FData; }
    /// Sets Data.
    void SetData(void *data) { FData = data; }
    /// Flag for the user's own use.
    bool Modified() const { return FModified; }
    /// Sets Modified.
    void SetModified(bool value) { FModified = value; }
    /// Stream position of the start tag in the stream it can be re-read from.
    qint64 Offset() const { return FOffset; }
    /// Sets Offset.
    void SetOffset(qint64 value) { FOffset = value; }
    /// Whether the element can be dropped from memory and read back.
    bool Unloadable() const { return FUnloadable; }
    /// Sets Unloadable.
    void SetUnloadable(bool value) { FUnloadable = value; }
    /// Whether the children are in memory.
    bool Loaded() const { return FLoaded; }
    /// Sets Loaded.
    void SetLoaded(bool value) { FLoaded = value; }

private:
    // The reader builds the tree directly, without the checks of AddItem.
    friend class TzelXMLReader;

    void Detach();
    qsizetype FindProp(QStringView name) const;

    QString FName;
    QString FText;
    QString FValue;
    std::vector<TzelXMLItem *> FItems;
    TzelXMLItem *FParent = nullptr;
    void *FData = nullptr;
    qint64 FOffset = 0;
    bool FModified = false;
    bool FUnloadable = false;
    bool FLoaded = true;
};
