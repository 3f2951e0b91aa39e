#pragma once
/// \file

#include <QString>

// Path helpers shared by the transports. Node names use "\" between parts;
// the file system is reached with "/". Both separators are accepted on input.

/// Path with every "/" turned into "\", as node names are kept.
QString zelIONodePath(const QString &path);
/// Path with every "\" turned into "/", as the file system wants it.
QString zelIOFilePath(const QString &path);
/// Folder part with its trailing separator; empty when Path has none.
QString zelIOFolderPart(const QString &path);
/// Name after the last separator.
QString zelIONamePart(const QString &path);
/// Name part without its extension.
QString zelIOBaseName(const QString &path);
/// Path with its extension replaced by Ext (given with or without the dot;
/// empty removes the extension).
QString zelIOChangeExt(const QString &path, const QString &ext);
/// Whether Path lies below BasePath (a leading run of whole parts, case sensitive).
bool zelIOHasBasePath(const QString &path, const QString &basePath);
