#include "base/stream/zelsafefile.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

TzelSafeFile::TzelSafeFile(const QString &fileName)
    : FFileName(fileName)
{
}

TzelSafeFile::~TzelSafeFile()
{
    Cancel();
}

void TzelSafeFile::Fail(const char *key, const QString &reason)
{
    Cancel();
    throw TzelFileError(zelFormat(zelRes(key), {QDir::toNativeSeparators(FFileName), reason}));
}

bool TzelSafeFile::open(OpenMode mode)
{
    if (isOpen() || !(mode & WriteOnly) || (mode & (ReadOnly | Append)))
        return false;
    // QFileInfo follows links, so this is what the name finally points to.
    const QFileInfo target(FFileName);
    FInPlace = target.exists() && !target.isFile();
    if (target.isDir())
        Fail("ioCantCreate", zelRes("ioIsFolder"));
    // Write-protected means no write permission for its owner either: even
    // a user who could replace it (its folder's owner, root) must not.
    if (target.isFile() && (!target.isWritable() || !(target.permissions() & QFileDevice::WriteOwner)))
        Fail("ioCantCreate", zelRes("ioWriteProtected"));
    if (FInPlace)
        FFile = std::make_unique<QFile>(FFileName);
    else
        FFile = std::make_unique<QSaveFile>(FFileName);
    // Unbuffered, so that every failed write is seen where it happens: a
    // buffered QSaveFile may report a failed flush without its reason.
    if (!FFile->open(WriteOnly | Unbuffered))
        Fail("ioCantCreate", FFile->errorString());
    return QIODevice::open(WriteOnly | Unbuffered);
}

void TzelSafeFile::Commit()
{
    if (!FFile)
        return;
    if (FInPlace) {
        // A device or a pipe: the bytes are already on their way, but a write
        // that failed anywhere still fails the save.
        RaiseWriteFailure();
        FFile->close();
        if (FFile->error() != QFileDevice::NoError)
            Fail("ioCantWrite", FFile->errorString());
    } else {
        auto *save = static_cast<QSaveFile *>(FFile.get());
        RaiseWriteFailure();
        // Syncs to disk and renames over the target; on any failure the
        // temporary file goes and the target is untouched.
        if (!save->commit())
            Fail("ioCantWrite", save->errorString());
    }
    FFile.reset();
    QIODevice::close();
}

void TzelSafeFile::Cancel() noexcept
{
    if (FFile) {
        if (auto *save = dynamic_cast<QSaveFile *>(FFile.get()))
            save->cancelWriting();
        // Destroying an uncommitted QSaveFile removes its temporary file.
        FFile.reset();
    }
    if (isOpen())
        QIODevice::close();
}

bool TzelSafeFile::isSequential() const
{
    return false;
}

bool TzelSafeFile::seek(qint64 pos)
{
    return FFile && QIODevice::seek(pos) && FFile->seek(pos);
}

qint64 TzelSafeFile::size() const
{
    return FFile ? FFile->size() : 0;
}

void TzelSafeFile::close()
{
    Cancel();
}

qint64 TzelSafeFile::readData(char *, qint64)
{
    return -1;
}

qint64 TzelSafeFile::writeData(const char *data, qint64 size)
{
    if (!FFile)
        return -1;
    // A short write is no error yet: writing the rest gives the reason.
    qint64 written = 0;
    while (written < size) {
        const qint64 n = FFile->write(data + written, size - written);
        if (n <= 0) {
            FWriteFailed = true;
            setErrorString(FFile->errorString());
            return written > 0 ? written : -1;
        }
        written += n;
    }
    return written;
}

void TzelSafeFile::RaiseWriteFailure()
{
    if (FWriteFailed)
        Fail("ioCantWrite", errorString());
}

void zelRaiseWriteFailure(QIODevice *stream)
{
    if (auto *safe = dynamic_cast<TzelSafeFile *>(stream))
        safe->RaiseWriteFailure();
}

void zelSaveFile(const QString &fileName, const std::function<void(QIODevice *stream)> &write)
{
    TzelSafeFile file(fileName);
    file.open(QIODevice::WriteOnly);
    try {
        write(&file);
    } catch (const TzelException &) {
        zelRaiseWriteFailure(&file);
        throw;
    }
    file.Commit();
}
