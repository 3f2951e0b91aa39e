#include "base/core/zelexception.h"
#include "base/stream/zelpackedresource.h"
#include "support/testsupport.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// Data packed the way the resources are: raw deflate in a gzip container with
// the file name "1" and the Adler-32 of the data, big-endian, as MTIME.
QByteArray pack(const QByteArray &data, bool withName = true)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    QByteArray deflated(int(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(deflated.data());
    z.avail_out = uInt(deflated.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    deflated.resize(qsizetype(z.total_out));
    deflateEnd(&z);

    const quint32 adler = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef *>(data.constData()),
                                  uInt(data.size()));
    QByteArray packed("\x1F\x8B\x08", 3);
    packed += char(withName ? 0x08 : 0x00);
    char mtime[4];
    qToBigEndian(adler, mtime);
    packed += QByteArray(mtime, 4);
    packed += QByteArray("\x02\x00", 2); // XFL, OS
    if (withName)
        packed += QByteArray("1\0", 2);
    packed += deflated;
    packed += QByteArray(8, '\0'); // CRC-32 and ISIZE, not read
    return packed;
}

} // namespace

TEST(PackedResource, UnpacksAndHandsBackTheStoredName)
{
    QByteArray bitmap("BM");
    for (int i = 0; i < 5000; ++i)
        bitmap += char(i * 7 % 251);
    QString name;
    EXPECT_EQ(zelUnpackResource(pack(bitmap), &name), bitmap);
    EXPECT_EQ(name, QStringLiteral("1"));
    EXPECT_EQ(zelUnpackResource(pack(QByteArray("tiny"), false)), QByteArray("tiny"));
}

TEST(PackedResource, RefusesWhatItCannotRead)
{
    const QByteArray good = pack(QByteArray(3000, 'x'));
    QByteArray badChecksum = good;
    badChecksum[4] = char(badChecksum[4] ^ 0x55);
    QByteArray withComment = good;
    withComment[3] = char(0x08 | 0x10);
    const struct
    {
        const char *name;
        QByteArray input;
        const char *error;
    } cases[] = {
        {"no gzip signature", QByteArray("BM not packed at all"), "Stream decompress error"},
        {"comment field", withComment, "Stream decompress error"},
        {"checksum in MTIME wrong", badChecksum, "incorrect data check"},
        {"cut short", good.left(good.size() / 2), "Stream decompress error"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            zelUnpackResource(c.input);
            ADD_FAILURE() << "no error";
        } catch (const TzelException &e) {
            EXPECT_TRUE(e.message().contains(QLatin1StringView(c.error))) << e.message().toStdString();
        }
    }
}
