#include "model/report/zelcustomcompressor.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/stream/zeltempfile.h"
#include "model/io/zelsavetocompressedfilter.h"
#include "model/report/zelreport.h"

#include <QFile>

TzelCustomCompressor::TzelCustomCompressor(TzelCustomIOTransport::Registration filterRegistration)
    : FFilter(std::make_unique<TzelSaveToCompressedFilter>(filterRegistration))
{
}

TzelCustomCompressor::~TzelCustomCompressor()
{
    FFilter.reset();
    FreeStream();
}

void TzelCustomCompressor::CreateStream()
{
    FreeStream();
    // A prepared report may be large; a report that keeps its pages in files
    // keeps its uncompressed copy in one too.
    if (FIsZT3File || !Report || !Report->EngineOptions().UseFileCache) {
        CreateMemoryStream();
        return;
    }
    FTempFile = zelCreateTempFile(Report->EngineOptions().TempDir, QStringLiteral("qz"));
    auto file = std::make_unique<QFile>(FTempFile);
    if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
        throw TzelFileError(zelFormat(zelResources().Get(QStringLiteral("ioCantCreate")),
                                      {FTempFile, file->errorString()}));
    SetStream(std::move(file));
}

void TzelCustomCompressor::FreeStream()
{
    SetStream(nullptr);
    if (!FTempFile.isEmpty()) {
        QFile::remove(FTempFile);
        FTempFile.clear();
    }
}

void TzelCustomCompressor::SetIsZT3File(bool value)
{
    FIsZT3File = value;
    FFilter->SetIsZT3File(value);
}
