#pragma once
/// \file

#include <QByteArray>
#include <QString>

/// Unpacks a packed program resource (the image strips of the tool bars): a
/// gzip container whose MTIME field holds the Adler-32 checksum of the
/// unpacked data, big-endian, so the deflate data inflates as a zlib stream
/// with that checksum as its trailer. The stored file name, when there is one,
/// goes to *StoredName. Anything else raises TzelException: input without the
/// gzip signature, header fields other than the file name ("Stream decompress
/// error"), damaged data (zlib's message).
QByteArray zelUnpackResource(const QByteArray &packed, QString *storedName = nullptr);
