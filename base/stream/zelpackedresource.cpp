#include "base/stream/zelpackedresource.h"

#include "base/core/zelexception.h"
#include "base/resources/zelresources.h"

#include <limits>
#include <zlib.h>

namespace {

constexpr unsigned char kFlagName = 0x08;
constexpr unsigned char kFlagsUnsupported = 0x02 | 0x04 | 0x10; // header CRC, extra field, comment

[[noreturn]] void fail()
{
    throw TzelException(zelResources().Get(QStringLiteral("clDecompressError")));
}

} // namespace

QByteArray zelUnpackResource(const QByteArray &packed, QString *storedName)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(packed.constData());
    const qsizetype size = packed.size();
    if (size < 10 || size > std::numeric_limits<uInt>::max() / 2 || bytes[0] != 0x1F || bytes[1] != 0x8B || bytes[2] != 0x08 || (bytes[3] & kFlagsUnsupported))
        fail();
    const QByteArray mtime = packed.mid(4, 4);
    qsizetype pos = 10; // after MTIME, XFL and OS
    if (bytes[3] & kFlagName) {
        const qsizetype end = packed.indexOf('\0', pos);
        if (end < 0)
            fail();
        if (storedName)
            *storedName = QString::fromLatin1(packed.mid(pos, end - pos));
        pos = end + 1;
    }
    if (size - 8 < pos)
        fail();

    // The deflate data without the gzip trailer (CRC-32, ISIZE), framed as a
    // zlib stream whose Adler-32 trailer is the MTIME field.
    QByteArray zlibStream("\x78\xDA", 2);
    zlibStream += packed.mid(pos, size - 8 - pos);
    zlibStream += mtime;

    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        fail();
    const qsizetype step = (zlibStream.size() + 255) / 256 * 256;
    QByteArray out(step, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(zlibStream.data());
    z.avail_in = uInt(zlibStream.size());
    int result = Z_OK;
    while (result == Z_OK) {
        if (z.total_out == uLong(out.size()))
            out.resize(out.size() + step);
        z.next_out = reinterpret_cast<Bytef *>(out.data()) + z.total_out;
        z.avail_out = uInt(out.size() - qsizetype(z.total_out));
        result = inflate(&z, Z_NO_FLUSH);
    }
    const QString message = z.msg ? QString::fromLatin1(z.msg) : QString::fromLatin1(zError(result));
    out.resize(qsizetype(z.total_out));
    inflateEnd(&z);
    if (result == Z_BUF_ERROR) // the input ended before the stream did
        fail();
    if (result != Z_STREAM_END)
        throw TzelException(message);
    return out;
}
