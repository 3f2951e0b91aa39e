#pragma once
/// \file

#include "base/core/zellocatederror.h"
#include "base/core/zelsortedstrings.h"

#include <QList>
#include <QString>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>
#include <mutex>

class QIODevice;
class TzelComponent;
class TzelPersistent;
class TzelClassInfo;
class TzelXMLDocument;
class TzelXMLItem;
struct TzelPropInfo;

/// Turns object trees into XML elements and back, driven only by each class's
/// published properties: the element is the class, attributes are the
/// properties, nested objects use dotted names, references are written by name
/// and resolved once the whole tree is read.
class TzelXMLSerializer
{
public:
    /// A reference met while reading, resolved at the end.
    struct Fixup
    {
        TzelPersistent *Object;    ///< the object whose property refers
        const TzelPropInfo *Prop;  ///< the reference property
        QString Name;              ///< the name of the referenced component
        const TzelXMLItem *Item = nullptr; ///< the element it was read from, if any
    };

    /// A serializer reading from or writing to Stream.
    explicit TzelXMLSerializer(QIODevice *stream = nullptr);
    ~TzelXMLSerializer();

    QIODevice *Stream;                   ///< the stream read from or written to
    TzelComponent *Owner = nullptr;      ///< resolves names; the root when not set
    TzelSortedStrings Errors;            ///< non-fatal errors met while reading, sorted
    /// The same errors in file order, with the object path, the attribute
    /// and (after ReadRootComponent read a document) the line and column.
    QList<TzelLocatedError> LocatedErrors;
    QList<Fixup> Fixups;                 ///< pending references
    bool HandleNestedProperties = false; ///< components write their collections themselves
    bool SerializeDefaultValues = false; ///< write properties that hold their default
    bool SaveAncestorOnly = false;       ///< write inherited objects whole
    bool IgnoreName = false;             ///< neither write nor match object names
    bool OldFormat = false;              ///< the document read is in the old 8-bit format
    /// The inherited counterpart of Component, for writing differences.
    std::function<const TzelComponent *(const TzelComponent *component)> OnGetAncestor;
    /// Receives the host's element "ZelCustomData" when reading.
    std::function<void(TzelXMLItem *)> OnGetCustomData;
    /// Fills the host's element "ZelCustomData" when writing.
    std::function<void(TzelXMLItem *)> OnSaveCustomData;

    /// Reads the document on Stream (or Item) into the tree of Root.
    void ReadRootComponent(TzelComponent *root, TzelXMLItem *item = nullptr);
    /// Writes Root (with its children when asked) to Stream, or into Item.
    void WriteRootComponent(TzelComponent *root, bool saveChildren, TzelXMLItem *item = nullptr);
    /// The attribute text of Obj, names prefixed by Add, as differences from Ancestor.
    QString ObjToXML(const TzelPersistent *obj, const QString &add = QString(),
                     const TzelPersistent *ancestor = nullptr);
    /// Applies an attribute text to Obj; errors are collected.
    void XMLToObj(const QString &s, TzelPersistent *obj);
    /// Reads one element ("<Class .../>") from Stream as a new child of Root.
    TzelComponent *ReadComponent(TzelComponent *root);
    /// Writes C as one element on Stream, without header or children.
    void WriteComponent(const TzelComponent *c, const TzelComponent *ancestor = nullptr);
    /// Reads "Class attributes" as a new child of Root.
    TzelComponent *ReadComponentStr(TzelComponent *root, const QString &s, bool dontFixup = false);
    /// C as "Class attributes".
    QString WriteComponentStr(const TzelComponent *c, const TzelComponent *ancestor = nullptr);
    /// Applies attributes to a non-component object and resolves its references.
    void ReadPersistentStr(TzelComponent *root, TzelPersistent *obj, const QString &s);
    /// Adds the pending references of another serializer.
    void CopyFixupList(const QList<Fixup> &fixups) { Fixups += fixups; }
    /// Sets every pending reference whose component can be found.
    void ResolveFixups();

    /// Writes Component the way templates store it; unless Streaming, a
    /// report that inherits writes only its differences from the parent.
    static void SaveComponent(const TzelComponent *component, QIODevice *stream, bool saveChildren = true,
                              bool saveDefaultValues = false, bool streaming = false);
    /// Clears Component and reads it from Stream; returns the non-fatal
    /// errors in file order, with where each lies (the file left empty).
    static QList<TzelLocatedError> LoadComponent(TzelComponent *component, QIODevice *stream);

    /// Held while a template is read for a report built on a worker thread.
    static std::recursive_mutex &ReadLock();

private:
    void AddError(const QString &message, const TzelPersistent *obj, QStringView attribute,
                  const TzelXMLItem *item, qint64 offset = -1);
    void PlaceErrors(const TzelXMLDocument &document);
    static void MoveToAttribute(TzelLocatedError &error, const TzelXMLItem &item, const QString &attribute);
    void WalkElement(TzelXMLItem *item, TzelComponent *parent, TzelComponent *root, QList<TzelComponent *> &touched);
    void WriteElement(TzelXMLItem *item, const TzelComponent *c, bool isRoot, bool saveChildren);
    QString ObjectText(const TzelPersistent *obj, const QString &prefix, const TzelPersistent *ancestor,
                       bool writeName);
    void AppendPropData(QString &out, const QString &prefix, const TzelPersistent *obj,
                        const TzelPersistent *ancestor);
    void WriteProperties(QString &out, const TzelPersistent *obj, const QString &prefix,
                         const TzelPersistent *ancestor, bool writeName);
    void ApplyAttribute(TzelPersistent *obj, TzelComponent *component, QStringView name, QStringView value);
    void SetValue(TzelPersistent *obj, const TzelPropInfo &prop, QStringView value);
    TzelComponent *NameOwner(TzelComponent *root) const { return Owner ? Owner : root; }

    const TzelPropInfo *Lookup(const TzelClassInfo &cls, QStringView name);

    const TzelXMLItem *FCurrentItem = nullptr; ///< the element whose attributes are applied
    struct LookupEntry
    {
        const TzelClassInfo *Class = nullptr;
        QString Name;
        const TzelPropInfo *Prop = nullptr;
    };
    /// Per class, the properties found for the last object's names, in order.
    std::unordered_map<const TzelClassInfo *, std::vector<LookupEntry>> FLookupsByClass;
    std::vector<LookupEntry> *FLookups = nullptr; ///< those of the object being read
    size_t FLookupIndex = 0;                      ///< the next name's place in them
    struct ErrorPlace
    {
        const TzelXMLItem *Item; ///< the element, if any
        QString Attribute;       ///< the attribute, if any
        qint64 Offset;           ///< the stream position when there is no element; -1 for none
    };
    QList<ErrorPlace> FErrorPlaces; ///< where each located error lies
};
