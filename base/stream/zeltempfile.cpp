#include "base/stream/zeltempfile.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"

#include <QDir>
#include <QTemporaryFile>

QString zelCreateTempFile(const QString &folder, const QString &prefix)
{
    const QString dir = folder.isEmpty() ? QDir::tempPath() : folder;
    QTemporaryFile temp(QDir(dir).absoluteFilePath(prefix + QStringLiteral("XXXXXX")));
    temp.setAutoRemove(false);
    if (!temp.open())
        throw TzelFileError(zelFormat(zelResources().Get(QStringLiteral("ioCantCreateTemp")),
                                      {QDir::toNativeSeparators(dir), temp.errorString()}));
    return temp.fileName();
}
