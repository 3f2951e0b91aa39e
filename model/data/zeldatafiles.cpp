#include "model/data/zeldatafiles.h"

#include "model/report/zelreport.h"

#include <QDir>
#include <QFileInfo>

QString zelDataFilePath(const TzelComponent *component, const QString &fileName)
{
    const QString name = QString(fileName).replace(u'\\', u'/');
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    const TzelReport *report = component ? component->Report() : nullptr;
    if (report && !report->FileName().isEmpty())
        return QFileInfo(report->FileName()).absoluteDir().filePath(name);
    return QDir::current().filePath(name);
}
