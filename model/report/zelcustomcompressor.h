#pragma once
/// \file

#include "model/io/zelcustomiotransport.h"
#include "model/report/zelstreamplugin.h"

#include <QString>
#include <memory>

class TzelReport;
class TzelSaveToCompressedFilter;

/// The hook through which a compressor plug-in takes part in saving and
/// loading. No compressor is part of the library: with none registered,
/// files are plain XML.
class TzelCustomCompressor : public TzelStreamPlugin<TzelCustomCompressor>
{
public:
    /// Creates the hook with its compressed-save transport. A compressor the
    /// host keeps passes Register so that the file dialogs offer the
    /// transport; the instances made for one save or load keep the default.
    explicit TzelCustomCompressor(
        TzelCustomIOTransport::Registration filterRegistration = TzelCustomIOTransport::NoRegister);
    /// Frees the transport and Stream(), and deletes the temporary file behind it.
    ~TzelCustomCompressor() override;
    TzelCustomCompressor(const TzelCustomCompressor &) = delete;
    TzelCustomCompressor &operator=(const TzelCustomCompressor &) = delete;

    /// Reads Source; True when it was compressed and Stream() now holds the
    /// plain data at position 0, False when Source is plain and left as it stood.
    virtual bool Decompress(QIODevice *source) = 0;
    /// Compresses the whole of Stream() into Dest.
    virtual void Compress(QIODevice *dest) = 0;

    /// Makes Stream(): in memory for a template, or when the report does not
    /// use the file cache; otherwise a new temporary "qz" file in the
    /// report's TempDir. A file that cannot be made raises TzelFileError.
    void CreateStream();
    /// The compressed-save transport this compressor brings along.
    TzelSaveToCompressedFilter *Filter() const { return FFilter.get(); }

    /// The report being saved or loaded.
    TzelReport *Report = nullptr;
    /// True for a template, False for a prepared report.
    bool IsZT3File() const { return FIsZT3File; }
    /// Sets IsZT3File and passes it on to the transport.
    void SetIsZT3File(bool value);

private:
    void FreeStream();

    std::unique_ptr<TzelSaveToCompressedFilter> FFilter;
    QString FTempFile;
    bool FIsZT3File = false;
};
