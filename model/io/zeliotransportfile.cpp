#include "model/io/zeliotransportfile.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelsafefile.h"
#include "model/io/zeliopath.h"
#include "model/io/zelnode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QString joinPath(const QString &folder, const QString &relative)
{
    if (folder.isEmpty())
        return relative;
    if (relative.isEmpty())
        return folder;
    return folder.endsWith(u'/') ? folder + relative : folder + u'/' + relative;
}

QString message(const char *key, const QStringList &args)
{
    return zelFormat(zelResources().Get(QString::fromUtf8(key)), args);
}

// The folder that new containers of the stream Name are made below: the
// file-system root for an absolute name outside BasePath, else BasePath.
QString containerAnchor(const QString &name, const QString &basePath)
{
    if (!zelIOHasBasePath(name, basePath) && QDir::isAbsolutePath(zelIOFilePath(name)))
        return QStringLiteral("/");
    return zelIOFilePath(basePath);
}

} // namespace

TzelIOTransportFile::TzelIOTransportFile(Registration registration)
    : TzelCustomIOTransport(registration)
{
}

TzelIOTransportFile::~TzelIOTransportFile()
{
    TzelIOTransportFile::FreeTempContainer();
}

TzelFilterVisibility TzelIOTransportFile::GetVisibility() const
{
    return {};
}

bool TzelIOTransportFile::DoCreateContainer(TzelNode *node)
{
    if (FilterAccess() != faWrite)
        return true;
    QStringList parts;
    for (const TzelNode *n = node; n && n->Parent(); n = n->Parent())
        parts.prepend(n->Name());
    const QString anchor = FContainerAnchor ? *FContainerAnchor : zelIOFilePath(BasePath());
    const QString folder = joinPath(anchor, parts.join(u'/'));
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw TzelFileError(message("ioCantCreateFolder", {QDir::toNativeSeparators(folder)}));
    return true;
}

QIODevice *TzelIOTransportFile::DoCreateStream(const QString &fullFilePath, const QString &)
{
    const QString path = FileSystemPath(fullFilePath);
    if (FilterAccess() == faWrite) {
        // Replaces the file only when FreeStream commits it.
        auto file = std::make_unique<TzelSafeFile>(path);
        file->open(QIODevice::WriteOnly);
        return file.release();
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw TzelFileError(message("ioCantOpen", {path, file->errorString()}));
    return file.release();
}

void TzelIOTransportFile::CreateTempContainer()
{
    if (FTempFolderExists)
        return;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/qzXXXXXX"));
    if (!dir.isValid())
        throw TzelFileError(message("ioCantCreateFolder", {dir.errorString()}));
    dir.setAutoRemove(false);
    SetBasePath(dir.path() + u'/');
    FTempFolderExists = true;
}

void TzelIOTransportFile::FreeTempContainer()
{
    if (!FTempFolderExists)
        return;
    CancelAllStreams();
    // Every file of the tree was made below the folder, so it goes with it.
    QDir(zelIOFilePath(BasePath())).removeRecursively();
    FTempFolderExists = false;
}

QIODevice *TzelIOTransportFile::GetStream(const QString &fileName)
{
    // Folders made on the way belong where the file lies, which for an
    // absolute name outside BasePath is not below BasePath.
    struct AnchorScope
    {
        std::optional<QString> &anchor;
        ~AnchorScope() { anchor.reset(); }
    } scope{FContainerAnchor};
    FContainerAnchor = containerAnchor(fileName.isEmpty() ? FileName() : fileName, BasePath());
    return TzelCustomIOTransport::GetStream(fileName);
}

QString TzelIOTransportFile::GetDescription() const
{
    return zelResources().Get(163);
}

std::unique_ptr<TzelCustomIOTransport> TzelIOTransportFile::NewInstance() const
{
    return CreateNoRegister<TzelIOTransportFile>();
}

QString TzelIOTransportFile::FileSystemPath(const QString &name) const
{
    const QString path = zelIOFilePath(name);
    if (BasePath().isEmpty() || zelIOHasBasePath(name, BasePath()) || QDir::isAbsolutePath(path))
        return path;
    return joinPath(zelIOFilePath(BasePath()), path);
}

