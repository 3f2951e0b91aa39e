#pragma once

#include "model/report/zelstreamplugin.h"

class TzelReport;

// The hook through which a compressor plug-in takes part in saving and
// loading. No compressor is part of the library: with none registered,
// files are plain XML.
class TzelCustomCompressor : public TzelStreamPlugin<TzelCustomCompressor>
{
public:
    /// Reads Source; True when it was compressed and Stream() now holds the
    /// plain data at position 0, False when Source is plain and left as it stood.
    virtual bool Decompress(QIODevice *source) = 0;
    /// Compresses the whole of Stream() into Dest.
    virtual void Compress(QIODevice *dest) = 0;

    /// The report being saved or loaded.
    TzelReport *Report = nullptr;
    /// True for a template, False for a prepared report.
    bool IsZT3File = true;
};
