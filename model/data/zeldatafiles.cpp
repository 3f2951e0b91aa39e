#include "model/data/zeldatafiles.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/component/zelcomponent.h"
#include "model/component/zelreportcontext.h"

#include <QDir>
#include <QFileInfo>

QString zelDataFilePath(const TzelComponent *component, const QString &fileName)
{
    // The file system would take the name only up to the NUL: another file.
    if (fileName.contains(QChar(0)))
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, zelRes("ioNulInName")}));
    const QString name = QString(fileName).replace(u'\\', u'/');
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    const TzelReportContext *report = component ? component->Context() : nullptr;
    if (report && !report->FileName().isEmpty())
        return QFileInfo(report->FileName()).absoluteDir().filePath(name);
    return QDir::current().filePath(name);
}
