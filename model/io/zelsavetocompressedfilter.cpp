#include "model/io/zelsavetocompressedfilter.h"

#include "base/resources/zelresources.h"
#include "model/report/zelreport.h"

TzelSaveToCompressedFilter::TzelSaveToCompressedFilter(Registration registration)
    : TzelIOTransportFile(registration)
{
    SetFilterString(TzelSaveToCompressedFilter::GetDescription());
    SetVisibility({fvDesignerFileFilter, fvPreviewFileFilter});
    SetDefaultExt(QStringLiteral(".zp3"));
}

TzelSaveToCompressedFilter::~TzelSaveToCompressedFilter() = default;

TzelFilterVisibility TzelSaveToCompressedFilter::GetVisibility() const
{
    return TzelCustomIOTransport::GetVisibility();
}

QString TzelSaveToCompressedFilter::GetFilterString()
{
    const QString filter = zelRes(CreatedFrom() == fvPreview ? "clComprPreparedRepFilter" : "dsComprRepFilter");
    SetFilterString(filter);
    // "Description|*.ext": the extension starts two characters after the bar.
    if (const qsizetype bar = filter.indexOf(u'|'); bar >= 0)
        SetDefaultExt(filter.mid(bar + 2));
    return TzelIOTransportFile::GetFilterString();
}

bool TzelSaveToCompressedFilter::OpenFilter()
{
    if (Report())
        Report()->ReportOptions().Compressed = true;
    return true;
}

QString TzelSaveToCompressedFilter::GetDescription() const
{
    return zelRes("dsComprRepFilter");
}

std::unique_ptr<TzelCustomIOTransport> TzelSaveToCompressedFilter::NewInstance() const
{
    return CreateNoRegister<TzelSaveToCompressedFilter>();
}

void TzelSaveToCompressedFilter::SetIsZT3File(bool value)
{
    FIsZT3File = value;
    SetFilterString(zelRes(value ? "dsComprRepFilter" : "clComprPreparedRepFilter"));
}
