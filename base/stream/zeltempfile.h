#pragma once
/// \file

#include <QString>

/// Creates a new, empty file with a unique name that starts with Prefix in
/// Folder (the system's temporary folder when empty) and returns its full
/// name. The caller deletes it. Raises TzelFileError naming the folder when
/// the file cannot be created.
QString zelCreateTempFile(const QString &folder, const QString &prefix);
