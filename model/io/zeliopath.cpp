#include "model/io/zeliopath.h"

#include <algorithm>

namespace {

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

} // namespace

QString zelIONodePath(const QString &path)
{
    QString result = path;
    return result.replace(u'/', u'\\');
}

QString zelIOFilePath(const QString &path)
{
    QString result = path;
    return result.replace(u'\\', u'/');
}

QString zelIOFolderPart(const QString &path)
{
    return path.left(lastSeparator(path) + 1);
}

QString zelIONamePart(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString zelIOBaseName(const QString &path)
{
    const QString name = zelIONamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString zelIOChangeExt(const QString &path, const QString &ext)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString stem = dot > lastSeparator(path) ? path.left(dot) : path;
    if (ext.isEmpty() || ext.startsWith(u'.'))
        return stem + ext;
    return stem + u'.' + ext;
}

bool zelIOHasBasePath(const QString &path, const QString &basePath)
{
    if (basePath.isEmpty())
        return false;
    const QString p = zelIONodePath(path);
    const QString base = zelIONodePath(basePath);
    if (!p.startsWith(base))
        return false;
    // "C:\out" must not claim "C:\outer\a.txt".
    return base.endsWith(u'\\') || p.size() == base.size() || isSeparator(p.at(base.size()));
}
