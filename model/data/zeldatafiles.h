#pragma once
/// \file

#include <QString>

class TzelComponent;

/// Where the data file FileName of Component lies: an absolute name as it
/// is; a relative one beside the template of the component's report when the
/// report has a file name, otherwise in the current folder. Data files stay
/// beside their template when both are moved. A name holding a NUL character
/// raises TzelFileError.
QString zelDataFilePath(const TzelComponent *component, const QString &fileName);
