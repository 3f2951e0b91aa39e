#pragma once
/// \file

#include <QIODevice>
#include <memory>

/// A random-access stream over another device that can pretend to end early.
/// While a virtual end is set, size() reports it and reading stops there, so
/// that a decoder which reads "to the end" reads one record lying inside a
/// much larger stream, in place and without copying it out.
class TzelSegmentStream : public QIODevice
{
public:
    /// Closes the stream.
    ~TzelSegmentStream() override;

    /// The virtual end (absolute offset), or 0 when none is set.
    qint64 VirtualEnd() const { return FSz; }
    /// Sets the virtual end; 0 restores the device's own size.
    void SetVirtualEnd(qint64 value) { FSz = value; }

    /// Opens the underlying device with Mode, and this stream unbuffered.
    bool open(OpenMode mode) override;
    /// Closes this stream and the underlying device.
    void close() override;
    /// The virtual end when set, else the underlying device's size.
    qint64 size() const override;

protected:
    /// Takes ownership of Device, which must be closed and random-access.
    explicit TzelSegmentStream(std::unique_ptr<QIODevice> device);

    /// Reads from the current segment, then the next ones.
    qint64 readData(char *data, qint64 maxSize) override;
    /// Writes into the segments, growing the last one.
    qint64 writeData(const char *data, qint64 size) override;

private:
    std::unique_ptr<QIODevice> FDevice;
    qint64 FSz = 0;
};
