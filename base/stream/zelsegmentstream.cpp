#include "base/stream/zelsegmentstream.h"

TzelSegmentStream::TzelSegmentStream(std::unique_ptr<QIODevice> device)
    : FDevice(std::move(device))
{
}

TzelSegmentStream::~TzelSegmentStream()
{
    TzelSegmentStream::close();
}

bool TzelSegmentStream::open(OpenMode mode)
{
    // Unbuffered on both levels: pos() is then the underlying position of
    // every read and write, and no read-ahead crosses the virtual end.
    if (!FDevice->open(mode | Unbuffered)) {
        setErrorString(FDevice->errorString());
        return false;
    }
    return QIODevice::open(mode | Unbuffered);
}

void TzelSegmentStream::close()
{
    if (isOpen())
        QIODevice::close();
    FDevice->close();
}

qint64 TzelSegmentStream::size() const
{
    return FSz != 0 ? FSz : FDevice->size();
}

qint64 TzelSegmentStream::readData(char *data, qint64 maxSize)
{
    if (FSz != 0)
        maxSize = qMin(maxSize, FSz - pos());
    // Seeking past the end of a writable buffer would fill the gap.
    maxSize = qMin(maxSize, FDevice->size() - pos());
    if (maxSize <= 0)
        return 0;
    if (!FDevice->seek(pos()))
        return -1;
    return FDevice->read(data, maxSize);
}

qint64 TzelSegmentStream::writeData(const char *data, qint64 size)
{
    if (!FDevice->seek(pos())) {
        setErrorString(FDevice->errorString());
        return -1;
    }
    const qint64 written = FDevice->write(data, size);
    if (written < size)
        setErrorString(FDevice->errorString());
    return written;
}
