#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "script/engine/kvobjects.h"
#include "script/engine/kvrttimodule.h"
#include "script/engine/kvrunerror.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The basic classes every script can create: lists, string lists, streams,
// plain objects and components, XML documents. Their objects are owned by
// the scripts (TkvObjects::Adopt) until Free.

/// The C++ side of every object these classes create. All travel with the one
/// static type TkvBasicObject, so TObject's members reach any of them and a
/// member finds its own kind with Of.
class TkvBasicObject
{
public:
    /// An object scripts know as ClassName.
    explicit TkvBasicObject(QString className);
    virtual ~TkvBasicObject();
    TkvBasicObject(const TkvBasicObject &) = delete;
    TkvBasicObject &operator=(const TkvBasicObject &) = delete;

    /// The class the object was created as.
    const QString &ClassName() const { return FClassName; }
    /// Becomes a copy of Source (TPersistent.Assign); false when it cannot.
    virtual bool Assign(const TkvBasicObject &source);
    /// Finishes the object before Free drops it; may raise (a file stream
    /// that cannot write its file), the object is dropped all the same.
    virtual void Release();

    /// The handle of Object, owned by the scripts until Free.
    static Variant Adopt(std::shared_ptr<TkvBasicObject> object);
    /// The object Value refers to as a T; raises "Invalid object reference"
    /// for nil, a freed handle or an object of another kind.
    template <class T>
    static T &Of(const Variant &value)
    {
        T *object = dynamic_cast<T *>(TkvObjects::Get<TkvBasicObject>(value));
        if (!object)
            TkvRunError::Raise("SInvalidObject");
        return *object;
    }

private:
    QString FClassName;
};

/// TDuplicates: what a sorted string list does with a string it holds already.
enum TkvDuplicates : int { dupIgnore, dupAccept, dupError };

/// TStrings and TStringList: lines, each with an object value, optionally
/// kept sorted. Comparisons ignore case.
class TkvStringList : public TkvBasicObject
{
public:
    /// An empty list scripts know as ClassName.
    explicit TkvStringList(QString className = QStringLiteral("TStringList"));

    /// The lines.
    const QStringList &Lines() const { return FLines; }
    /// Number of lines.
    int Count() const { return int(FLines.size()); }
    /// Line Index; raises "List index out of bounds (Index)".
    const QString &Strings(int index) const;
    /// Replaces line Index (not in a sorted list).
    void SetStrings(int index, const QString &s);
    /// The object of line Index.
    const Variant &Objects(int index) const;
    /// Sets the object of line Index.
    void SetObjects(int index, const Variant &object);

    /// Appends S, or inserts it in order when sorted (where Duplicates
    /// decides about a string held already); its index.
    int Add(const QString &s) { return AddObject(s, Variant(0)); }
    /// Add with the line's object.
    int AddObject(const QString &s, const Variant &object);
    /// Inserts S at Index (0..Count; not in a sorted list).
    void InsertObject(int index, const QString &s, const Variant &object);
    /// Removes line Index.
    void Delete(int index);
    /// Removes every line.
    void Clear();
    /// Moves line From to index To (not in a sorted list).
    void Move(int from, int to);

    /// Index of S, or -1.
    int IndexOf(const QString &s) const;
    /// Index of the line "Name=...", or -1.
    int IndexOfName(const QString &name) const;
    /// Index of the first line whose object is Object, or -1.
    int IndexOfObject(const Variant &object) const;
    /// The name of line Index: what stands before its first "=", empty without one.
    QString Names(int index) const;
    /// What follows "Name=" in the line of Name; empty when none.
    QString Values(const QString &name) const;
    /// Sets the line of Name to "Name=Value", adding it when missing; an
    /// empty Value removes the line.
    void SetValues(const QString &name, const QString &value);

    /// The lines, each followed by CR LF.
    QString Text() const;
    /// Replaces the lines by those of Text (CR LF, LF or CR ends).
    void SetText(const QString &text);
    /// The lines separated by commas, quoted where they hold blanks, commas or quotes.
    QString CommaText() const;
    /// Replaces the lines by the items of a comma- or blank-separated Text.
    void SetCommaText(const QString &text);

    /// Where S is or would go: true with the index of the first equal line
    /// when found, otherwise false with the index it would be inserted at.
    /// Searches in order when sorted, from the start otherwise.
    bool Find(const QString &s, int &index) const;
    /// Sorts the lines (stable, case ignored).
    void Sort();
    /// Whether the list keeps its lines sorted.
    bool Sorted() const { return FSorted; }
    /// Keeps the list sorted from now on; sorting it first.
    void SetSorted(bool sorted);
    /// What adding a line already in a sorted list does.
    TkvDuplicates Duplicates() const { return FDuplicates; }
    /// Sets Duplicates.
    void SetDuplicates(TkvDuplicates duplicates) { FDuplicates = duplicates; }

    bool Assign(const TkvBasicObject &source) override;

protected:
    /// Called after every change of the lines, for a list that mirrors
    /// other text.
    virtual void Changed() {}

private:
    void CheckIndex(int index, int count) const;
    void CheckUnsorted() const;

    QStringList FLines;
    QList<Variant> FObjects; // one per line, nil by default
    bool FSorted = false;
    TkvDuplicates FDuplicates = dupIgnore;
};

/// TStream and its kinds: bytes over a device with a position. Positions
/// stay within 0..Size.
class TkvStream : public TkvBasicObject
{
public:
    /// A stream scripts know as ClassName over the open Device.
    TkvStream(QString className, std::unique_ptr<QIODevice> device);
    ~TkvStream() override;

    /// The device, at the stream's position.
    QIODevice &Device() const { return *FDevice; }
    /// The position, in bytes from the start.
    qint64 Position() const { return FDevice->pos(); }
    /// Moves to Position; raises for one outside 0..Size.
    void SetPosition(qint64 position);
    /// The length in bytes.
    qint64 Size() const { return FDevice->size(); }
    /// Cuts or extends (with zeros) the bytes; raises for a read-only stream.
    void SetSize(qint64 size);

    /// Up to Count bytes from the position on.
    QByteArray Read(qint64 count);
    /// The bytes from the position to the end.
    QByteArray ReadRest() { return Read(Size() - Position()); }
    /// Writes Bytes at the position; raises "Stream write error" when they
    /// do not all get there.
    void Write(const QByteArray &bytes);

protected:
    std::unique_ptr<QIODevice> FDevice; ///< the open device
};

/// What TCollection asks of the host collections a report binds: the kind
/// of their objects implements it.
class TkvCollectionType : public TkvObjectType
{
public:
    /// Number of items of Collection.
    virtual int Count(void *collection) const = 0;
    /// Item Index (0..Count-1) as a script value.
    virtual Variant Item(void *collection, int index) const = 0;
    /// Removes every item.
    virtual void Clear(void *collection) const = 0;
};

/// The binding module of the basic classes.
class TkvClassesRTTI : public TkvRTTIModule
{
public:
    /// Registers the classes, constants and enumerations into Script.
    explicit TkvClassesRTTI(TkvScript *script);
};

/// Adds TkvClassesRTTI to the modules every script's AddRTTI makes; once,
/// however often and from whichever threads it is called. Scripts made
/// afterwards see the classes (the global unit too, when it is made later).
void kvRegisterClassesRTTI();

/// A new TList holding Items, owned by the scripts until Free.
Variant kvNewList(const QList<Variant> &items);
