#pragma once
/// \file

#include "model/io/zeliotransportfile.h"

/// The file transport offered in the designer's and the preview's file
/// dialogs for compressed files. It writes a plain file of its own; choosing
/// it marks the report Compressed, and the report's saving path compresses
/// through the registered compressor.
class TzelSaveToCompressedFilter : public TzelIOTransportFile
{
public:
    /// Creates the transport; it enters the process-wide list unless made with NoRegister.
    explicit TzelSaveToCompressedFilter(Registration registration = Register);
    ~TzelSaveToCompressedFilter() override;

    /// The visibility as set (default the designer's and preview's file dialogs).
    TzelFilterVisibility GetVisibility() const override;
    /// The compressed prepared-report type when created from the preview,
    /// else the compressed template type; DefaultExt follows it.
    QString GetFilterString() override;
    /// Marks the report Compressed; always True.
    bool OpenFilter() override;
    /// The text of "dsComprRepFilter".
    QString GetDescription() const override;
    /// A new unregistered compressed-save transport.
    std::unique_ptr<TzelCustomIOTransport> NewInstance() const override;

    /// Whether the file type is a template (True) or a prepared report.
    bool IsZT3File() const { return FIsZT3File; }
    /// Sets IsZT3File and the matching FilterString.
    void SetIsZT3File(bool value);

private:
    bool FIsZT3File = false;
};
