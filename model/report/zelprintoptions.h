#pragma once
/// \file

#include "model/reflect/zelpersistent.h"
#include "model/page/zelreporttypes.h"

#include <QString>

/// Options of printing.
class TzelPrintOptions : public TzelPersistent
{
    ZEL_CLASS(TzelPrintOptions, TzelPersistent)

    TzelPrintOptions();

    int Copies = 1;                 ///< number of copies
    bool Collate = true;            ///< copies are collated
    QString PageNumbers;            ///< page ranges such as "1,3-5"; empty = all
    QString Printer;                ///< printer name; the resource "prDefault" = the default
    TzelPrintMode PrintMode = pmDefault; ///< how pages are laid on sheets
    int PrintOnSheet = 0;           ///< paper code of the sheet for split/join/scale
    TzelPrintPages PrintPages = ppAll; ///< all, odd or even pages
    bool Reverse = false;           ///< print the last page first
    bool ShowDialog = true;         ///< show the print dialog first
    bool SwapPageSize = false;      ///< swap width and height of the sheet (never stored)
    int SplicingLine = 3;           ///< overlap of split pieces
    TzelDuplexMode Duplex = dmNone; ///< duplex mode
    QString PrnOutFileName;         ///< print to this file instead of the printer

    /// Resets every option to its default.
    void Clear();

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelPrintOptions> &p);
};
