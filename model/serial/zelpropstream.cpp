#include "model/serial/zelpropstream.h"

#include "model/reflect/zelfiler.h"
#include "model/reflect/zelpersistent.h"

#include <QHash>
#include <QtEndian>

namespace {

enum ValueType : quint8 { vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaBinary = 10 };

class Writer final : public TzelFiler
{
public:
    QByteArray Data;

    void DefineBinaryProperty(const char *name, const std::function<void(const QByteArray &)> &,
                              const std::function<QByteArray()> &write, bool hasData) override
    {
        if (!hasData || !write)
            return;
        const QByteArray bytes = write();
        Name(name);
        Data.append(char(vaBinary));
        Int32(qint32(bytes.size()));
        Data.append(bytes);
    }

    void DefineIntegerProperty(const char *name, const std::function<void(int)> &, const std::function<int()> &write,
                               bool hasData) override
    {
        if (!hasData || !write)
            return;
        const int v = write();
        Name(name);
        if (v >= -128 && v <= 127) {
            Data.append(char(vaInt8));
            Data.append(char(qint8(v)));
        } else if (v >= -32768 && v <= 32767) {
            Data.append(char(vaInt16));
            char b[2];
            qToLittleEndian(qint16(v), b);
            Data.append(b, 2);
        } else {
            Data.append(char(vaInt32));
            Int32(v);
        }
    }

private:
    void Name(const char *name)
    {
        const QByteArray n = QByteArray(name).left(255);
        Data.append(char(quint8(n.size())));
        Data.append(n);
    }
    void Int32(qint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        Data.append(b, 4);
    }
};

struct Entry
{
    quint8 type = 0;
    qint64 integer = 0;
    QByteArray bytes;
};

// Parses every entry it can; a damaged tail is dropped.
QHash<QByteArray, Entry> parse(const QByteArray &data)
{
    QHash<QByteArray, Entry> entries;
    const auto *p = reinterpret_cast<const uchar *>(data.constData());
    const qsizetype size = data.size();
    qsizetype i = 0;
    auto need = [&](qsizetype n) { return n >= 0 && i + n <= size; };
    while (need(1)) {
        const qsizetype len = p[i++];
        if (len == 0 || !need(len + 1))
            break;
        const QByteArray name(data.constData() + i, len);
        i += len;
        Entry e;
        e.type = p[i++];
        if (e.type == vaInt8 && need(1)) {
            e.integer = qint8(p[i]);
            i += 1;
        } else if (e.type == vaInt16 && need(2)) {
            e.integer = qFromLittleEndian<qint16>(p + i);
            i += 2;
        } else if (e.type == vaInt32 && need(4)) {
            e.integer = qFromLittleEndian<qint32>(p + i);
            i += 4;
        } else if (e.type == vaBinary && need(4)) {
            const qint32 n = qFromLittleEndian<qint32>(p + i);
            i += 4;
            if (!need(n))
                break;
            e.bytes = QByteArray(data.constData() + i, n);
            i += n;
        } else {
            break;
        }
        entries.insert(name, e);
    }
    return entries;
}

class Reader final : public TzelFiler
{
public:
    explicit Reader(QHash<QByteArray, Entry> entries) : FEntries(std::move(entries)) {}

    void DefineBinaryProperty(const char *name, const std::function<void(const QByteArray &)> &read,
                              const std::function<QByteArray()> &, bool) override
    {
        const auto it = FEntries.constFind(QByteArray(name));
        if (it != FEntries.cend() && it->type == vaBinary && read)
            read(it->bytes);
    }

    void DefineIntegerProperty(const char *name, const std::function<void(int)> &read, const std::function<int()> &,
                               bool) override
    {
        const auto it = FEntries.constFind(QByteArray(name));
        if (it != FEntries.cend() && it->type != vaBinary && read)
            read(int(it->integer));
    }

private:
    QHash<QByteArray, Entry> FEntries;
};

} // namespace

QByteArray zelWritePropData(const TzelPersistent &object)
{
    Writer writer;
    const_cast<TzelPersistent &>(object).DefineProperties(writer);
    return writer.Data;
}

void zelReadPropData(TzelPersistent &object, const QByteArray &data)
{
    Reader reader(parse(data));
    object.DefineProperties(reader);
}
