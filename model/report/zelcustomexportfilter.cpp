#include "model/report/zelcustomexportfilter.h"

#include "model/io/zeliotransportfile.h"
#include "model/report/zelreport.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryFile>

namespace {

QList<TzelCustomExportFilter *> &registered()
{
    static QList<TzelCustomExportFilter *> filters;
    return filters;
}

QMutex &registryLock()
{
    static QMutex lock;
    return lock;
}

} // namespace

TzelCustomExportFilter::TzelCustomExportFilter(Registration registration) : FRegistered(registration == Register)
{
    if (FRegistered) {
        const QMutexLocker locker(&registryLock());
        registered().append(this);
    }
}

TzelCustomExportFilter::~TzelCustomExportFilter()
{
    if (FRegistered) {
        const QMutexLocker locker(&registryLock());
        registered().removeOne(this);
    }
}

const QList<TzelCustomExportFilter *> &TzelCustomExportFilter::Filters()
{
    return registered();
}

TzelCustomExportFilter *TzelCustomExportFilter::ForExtension(const QString &ext)
{
    const QString wanted = ext.startsWith(QLatin1Char('.')) ? ext : QLatin1Char('.') + ext;
    const QMutexLocker locker(&registryLock());
    for (TzelCustomExportFilter *filter : std::as_const(registered()))
        if (filter->DefaultExt.compare(wanted, Qt::CaseInsensitive) == 0)
            return filter;
    return nullptr;
}

std::unique_ptr<TzelCustomIOTransport> TzelCustomExportFilter::CreateDefaultIOTransport()
{
    // A save dialog belongs to the layers with windows, which give their
    // filters their own transport; here output goes to the named file.
    return std::make_unique<TzelIOTransportFile>(TzelCustomIOTransport::NoRegister);
}

TzelCustomIOTransport *TzelCustomExportFilter::GetDefaultIOTransport()
{
    if (!FDefaultIOTransport)
        FDefaultIOTransport = CreateDefaultIOTransport();
    return FDefaultIOTransport.get();
}

void TzelCustomExportFilter::ResetDefaultIOTransport()
{
    if (IOTransport == FDefaultIOTransport.get())
        IOTransport = nullptr;
    FDefaultIOTransport.reset();
}

QString TzelCustomExportFilter::FilterString() const
{
    return FilterDesc + QStringLiteral("|*") + DefaultExt;
}

void TzelCustomExportFilter::ResolveFileName()
{
    if (SlaveExport && FileName.isEmpty()) {
        const QString reportFile = Report ? QFileInfo(Report->FileName()).completeBaseName() : QString();
        if (!reportFile.isEmpty()) {
            FileName = QDir(QDir::tempPath()).filePath(reportFile + DefaultExt);
        } else {
            QTemporaryFile temp(QDir(QDir::tempPath()).filePath(QStringLiteral("zelXXXXXX") + DefaultExt));
            temp.setAutoRemove(false);
            if (temp.open())
                FileName = temp.fileName();
        }
    }
    if (!FileName.isEmpty() && QFileInfo(FileName).path() == QLatin1String(".") &&
        !FileName.startsWith(QLatin1String("./")) && !DefaultPath.isEmpty())
        FileName = QDir(DefaultPath).filePath(FileName);
}

bool TzelCustomExportFilter::DoStart()
{
    ResolveFileName();
    return Start();
}
