#pragma once
/// \file

#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>

class QFileDevice;

/// A file that is written whole or not at all. The bytes go to a temporary
/// file beside the target; Commit flushes and syncs it and renames it over the
/// target, so an interrupted or failing save leaves the old file as it was.
/// A target that is not a regular file (a device, a pipe) cannot be replaced
/// and is written in place, with every write error still reported by Commit.
/// A write-protected target is refused, and a symbolic link is written through.
class TzelSafeFile : public QIODevice
{
public:
    /// A closed file that will replace FileName.
    explicit TzelSafeFile(const QString &fileName);
    /// Drops what was written unless Commit succeeded.
    ~TzelSafeFile() override;

    /// The target's name as given.
    const QString &FileName() const { return FFileName; }
    /// Whether a write did not take all its bytes (Commit will fail).
    bool WriteFailed() const { return FWriteFailed; }
    /// Raises the failure of an earlier write as Commit would, naming the
    /// target, and drops what was written; does nothing when none failed.
    void RaiseWriteFailure();

    /// Opens for writing (the only mode); raises TzelFileError naming the
    /// target when it is write-protected or its folder cannot take a new file.
    bool open(OpenMode mode) override;
    /// Puts everything written in place; raises TzelFileError naming the
    /// target when any write, the flush, the sync or the rename failed. The
    /// old file stands whenever it raises.
    void Commit();
    /// Drops what was written; the target stays as it was.
    void Cancel() noexcept;

    /// Not sequential: the temporary file can be sought.
    bool isSequential() const override;
    /// Moves the write position.
    bool seek(qint64 pos) override;
    /// Bytes written so far.
    qint64 size() const override;
    /// Same as Cancel.
    void close() override;

protected:
    /// Reads from the underlying file.
    qint64 readData(char *data, qint64 maxSize) override;
    /// Writes to the temporary file that replaces the target on commit.
    qint64 writeData(const char *data, qint64 size) override;

private:
    [[noreturn]] void Fail(const char *key, const QString &reason);

    QString FFileName;
    std::unique_ptr<QFileDevice> FFile;
    bool FInPlace = false;
    bool FWriteFailed = false;
};

/// Inside a handler of a writer's exception: when Stream is a TzelSafeFile
/// whose write failed, raises that failure naming the file instead (writers
/// see a failed write first but cannot name the file); otherwise returns.
void zelRaiseWriteFailure(QIODevice *stream);

/// Writes the file FileName through a TzelSafeFile: Write fills it, and it
/// replaces the old file only when Write returned and every byte got there.
/// Whatever Write raises propagates (a failed write as "Cannot write file",
/// naming it), and the old file stays.
void zelSaveFile(const QString &fileName, const std::function<void(QIODevice *stream)> &write);
