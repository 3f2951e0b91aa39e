#include "model/io/zeliotransportfiledialog.h"

#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "model/io/zeliopath.h"
#include "model/io/zeliotransportscollection.h"
#include "model/report/zelreport.h"

#include <exception>
#include <memory>
#include <vector>

namespace {

// The file-type list a dialog opened from State shows.
TzelFilterVisibleState fileFilterState(TzelFilterVisibleState state)
{
    switch (state) {
    case fvDesigner:
        return fvDesignerFileFilter;
    case fvPreview:
        return fvPreviewFileFilter;
    case fvExport:
        return fvExportFileFilter;
    default:
        return fvOther;
    }
}

std::unique_ptr<TzelCustomIOTransport> newDialogTransport()
{
    return TzelCustomIOTransport::CreateNoRegister<TzelIOTransportFileDialog>();
}

} // namespace

TzelIOTransportFileDialog::TzelIOTransportFileDialog(Registration registration)
    : TzelIOTransportFile(registration)
{
}

TzelIOTransportFileDialog::~TzelIOTransportFileDialog() = default;

TzelFilterVisibility TzelIOTransportFileDialog::GetVisibility() const
{
    return TzelCustomIOTransport::GetVisibility();
}

bool TzelIOTransportFileDialog::OpenFilter()
{
    if (FDelegate)
        std::unique_ptr<TzelCustomIOTransport>(std::move(FDelegate))->CloseFilter();

    TzelDialogService::FileRequest request;
    request.Save = FilterAccess() == faWrite;
    request.OverwritePrompt = request.Save && OverwritePrompt();
    request.DefaultExt = DefaultExt();

    if (FileName().isEmpty() && Report()) {
        const QString reportName = Report()->FileName();
        if (!reportName.isEmpty())
            SetFileName(zelIOChangeExt(zelIONamePart(reportName), DefaultExt()));
    }
    request.FileName = zelIOBaseName(FileName());

    std::vector<std::unique_ptr<TzelCustomIOTransport>> clones;
    for (const auto &entry : zelIOTransports().List(fileFilterState(CreatedFrom())))
        clones.push_back(entry.second->CreateFilterClone(CreatedFrom()));
    QString filter = GetFilterString();
    for (const auto &clone : clones) {
        const QString more = clone->GetFilterString();
        filter = filter.isEmpty() ? more : filter + u'|' + more;
    }
    request.Filter = filter;

    const QString folder = zelIOFolderPart(FileName());
    request.InitialDir = zelIOFilePath(folder.isEmpty() ? DefaultPath() : folder);

    const TzelDialogService::FileResult result = TzelDialogService::Instance().FileDialog(request);
    if (!result.Accepted)
        return false;

    SetFileName(result.FileName);
    SetBasePath(zelIOFolderPart(result.FileName));
    // Type 1 is our own; the clones follow in listing order.
    const qsizetype chosen = qsizetype(result.FilterIndex) - 2;
    if (chosen < 0 || chosen >= qsizetype(clones.size()))
        return true;

    FDelegate = std::move(clones[size_t(chosen)]);
    FDelegate->SetFilterAccess(FilterAccess());
    FDelegate->SetReport(Report());
    if (!FDelegate->DefaultExt().isEmpty())
        SetFileName(zelIOChangeExt(FileName(), FDelegate->DefaultExt()));
    FDelegate->SetBasePath(BasePath());
    FDelegate->SetFileName(FileName());
    return FDelegate->OpenFilter();
}

void TzelIOTransportFileDialog::CloseFilter()
{
    // Both close whatever either raises; the delegate goes in any case.
    std::exception_ptr failure;
    try {
        TzelIOTransportFile::CloseFilter();
    } catch (...) {
        failure = std::current_exception();
    }
    if (FDelegate)
        std::unique_ptr<TzelCustomIOTransport>(std::move(FDelegate))->CloseFilter();
    if (failure)
        std::rethrow_exception(failure);
}

QIODevice *TzelIOTransportFileDialog::GetStream(const QString &fileName)
{
    return FDelegate ? FDelegate->GetStream(fileName) : TzelIOTransportFile::GetStream(fileName);
}

void TzelIOTransportFileDialog::FreeStream(QIODevice *stream, const QString &fileName)
{
    if (FDelegate)
        FDelegate->FreeStream(stream, fileName);
    else
        TzelIOTransportFile::FreeStream(stream, fileName);
}

bool TzelIOTransportFileDialog::DoFilterProcessStream(QIODevice *stream, void *processingObject)
{
    return FDelegate ? FDelegate->DoFilterProcessStream(stream, processingObject)
                     : TzelIOTransportFile::DoFilterProcessStream(stream, processingObject);
}

QString TzelIOTransportFileDialog::GetDescription() const
{
    return zelResources().Get(163);
}

std::unique_ptr<TzelCustomIOTransport> TzelIOTransportFileDialog::NewInstance() const
{
    return newDialogTransport();
}

void zelRegisterDefaultTransports()
{
    // Made after the list on first call, so it is freed before the list at exit.
    static const std::unique_ptr<TzelIOTransportFileDialog> instance = [] {
        TzelIOTransportsCollection &list = zelIOTransports();
        list.SetDefaultDialogTransport(&newDialogTransport);
        auto transport = TzelCustomIOTransport::CreateNoRegister<TzelIOTransportFileDialog>();
        list.Register(transport.get());
        return transport;
    }();
}
