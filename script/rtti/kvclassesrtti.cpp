#include "script/rtti/kvclassesrtti.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/core/zeltextlines.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelsafefile.h"
#include "script/engine/kvclassvariable.h"
#include "script/engine/kvscript.h"
#include "script/xml/kvxmldocument.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <algorithm>
#include <limits>
#include <mutex>
#include <vector>

namespace {

constexpr int fmCreate = 0xFF00;
constexpr int fmOpenRead = 0;
constexpr int fmOpenWrite = 1;
constexpr int fmOpenReadWrite = 2;
constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

[[noreturn]] void fail(const QString &message)
{
    throw TkvRunError(message, QStringLiteral("Exception"));
}

[[noreturn]] void failIndex(int index)
{
    fail(QStringLiteral("List index out of bounds (%1)").arg(index));
}

// A count a script passes: never negative.
qint64 countOf(const Variant &value)
{
    const qint64 count = value.ToInt64();
    if (count < 0)
        fail(QStringLiteral("Invalid count (%1)").arg(count));
    return count;
}

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, file.errorString()}));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TzelFileError(zelFormat(zelRes("ioCantRead"), {fileName, file.errorString()}));
    return bytes;
}

void writeFile(const QString &fileName, const QByteArray &bytes)
{
    zelSaveFile(fileName, [&bytes](QIODevice *stream) { stream->write(bytes); });
}

// Text files are UTF-8; a BOM is skipped.
QString decodeText(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
}

// Objects Assign copies only between objects of the same kind.
[[noreturn]] void failAssign(const Variant &source, const QString &target)
{
    const QString from = TkvObjects::IsNil(source) ? QStringLiteral("nil") : TkvObjects::ClassName(source);
    fail(QStringLiteral("Cannot assign a %1 to a %2").arg(from, target));
}

class BasicObjectType : public TkvObjectType
{
public:
    QString ClassName(const void *object) const override
    {
        return static_cast<const TkvBasicObject *>(object)->ClassName();
    }
};

const BasicObjectType basicType;

// TList: Variants.
class ListObject : public TkvBasicObject
{
public:
    ListObject() : TkvBasicObject(QStringLiteral("TList")) {}

    void Check(int index, int count) const
    {
        if (index < 0 || index >= count)
            failIndex(index);
    }
    int IndexOf(const Variant &item) const
    {
        for (qsizetype i = 0; i < Items.size(); ++i)
            if (Variant::Identical(Items[i], item))
                return int(i);
        return -1;
    }

    QList<Variant> Items;
};

// TComponent: an object with an owner that frees it with itself.
class ComponentObject : public TkvBasicObject
{
public:
    ComponentObject() : TkvBasicObject(QStringLiteral("TComponent")) {}

    void Release() override
    {
        if (auto *owner = dynamic_cast<ComponentObject *>(TkvObjects::TryGet<TkvBasicObject>(Owner)))
            owner->Owned.removeIf([this](const Variant &v) { return Variant::Identical(v, Self); });
        const QList<Variant> owned = std::exchange(Owned, {});
        for (const Variant &component : owned)
            if (auto *object = dynamic_cast<ComponentObject *>(TkvObjects::TryGet<TkvBasicObject>(component))) {
                object->Owner = Variant(0); // its owner is going
                object->Release();
                TkvObjects::Free(component);
            }
    }

    Variant Self;
    Variant Owner = Variant(0);
    QList<Variant> Owned;
};

// A file stream that writes: the bytes are kept in memory and written
// through the safe save path when it is freed, so a script that fails half
// way leaves the old file as it was.
class FileWriteStream : public TkvStream
{
public:
    FileWriteStream(const QString &fileName, const QByteArray &bytes)
        : TkvStream(QStringLiteral("TFileStream"), std::make_unique<QBuffer>()), FFileName(fileName)
    {
        static_cast<QBuffer &>(Device()).buffer() = bytes;
    }

    void Release() override
    {
        if (std::exchange(FPending, false))
            writeFile(FFileName, static_cast<QBuffer &>(Device()).data());
    }

private:
    QString FFileName;
    bool FPending = true;
};

std::shared_ptr<TkvStream> openFileStream(const QString &fileName, int mode)
{
    const bool create = (mode & fmCreate) == fmCreate;
    const int access = mode & 3;
    if (!create && access != fmOpenRead && access != fmOpenWrite && access != fmOpenReadWrite)
        fail(QStringLiteral("Invalid file mode $%1").arg(mode, 0, 16));
    if (!create && access == fmOpenRead) {
        auto file = std::make_unique<QFile>(fileName);
        if (!file->open(QIODevice::ReadOnly))
            throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, file->errorString()}));
        return std::make_shared<TkvStream>(QStringLiteral("TFileStream"), std::move(file));
    }
    return std::make_shared<FileWriteStream>(fileName, create ? QByteArray() : readFile(fileName));
}

QBuffer &memoryOf(TkvStream &stream)
{
    auto *buffer = dynamic_cast<QBuffer *>(&stream.Device());
    if (!buffer || stream.ClassName() != QLatin1String("TMemoryStream"))
        TkvRunError::Raise("SInvalidObject");
    return *buffer;
}

void setMemory(TkvStream &stream, const QByteArray &bytes)
{
    QBuffer &buffer = memoryOf(stream);
    buffer.buffer() = bytes;
    buffer.seek(0);
}

// XML items live in trees that documents and scripts own, and a script
// holding an item may see it freed through its parent or document. Every
// item handed to a script is recorded here with a serial until the code
// below frees it, so a handle of a freed item (or of a new item at the same
// address) is refused instead of reaching freed memory. Items are only ever
// freed by this file's members, which forget them first.
struct XmlRegistry
{
    struct Entry
    {
        quint64 Serial;
        Variant Data; // TkvXMLItem.Data
    };
    QMutex Lock;
    QHash<const TkvXMLItem *, Entry> Live;
    QSet<const TkvXMLItem *> DocumentRoots; // freed only with their document
    quint64 Next = 1;
};

XmlRegistry &xmlRegistry()
{
    // Never freed: documents freed at exit still forget their items.
    static auto *registry = new XmlRegistry;
    return *registry;
}

class XmlItemType : public TkvObjectType
{
public:
    QString ClassName(const void *) const override { return QStringLiteral("TkvXMLItem"); }
};

const XmlItemType xmlItemType;

Variant itemHandle(TkvXMLItem *item)
{
    if (!item)
        return Variant(0);
    XmlRegistry &r = xmlRegistry();
    quint64 serial = 0;
    {
        // Released before TkvObjects is called: its lock is taken first when
        // it asks whether the item lives.
        const QMutexLocker lock(&r.Lock);
        auto it = r.Live.find(item);
        if (it == r.Live.end())
            it = r.Live.insert(item, {r.Next++, Variant(0)});
        serial = it->Serial;
    }
    return TkvObjects::Ref(item, &xmlItemType, [item, serial] {
        XmlRegistry &reg = xmlRegistry();
        const QMutexLocker lock(&reg.Lock);
        const auto it = reg.Live.constFind(item);
        return it != reg.Live.cend() && it->Serial == serial;
    });
}

TkvXMLItem &itemOf(const Variant &value)
{
    TkvXMLItem *item = TkvObjects::Get<TkvXMLItem>(value);
    if (!item)
        TkvRunError::Raise("SInvalidObject");
    return *item;
}

bool isDocumentRoot(const TkvXMLItem *item)
{
    XmlRegistry &r = xmlRegistry();
    const QMutexLocker lock(&r.Lock);
    return r.DocumentRoots.contains(item);
}

// Forgets the descendants of Item (and Item itself when Self) before they are freed.
void forgetItems(TkvXMLItem *item, bool self)
{
    XmlRegistry &r = xmlRegistry();
    const QMutexLocker lock(&r.Lock);
    std::vector<const TkvXMLItem *> pending{item};
    while (!pending.empty()) {
        const TkvXMLItem *next = pending.back();
        pending.pop_back();
        if (next != item || self)
            r.Live.remove(next);
        for (int i = 0; i < next->Count(); ++i)
            pending.push_back(next->Items(i));
    }
}

// Item as a new child of Parent: neither a document's root nor Parent or
// one of its ancestors, which would make the tree a loop.
TkvXMLItem &movableItem(const Variant &value, const TkvXMLItem &parent)
{
    if (TkvObjects::IsNil(value))
        TkvRunError::Raise("SInvalidObject");
    TkvXMLItem &item = itemOf(value);
    if (isDocumentRoot(&item))
        fail(QStringLiteral("The root of a document cannot be moved"));
    for (const TkvXMLItem *p = &parent; p; p = p->Parent())
        if (p == &item)
            fail(QStringLiteral("An XML item cannot be added to itself or to one of its own items"));
    return item;
}

class XmlDocumentObject : public TkvBasicObject
{
public:
    XmlDocumentObject() : TkvBasicObject(QStringLiteral("TkvXMLDocument"))
    {
        XmlRegistry &r = xmlRegistry();
        const QMutexLocker lock(&r.Lock);
        r.DocumentRoots.insert(Document.Root());
    }
    ~XmlDocumentObject() override
    {
        forgetItems(Document.Root(), true);
        XmlRegistry &r = xmlRegistry();
        const QMutexLocker lock(&r.Lock);
        r.DocumentRoots.remove(Document.Root());
    }

    void Load(const QByteArray &bytes)
    {
        forgetItems(Document.Root(), false);
        Document.FromText(bytes);
    }

    TkvXMLDocument Document;
};

// Frees what Free names: a script-owned object, or an XML item with its
// children; other host objects are not the scripts' to free.
void freeObject(const Variant &handle)
{
    if (TkvObjects::IsNil(handle))
        return;
    void *raw = nullptr;
    if (!TkvObjects::TypeOf(handle, &raw))
        TkvRunError::Raise("SInvalidObject");
    if (TkvXMLItem *item = TkvObjects::TryGet<TkvXMLItem>(handle)) {
        if (isDocumentRoot(item))
            fail(QStringLiteral("The root of a document cannot be freed"));
        forgetItems(item, true);
        delete item; // leaves its parent
        return;
    }
    TkvBasicObject *object = TkvObjects::TryGet<TkvBasicObject>(handle);
    if (!object)
        return;
    struct Drop
    {
        const Variant &Handle;
        ~Drop() { TkvObjects::Free(Handle); }
    } drop{handle};
    object->Release();
}

template <class T>
T &self(TkvMethodCall &call)
{
    return TkvBasicObject::Of<T>(call.Instance);
}

QString text(const Variant &v)
{
    return v.IsNull() ? QString() : v.ToString();
}

bool isWrite(const TkvMethodCall &call)
{
    return call.Name.endsWith(QLatin1String(".SET"));
}

const Variant none = Variant::Null();

void addObjectClasses(TkvScript &s)
{
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TObject"), QString())) {
        c->AddConstructor(QStringLiteral("constructor Create"), [](TkvMethodCall &) {
            return TkvBasicObject::Adopt(std::make_shared<TkvBasicObject>(QStringLiteral("TObject")));
        });
        c->AddMethod(QStringLiteral("procedure Free"), [](TkvMethodCall &call) {
            freeObject(call.Instance);
            return none;
        });
        c->AddMethod(QStringLiteral("function ClassName: String"), [](TkvMethodCall &call) {
            const QString name = TkvObjects::ClassName(call.Instance);
            if (name.isEmpty())
                TkvRunError::Raise("SInvalidObject");
            return Variant(name);
        });
    }
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TPersistent"), QStringLiteral("TObject")))
        c->AddMethod(QStringLiteral("procedure Assign(Source: TPersistent)"), [](TkvMethodCall &call) {
            TkvBasicObject &target = self<TkvBasicObject>(call);
            const TkvBasicObject *source = TkvObjects::TryGet<TkvBasicObject>(call.Params[0]);
            if (!source || !target.Assign(*source))
                failAssign(call.Params[0], target.ClassName());
            return none;
        });
    s.AddClass(QStringLiteral("TCollectionItem"), QStringLiteral("TPersistent"));
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TCollection"), QStringLiteral("TPersistent"))) {
        // The report's collections are bound by the report layer, whose
        // object kinds answer these members.
        const auto collection = [](const Variant &instance, void **object) {
            const auto *type = dynamic_cast<const TkvCollectionType *>(TkvObjects::TypeOf(instance, object));
            if (!type)
                TkvRunError::Raise("SInvalidObject");
            return type;
        };
        c->AddMethod(QStringLiteral("procedure Clear"), [collection](TkvMethodCall &call) {
            void *object = nullptr;
            collection(call.Instance, &object)->Clear(object);
            return none;
        });
        c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), [collection](const Variant &instance, const QString &) {
            void *object = nullptr;
            return Variant(collection(instance, &object)->Count(object));
        });
        c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TCollectionItem"),
                              [collection](TkvMethodCall &call) {
                                  void *object = nullptr;
                                  const TkvCollectionType *type = collection(call.Instance, &object);
                                  const int index = call.Params[0].ToInt();
                                  if (index < 0 || index >= type->Count(object))
                                      failIndex(index);
                                  return type->Item(object, index);
                              },
                              true);
    }
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TComponent"), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), [](TkvMethodCall &call) {
            const Variant &owner = call.Params[0];
            auto component = std::make_shared<ComponentObject>();
            auto *ownerObject = dynamic_cast<ComponentObject *>(TkvObjects::TryGet<TkvBasicObject>(owner));
            if (!TkvObjects::IsNil(owner)) {
                void *raw = nullptr;
                if (!TkvObjects::TypeOf(owner, &raw))
                    TkvRunError::Raise("SInvalidObject");
                component->Owner = owner; // a host's component owns it only in name
            }
            const Variant handle = TkvBasicObject::Adopt(component);
            component->Self = handle;
            if (ownerObject)
                ownerObject->Owned << handle;
            return handle;
        });
        c->AddProperty(QStringLiteral("Owner"), QStringLiteral("TComponent"), [](const Variant &instance, const QString &) {
            const Variant &owner = TkvBasicObject::Of<ComponentObject>(instance).Owner;
            void *raw = nullptr;
            return TkvObjects::TypeOf(owner, &raw) ? owner : Variant(0);
        });
    }
}

void addList(TkvScript &s)
{
    TkvClassVariable *c = s.AddClass(QStringLiteral("TList"), QStringLiteral("TObject"));
    if (!c)
        return;
    c->AddConstructor(QStringLiteral("constructor Create"),
                      [](TkvMethodCall &) { return TkvBasicObject::Adopt(std::make_shared<ListObject>()); });
    c->AddMethod(QStringLiteral("function Add(Item: Variant): Integer"), [](TkvMethodCall &call) {
        ListObject &list = self<ListObject>(call);
        list.Items << call.Params[0];
        return Variant(int(list.Items.size()) - 1);
    });
    c->AddMethod(QStringLiteral("procedure Clear"), [](TkvMethodCall &call) {
        self<ListObject>(call).Items.clear();
        return none;
    });
    c->AddMethod(QStringLiteral("procedure Delete(Index: Integer)"), [](TkvMethodCall &call) {
        ListObject &list = self<ListObject>(call);
        const int index = call.Params[0].ToInt();
        list.Check(index, int(list.Items.size()));
        list.Items.removeAt(index);
        return none;
    });
    c->AddMethod(QStringLiteral("function IndexOf(Item: Variant): Integer"),
                 [](TkvMethodCall &call) { return Variant(self<ListObject>(call).IndexOf(call.Params[0])); });
    c->AddMethod(QStringLiteral("procedure Insert(Index: Integer; Item: Variant)"), [](TkvMethodCall &call) {
        ListObject &list = self<ListObject>(call);
        const int index = call.Params[0].ToInt();
        list.Check(index, int(list.Items.size()) + 1);
        list.Items.insert(index, call.Params[1]);
        return none;
    });
    c->AddMethod(QStringLiteral("function Remove(Item: Variant): Integer"), [](TkvMethodCall &call) {
        ListObject &list = self<ListObject>(call);
        const int index = list.IndexOf(call.Params[0]);
        if (index >= 0)
            list.Items.removeAt(index);
        return Variant(index);
    });
    c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), [](const Variant &instance, const QString &) {
        return Variant(int(TkvBasicObject::Of<ListObject>(instance).Items.size()));
    });
    c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Variant"),
                          [](TkvMethodCall &call) {
                              ListObject &list = self<ListObject>(call);
                              const int index = call.Params[0].ToInt();
                              list.Check(index, int(list.Items.size()));
                              if (isWrite(call))
                                  list.Items[index] = call.Params[1];
                              return list.Items[index];
                          });
}

void addStreams(TkvScript &s)
{
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TStream"), QStringLiteral("TObject"))) {
        // Buffers are strings of bytes: each character is one byte (Latin-1),
        // so binary data passes unchanged; characters above 255 become "?".
        c->AddMethod(QStringLiteral("function Read(var Buffer: String; Count: Integer): Integer"),
                     [](TkvMethodCall &call) {
                         const QByteArray bytes = self<TkvStream>(call).Read(countOf(call.Params[1]));
                         call.Params[0] = Variant(QString::fromLatin1(bytes));
                         return Variant(int(bytes.size()));
                     });
        c->AddMethod(QStringLiteral("function Write(const Buffer: String; Count: Integer): Integer"),
                     [](TkvMethodCall &call) {
                         const QByteArray bytes = text(call.Params[0]).left(countOf(call.Params[1])).toLatin1();
                         self<TkvStream>(call).Write(bytes);
                         return Variant(int(bytes.size()));
                     });
        c->AddMethod(QStringLiteral("function Seek(Offset: Integer; Origin: Word): Integer"), [](TkvMethodCall &call) {
            TkvStream &stream = self<TkvStream>(call);
            const qint64 offset = call.Params[0].ToInt64();
            switch (call.Params[1].ToInt()) {
            case soFromBeginning:
                stream.SetPosition(offset);
                break;
            case soFromCurrent:
                stream.SetPosition(stream.Position() + offset);
                break;
            case soFromEnd:
                stream.SetPosition(stream.Size() + offset);
                break;
            default:
                fail(QStringLiteral("Invalid seek origin (%1)").arg(call.Params[1].ToInt()));
            }
            return Variant::FromInt64(stream.Position());
        });
        c->AddMethod(QStringLiteral("function CopyFrom(Source: TStream; Count: Integer): Integer"),
                     [](TkvMethodCall &call) {
                         TkvStream &target = self<TkvStream>(call);
                         TkvStream &source = TkvBasicObject::Of<TkvStream>(call.Params[0]);
                         qint64 count = countOf(call.Params[1]);
                         if (count == 0) { // the whole source
                             source.SetPosition(0);
                             count = source.Size();
                         }
                         const QByteArray bytes = source.Read(count);
                         if (bytes.size() < count)
                             fail(QStringLiteral("Stream read error"));
                         target.Write(bytes);
                         return Variant::FromInt64(count);
                     });
        c->AddProperty(
            QStringLiteral("Position"), QStringLiteral("Integer"),
            [](const Variant &instance, const QString &) {
                return Variant::FromInt64(TkvBasicObject::Of<TkvStream>(instance).Position());
            },
            [](const Variant &instance, const QString &, const Variant &value) {
                TkvBasicObject::Of<TkvStream>(instance).SetPosition(value.ToInt64());
            });
        c->AddProperty(
            QStringLiteral("Size"), QStringLiteral("Integer"),
            [](const Variant &instance, const QString &) {
                return Variant::FromInt64(TkvBasicObject::Of<TkvStream>(instance).Size());
            },
            [](const Variant &instance, const QString &, const Variant &value) {
                TkvBasicObject::Of<TkvStream>(instance).SetSize(value.ToInt64());
            });
    }
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TFileStream"), QStringLiteral("TStream")))
        c->AddConstructor(QStringLiteral("constructor Create(FileName: String; Mode: Integer)"),
                          [](TkvMethodCall &call) {
                              call.Script.CheckAllowed(QStringLiteral("TFileStream.Create"));
                              return TkvBasicObject::Adopt(openFileStream(text(call.Params[0]), call.Params[1].ToInt()));
                          });
    TkvClassVariable *c = s.AddClass(QStringLiteral("TMemoryStream"), QStringLiteral("TStream"));
    if (!c)
        return;
    c->AddConstructor(QStringLiteral("constructor Create"), [](TkvMethodCall &) {
        return TkvBasicObject::Adopt(
            std::make_shared<TkvStream>(QStringLiteral("TMemoryStream"), std::make_unique<QBuffer>()));
    });
    c->AddMethod(QStringLiteral("procedure Clear"), [](TkvMethodCall &call) {
        setMemory(self<TkvStream>(call), QByteArray());
        return none;
    });
    c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), [](TkvMethodCall &call) {
        TkvStream &target = self<TkvStream>(call);
        memoryOf(target);
        TkvStream &source = TkvBasicObject::Of<TkvStream>(call.Params[0]);
        source.SetPosition(0);
        setMemory(target, source.ReadRest());
        return none;
    });
    c->AddMethod(QStringLiteral("procedure LoadFromFile(FileName: String)"), [](TkvMethodCall &call) {
        call.Script.CheckAllowed(QStringLiteral("TMemoryStream.LoadFromFile"));
        TkvStream &target = self<TkvStream>(call);
        memoryOf(target);
        setMemory(target, readFile(text(call.Params[0])));
        return none;
    });
    c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"), [](TkvMethodCall &call) {
        const QByteArray bytes = memoryOf(self<TkvStream>(call)).data();
        TkvBasicObject::Of<TkvStream>(call.Params[0]).Write(bytes);
        return none;
    });
    c->AddMethod(QStringLiteral("procedure SaveToFile(FileName: String)"), [](TkvMethodCall &call) {
        call.Script.CheckAllowed(QStringLiteral("TMemoryStream.SaveToFile"));
        writeFile(text(call.Params[0]), memoryOf(self<TkvStream>(call)).data());
        return none;
    });
}

void addStrings(TkvScript &s)
{
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TStrings"), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), [](TkvMethodCall &) {
            return TkvBasicObject::Adopt(std::make_shared<TkvStringList>(QStringLiteral("TStrings")));
        });
        c->AddMethod(QStringLiteral("function Add(const S: String): Integer"),
                     [](TkvMethodCall &call) { return Variant(self<TkvStringList>(call).Add(text(call.Params[0]))); });
        c->AddMethod(QStringLiteral("function AddObject(const S: String; AObject: TObject): Integer"),
                     [](TkvMethodCall &call) {
                         return Variant(self<TkvStringList>(call).AddObject(text(call.Params[0]), call.Params[1]));
                     });
        c->AddMethod(QStringLiteral("procedure Clear"), [](TkvMethodCall &call) {
            self<TkvStringList>(call).Clear();
            return none;
        });
        c->AddMethod(QStringLiteral("procedure Delete(Index: Integer)"), [](TkvMethodCall &call) {
            self<TkvStringList>(call).Delete(call.Params[0].ToInt());
            return none;
        });
        c->AddMethod(QStringLiteral("function IndexOf(const S: String): Integer"),
                     [](TkvMethodCall &call) { return Variant(self<TkvStringList>(call).IndexOf(text(call.Params[0]))); });
        c->AddMethod(QStringLiteral("function IndexOfName(const Name: String): Integer"), [](TkvMethodCall &call) {
            return Variant(self<TkvStringList>(call).IndexOfName(text(call.Params[0])));
        });
        c->AddMethod(QStringLiteral("function IndexOfObject(AObject: TObject): Integer"),
                     [](TkvMethodCall &call) { return Variant(self<TkvStringList>(call).IndexOfObject(call.Params[0])); });
        c->AddMethod(QStringLiteral("procedure Insert(Index: Integer; const S: String)"), [](TkvMethodCall &call) {
            self<TkvStringList>(call).InsertObject(call.Params[0].ToInt(), text(call.Params[1]), Variant(0));
            return none;
        });
        c->AddMethod(QStringLiteral("procedure InsertObject(Index: Integer; const S: String; AObject: TObject)"),
                     [](TkvMethodCall &call) {
                         self<TkvStringList>(call).InsertObject(call.Params[0].ToInt(), text(call.Params[1]),
                                                                call.Params[2]);
                         return none;
                     });
        c->AddMethod(QStringLiteral("procedure LoadFromFile(const FileName: String)"), [](TkvMethodCall &call) {
            call.Script.CheckAllowed(QStringLiteral("TStrings.LoadFromFile"));
            TkvStringList &list = self<TkvStringList>(call);
            list.SetText(decodeText(readFile(text(call.Params[0]))));
            return none;
        });
        c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), [](TkvMethodCall &call) {
            TkvStringList &list = self<TkvStringList>(call);
            list.SetText(decodeText(TkvBasicObject::Of<TkvStream>(call.Params[0]).ReadRest()));
            return none;
        });
        c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: String)"), [](TkvMethodCall &call) {
            call.Script.CheckAllowed(QStringLiteral("TStrings.SaveToFile"));
            writeFile(text(call.Params[0]), self<TkvStringList>(call).Text().toUtf8());
            return none;
        });
        c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"), [](TkvMethodCall &call) {
            const QByteArray bytes = self<TkvStringList>(call).Text().toUtf8();
            TkvBasicObject::Of<TkvStream>(call.Params[0]).Write(bytes);
            return none;
        });
        c->AddMethod(QStringLiteral("procedure Move(CurIndex, NewIndex: Integer)"), [](TkvMethodCall &call) {
            self<TkvStringList>(call).Move(call.Params[0].ToInt(), call.Params[1].ToInt());
            return none;
        });
        c->AddProperty(
            QStringLiteral("CommaText"), QStringLiteral("String"),
            [](const Variant &instance, const QString &) {
                return Variant(TkvBasicObject::Of<TkvStringList>(instance).CommaText());
            },
            [](const Variant &instance, const QString &, const Variant &value) {
                TkvBasicObject::Of<TkvStringList>(instance).SetCommaText(text(value));
            });
        c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), [](const Variant &instance, const QString &) {
            return Variant(TkvBasicObject::Of<TkvStringList>(instance).Count());
        });
        c->AddIndexProperty(QStringLiteral("Names"), QStringLiteral("Integer"), QStringLiteral("String"),
                            [](TkvMethodCall &call) {
                                return Variant(self<TkvStringList>(call).Names(call.Params[0].ToInt()));
                            },
                            true);
        c->AddIndexProperty(QStringLiteral("Objects"), QStringLiteral("Integer"), QStringLiteral("TObject"),
                            [](TkvMethodCall &call) {
                                TkvStringList &list = self<TkvStringList>(call);
                                const int index = call.Params[0].ToInt();
                                if (isWrite(call))
                                    list.SetObjects(index, call.Params[1]);
                                return list.Objects(index);
                            });
        c->AddIndexProperty(QStringLiteral("Values"), QStringLiteral("String"), QStringLiteral("String"),
                            [](TkvMethodCall &call) {
                                TkvStringList &list = self<TkvStringList>(call);
                                const QString name = text(call.Params[0]);
                                if (isWrite(call))
                                    list.SetValues(name, text(call.Params[1]));
                                return Variant(list.Values(name));
                            });
        c->AddDefaultProperty(QStringLiteral("Strings"), QStringLiteral("Integer"), QStringLiteral("String"),
                              [](TkvMethodCall &call) {
                                  TkvStringList &list = self<TkvStringList>(call);
                                  const int index = call.Params[0].ToInt();
                                  if (isWrite(call))
                                      list.SetStrings(index, text(call.Params[1]));
                                  return Variant(list.Strings(index));
                              });
        c->AddProperty(
            QStringLiteral("Text"), QStringLiteral("String"),
            [](const Variant &instance, const QString &) {
                return Variant(TkvBasicObject::Of<TkvStringList>(instance).Text());
            },
            [](const Variant &instance, const QString &, const Variant &value) {
                TkvBasicObject::Of<TkvStringList>(instance).SetText(text(value));
            });
    }
    if (TkvClassVariable *w = s.AddClass(QStringLiteral("TWideStrings"), QStringLiteral("TStrings")))
        w->AddConstructor(QStringLiteral("constructor Create"), [](TkvMethodCall &) {
            return TkvBasicObject::Adopt(std::make_shared<TkvStringList>(QStringLiteral("TWideStrings")));
        });
    TkvClassVariable *c = s.AddClass(QStringLiteral("TStringList"), QStringLiteral("TStrings"));
    if (!c)
        return;
    c->AddConstructor(QStringLiteral("constructor Create"),
                      [](TkvMethodCall &) { return TkvBasicObject::Adopt(std::make_shared<TkvStringList>()); });
    c->AddMethod(QStringLiteral("function Find(const S: String; var Index: Integer): Boolean"), [](TkvMethodCall &call) {
        int index = 0;
        const bool found = self<TkvStringList>(call).Find(text(call.Params[0]), index);
        call.Params[1] = Variant(index);
        return Variant(found);
    });
    c->AddMethod(QStringLiteral("procedure Sort"), [](TkvMethodCall &call) {
        self<TkvStringList>(call).Sort();
        return none;
    });
    c->AddProperty(
        QStringLiteral("Duplicates"), QStringLiteral("TDuplicates"),
        [](const Variant &instance, const QString &) {
            return Variant(int(TkvBasicObject::Of<TkvStringList>(instance).Duplicates()));
        },
        [](const Variant &instance, const QString &, const Variant &value) {
            const int duplicates = value.ToInt();
            if (duplicates < dupIgnore || duplicates > dupError)
                fail(QStringLiteral("Invalid TDuplicates value (%1)").arg(duplicates));
            TkvBasicObject::Of<TkvStringList>(instance).SetDuplicates(TkvDuplicates(duplicates));
        });
    c->AddProperty(
        QStringLiteral("Sorted"), QStringLiteral("Boolean"),
        [](const Variant &instance, const QString &) {
            return Variant(TkvBasicObject::Of<TkvStringList>(instance).Sorted());
        },
        [](const Variant &instance, const QString &, const Variant &value) {
            TkvBasicObject::Of<TkvStringList>(instance).SetSorted(value.ToBool());
        });
}

void addXml(TkvScript &s)
{
    if (TkvClassVariable *c = s.AddClass(QStringLiteral("TkvXMLItem"), QStringLiteral("TObject"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), [](TkvMethodCall &) {
            // Owned by the tree it is added to, or freed by the script.
            return itemHandle(new TkvXMLItem);
        });
        c->AddMethod(QStringLiteral("procedure AddItem(Item: TkvXMLItem)"), [](TkvMethodCall &call) {
            TkvXMLItem &parent = itemOf(call.Instance);
            parent.AddItem(&movableItem(call.Params[0], parent));
            return none;
        });
        c->AddMethod(QStringLiteral("procedure Clear"), [](TkvMethodCall &call) {
            TkvXMLItem &item = itemOf(call.Instance);
            forgetItems(&item, false);
            item.Clear();
            return none;
        });
        c->AddMethod(QStringLiteral("procedure InsertItem(Index: Integer; Item: TkvXMLItem)"), [](TkvMethodCall &call) {
            TkvXMLItem &parent = itemOf(call.Instance);
            const int index = call.Params[0].ToInt();
            TkvXMLItem &item = movableItem(call.Params[1], parent);
            // Counted without the item when it moves within the same parent.
            if (index < 0 || index > parent.Count() - (item.Parent() == &parent ? 1 : 0))
                failIndex(index);
            parent.InsertItem(index, &item);
            return none;
        });
        c->AddMethod(QStringLiteral("function Add: TkvXMLItem"),
                     [](TkvMethodCall &call) { return itemHandle(itemOf(call.Instance).Add()); });
        c->AddMethod(QStringLiteral("function Find(const Name: String): Integer"),
                     [](TkvMethodCall &call) { return Variant(itemOf(call.Instance).Find(text(call.Params[0]))); });
        c->AddMethod(QStringLiteral("function FindItem(const Name: String): TkvXMLItem"), [](TkvMethodCall &call) {
            return itemHandle(itemOf(call.Instance).FindItem(text(call.Params[0])));
        });
        c->AddMethod(QStringLiteral("function Root: TkvXMLItem"),
                     [](TkvMethodCall &call) { return itemHandle(itemOf(call.Instance).Root()); });
        c->AddProperty(
            QStringLiteral("Data"), QStringLiteral("Variant"),
            [](const Variant &instance, const QString &) {
                const TkvXMLItem *item = &itemOf(instance);
                XmlRegistry &r = xmlRegistry();
                const QMutexLocker lock(&r.Lock);
                const auto it = r.Live.constFind(item);
                return it != r.Live.cend() ? it->Data : Variant(0);
            },
            [](const Variant &instance, const QString &, const Variant &value) {
                const TkvXMLItem *item = &itemOf(instance);
                XmlRegistry &r = xmlRegistry();
                const QMutexLocker lock(&r.Lock);
                if (const auto it = r.Live.find(item); it != r.Live.end())
                    it->Data = value;
            });
        c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), [](const Variant &instance, const QString &) {
            return Variant(itemOf(instance).Count());
        });
        c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TkvXMLItem"),
                              [](TkvMethodCall &call) {
                                  const TkvXMLItem &item = itemOf(call.Instance);
                                  const int index = call.Params[0].ToInt();
                                  if (index < 0 || index >= item.Count())
                                      failIndex(index);
                                  return itemHandle(item.Items(index));
                              },
                              true);
        c->AddIndexProperty(QStringLiteral("Prop"), QStringLiteral("String"), QStringLiteral("String"),
                            [](TkvMethodCall &call) {
                                TkvXMLItem &item = itemOf(call.Instance);
                                const QString name = text(call.Params[0]);
                                if (isWrite(call))
                                    item.SetProp(name, text(call.Params[1]));
                                return Variant(item.Prop(name));
                            });
        c->AddProperty(
            QStringLiteral("Name"), QStringLiteral("String"),
            [](const Variant &instance, const QString &) { return Variant(itemOf(instance).Name()); },
            [](const Variant &instance, const QString &, const Variant &value) { itemOf(instance).SetName(text(value)); });
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TkvXMLItem"), [](const Variant &instance, const QString &) {
            return itemHandle(itemOf(instance).Parent());
        });
        // The raw attribute text of the start tag.
        c->AddProperty(
            QStringLiteral("Text"), QStringLiteral("String"),
            [](const Variant &instance, const QString &) { return Variant(itemOf(instance).Text()); },
            [](const Variant &instance, const QString &, const Variant &value) { itemOf(instance).SetText(text(value)); });
    }
    TkvClassVariable *c = s.AddClass(QStringLiteral("TkvXMLDocument"), QStringLiteral("TObject"));
    if (!c)
        return;
    c->AddConstructor(QStringLiteral("constructor Create"),
                      [](TkvMethodCall &) { return TkvBasicObject::Adopt(std::make_shared<XmlDocumentObject>()); });
    c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"), [](TkvMethodCall &call) {
        const QByteArray bytes = self<XmlDocumentObject>(call).Document.ToText();
        TkvBasicObject::Of<TkvStream>(call.Params[0]).Write(bytes);
        return none;
    });
    c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), [](TkvMethodCall &call) {
        XmlDocumentObject &document = self<XmlDocumentObject>(call);
        document.Load(TkvBasicObject::Of<TkvStream>(call.Params[0]).ReadRest());
        return none;
    });
    c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: String)"), [](TkvMethodCall &call) {
        call.Script.CheckAllowed(QStringLiteral("TkvXMLDocument.SaveToFile"));
        self<XmlDocumentObject>(call).Document.SaveToFile(text(call.Params[0]));
        return none;
    });
    c->AddMethod(QStringLiteral("procedure LoadFromFile(const FileName: String)"), [](TkvMethodCall &call) {
        call.Script.CheckAllowed(QStringLiteral("TkvXMLDocument.LoadFromFile"));
        XmlDocumentObject &document = self<XmlDocumentObject>(call);
        document.Load(readFile(text(call.Params[0])));
        return none;
    });
    c->AddProperty(QStringLiteral("Root"), QStringLiteral("TkvXMLItem"), [](const Variant &instance, const QString &) {
        return itemHandle(TkvBasicObject::Of<XmlDocumentObject>(instance).Document.Root());
    });
}

} // namespace

// --- TkvBasicObject

TkvBasicObject::TkvBasicObject(QString className) : FClassName(std::move(className)) {}

TkvBasicObject::~TkvBasicObject() = default;

bool TkvBasicObject::Assign(const TkvBasicObject &)
{
    return false;
}

void TkvBasicObject::Release() {}

Variant TkvBasicObject::Adopt(std::shared_ptr<TkvBasicObject> object)
{
    return TkvObjects::Adopt(std::move(object), &basicType);
}

// --- TkvStringList

namespace {

int compareText(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

} // namespace

TkvStringList::TkvStringList(QString className) : TkvBasicObject(std::move(className)) {}

void TkvStringList::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count)
        failIndex(index);
}

void TkvStringList::CheckUnsorted() const
{
    if (FSorted)
        fail(QStringLiteral("Operation not allowed on sorted list"));
}

const QString &TkvStringList::Strings(int index) const
{
    CheckIndex(index, Count());
    return FLines[index];
}

void TkvStringList::SetStrings(int index, const QString &s)
{
    CheckUnsorted();
    CheckIndex(index, Count());
    FLines[index] = s;
    Changed();
}

const Variant &TkvStringList::Objects(int index) const
{
    CheckIndex(index, Count());
    return FObjects[index];
}

void TkvStringList::SetObjects(int index, const Variant &object)
{
    CheckIndex(index, Count());
    FObjects[index] = object;
}

int TkvStringList::AddObject(const QString &s, const Variant &object)
{
    int index = Count();
    if (FSorted && Find(s, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            fail(QStringLiteral("String list does not allow duplicates"));
    }
    FLines.insert(index, s);
    FObjects.insert(index, object);
    Changed();
    return index;
}

void TkvStringList::InsertObject(int index, const QString &s, const Variant &object)
{
    CheckUnsorted();
    CheckIndex(index, Count() + 1);
    FLines.insert(index, s);
    FObjects.insert(index, object);
    Changed();
}

void TkvStringList::Delete(int index)
{
    CheckIndex(index, Count());
    FLines.removeAt(index);
    FObjects.removeAt(index);
    Changed();
}

void TkvStringList::Clear()
{
    FLines.clear();
    FObjects.clear();
    Changed();
}

void TkvStringList::Move(int from, int to)
{
    CheckIndex(from, Count());
    CheckIndex(to, Count());
    if (from == to)
        return;
    CheckUnsorted();
    FLines.move(from, to);
    FObjects.move(from, to);
    Changed();
}

int TkvStringList::IndexOf(const QString &s) const
{
    int index = 0;
    return Find(s, index) ? index : -1;
}

int TkvStringList::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        const qsizetype eq = FLines[i].indexOf(QLatin1Char('='));
        if (eq >= 0 && compareText(FLines[i].left(eq), name) == 0)
            return i;
    }
    return -1;
}

int TkvStringList::IndexOfObject(const Variant &object) const
{
    for (int i = 0; i < Count(); ++i)
        if (Variant::Identical(FObjects[i], object))
            return i;
    return -1;
}

QString TkvStringList::Names(int index) const
{
    const QString &line = Strings(index);
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq >= 0 ? line.left(eq) : QString();
}

QString TkvStringList::Values(const QString &name) const
{
    const int index = IndexOfName(name);
    return index >= 0 ? FLines[index].mid(FLines[index].indexOf(QLatin1Char('=')) + 1) : QString();
}

void TkvStringList::SetValues(const QString &name, const QString &value)
{
    const int index = IndexOfName(name);
    if (value.isEmpty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    const QString line = name + QLatin1Char('=') + value;
    if (index < 0) {
        Add(line);
    } else if (FSorted) { // the new line may belong elsewhere
        const Variant object = FObjects[index];
        Delete(index);
        AddObject(line, object);
    } else {
        FLines[index] = line;
        Changed();
    }
}

QString TkvStringList::Text() const
{
    QString result;
    for (const QString &line : FLines)
        result += line + QLatin1String("\r\n");
    return result;
}

void TkvStringList::SetText(const QString &text)
{
    Clear();
    const QStringList lines = zelSplitLines(text, true);
    for (const QString &line : std::as_const(lines))
        Add(line);
}

QString TkvStringList::CommaText() const
{
    QStringList items;
    for (const QString &line : FLines) {
        const bool quote = line.isEmpty() || std::any_of(line.begin(), line.end(), [](QChar c) {
                               return c <= QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('"');
                           });
        items << (quote ? QLatin1Char('"') + QString(line).replace(QLatin1String("\""), QLatin1String("\"\""))
                              + QLatin1Char('"')
                        : line);
    }
    return items.join(QLatin1Char(','));
}

void TkvStringList::SetCommaText(const QString &text)
{
    Clear();
    const qsizetype n = text.size();
    const auto blank = [&text](qsizetype i) { return text.at(i) <= QLatin1Char(' '); };
    qsizetype i = 0;
    while (i < n && blank(i))
        ++i;
    while (i < n) {
        QString item;
        if (text.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text.at(i++);
            }
        } else {
            const qsizetype start = i;
            while (i < n && !blank(i) && text.at(i) != QLatin1Char(','))
                ++i;
            item = text.mid(start, i - start);
        }
        Add(item);
        while (i < n && blank(i))
            ++i;
        if (i < n && text.at(i) == QLatin1Char(',')) {
            if (i + 1 == n) // "a," ends with an empty item
                Add(QString());
            ++i;
            while (i < n && blank(i))
                ++i;
        }
    }
}

bool TkvStringList::Find(const QString &s, int &index) const
{
    if (!FSorted) {
        for (int i = 0; i < Count(); ++i)
            if (compareText(FLines[i], s) == 0) {
                index = i;
                return true;
            }
        index = Count();
        return false;
    }
    const auto it = std::lower_bound(FLines.begin(), FLines.end(), s,
                                     [](const QString &a, const QString &b) { return compareText(a, b) < 0; });
    index = int(it - FLines.begin());
    return it != FLines.end() && compareText(*it, s) == 0;
}

void TkvStringList::Sort()
{
    std::vector<int> order(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i)
        order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return compareText(FLines[a], FLines[b]) < 0; });
    QStringList lines;
    QList<Variant> objects;
    lines.reserve(Count());
    objects.reserve(Count());
    for (const int i : order) {
        lines << FLines[i];
        objects << FObjects[i];
    }
    FLines = std::move(lines);
    FObjects = std::move(objects);
    Changed();
}

void TkvStringList::SetSorted(bool sorted)
{
    if (sorted && !FSorted)
        Sort();
    FSorted = sorted;
}

bool TkvStringList::Assign(const TkvBasicObject &source)
{
    const auto *other = dynamic_cast<const TkvStringList *>(&source);
    if (!other)
        return false;
    if (other == this)
        return true;
    Clear();
    for (int i = 0; i < other->Count(); ++i)
        AddObject(other->FLines[i], other->FObjects[i]);
    return true;
}

Variant kvNewList(const QList<Variant> &items)
{
    auto list = std::make_shared<ListObject>();
    list->Items = items;
    return TkvBasicObject::Adopt(std::move(list));
}

// --- TkvStream

TkvStream::TkvStream(QString className, std::unique_ptr<QIODevice> device)
    : TkvBasicObject(std::move(className)), FDevice(std::move(device))
{
    if (!FDevice->isOpen())
        FDevice->open(QIODevice::ReadWrite);
}

TkvStream::~TkvStream() = default;

void TkvStream::SetPosition(qint64 position)
{
    if (position < 0 || position > Size() || !FDevice->seek(position))
        fail(QStringLiteral("Invalid stream position (%1)").arg(position));
}

void TkvStream::SetSize(qint64 size)
{
    auto *buffer = dynamic_cast<QBuffer *>(FDevice.get());
    if (!buffer || !buffer->isWritable())
        fail(QStringLiteral("Stream write error"));
    if (size < 0 || size > std::numeric_limits<int>::max())
        fail(QStringLiteral("Invalid stream size (%1)").arg(size));
    QByteArray &bytes = buffer->buffer();
    if (size > bytes.size())
        bytes.append(QByteArray(qsizetype(size - bytes.size()), '\0'));
    else
        bytes.truncate(qsizetype(size));
    if (Position() > size)
        buffer->seek(size);
}

QByteArray TkvStream::Read(qint64 count)
{
    if (!FDevice->isReadable())
        fail(QStringLiteral("Stream read error"));
    // Never more than there is, so that a large count allocates nothing.
    return FDevice->read(qBound<qint64>(0, count, Size() - Position()));
}

void TkvStream::Write(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (!FDevice->isWritable() || FDevice->write(bytes) != bytes.size())
        fail(QStringLiteral("Stream write error"));
}

// --- the module

TkvClassesRTTI::TkvClassesRTTI(TkvScript *script) : TkvRTTIModule(script)
{
    TkvScript &s = *script;
    const std::pair<const char *, int> constants[] = {
        {"fmCreate", fmCreate},
        {"fmOpenRead", fmOpenRead},
        {"fmOpenWrite", fmOpenWrite},
        {"fmOpenReadWrite", fmOpenReadWrite},
        {"fmShareExclusive", 0x10},
        {"fmShareDenyWrite", 0x20},
        {"fmShareDenyNone", 0x40},
        {"soFromBeginning", soFromBeginning},
        {"soFromCurrent", soFromCurrent},
        {"soFromEnd", soFromEnd},
    };
    for (const auto &[name, value] : constants)
        s.AddConst(QString::fromLatin1(name), QStringLiteral("Integer"), Variant(value));
    s.AddEnum(QStringLiteral("TDuplicates"), QStringLiteral("dupIgnore, dupAccept, dupError"));
    s.AddEnum(QStringLiteral("TPrinterOrientation"), QStringLiteral("poPortrait, poLandscape"));

    addObjectClasses(s);
    addList(s);
    addStreams(s);
    addStrings(s);
    addXml(s);
}

void kvRegisterClassesRTTI()
{
    static std::once_flag once;
    std::call_once(once, [] {
        kvRegisterRTTIModule([](TkvScript *script) { return std::make_unique<TkvClassesRTTI>(script); });
    });
}
