#pragma once

#include "model/page/zelpagetypes.h"

#include <QString>
#include <functional>
#include <span>

// A standard paper: the platform's paper code and its size in tenths of a
// millimetre, portrait.
struct TzelPaperInfo
{
    int Code;        ///< paper code; 256 stands for a custom size
    QStringView Name; ///< display name (empty: printers give their own)
    int Width;       ///< width, tenths of a millimetre
    int Height;      ///< height, tenths of a millimetre
};

/// The paper code of a custom size.
constexpr int zelCustomPaperSize = 256;

/// Every standard paper, in code order.
std::span<const TzelPaperInfo> zelPapers();
/// The standard paper with Code, or nullptr when the table has none.
const TzelPaperInfo *zelFindPaper(int code);

/// The paper a new page takes from the current printer.
struct TzelDefaultPaper
{
    int Size = 9;                                  ///< paper code
    double Width = 210;                            ///< millimetres
    double Height = 297;                           ///< millimetres
    TzelPrinterOrientation Orientation = poPortrait; ///< orientation
};

/// The current printer's default paper; A4 portrait until a printer layer
/// installs a provider.
TzelDefaultPaper zelDefaultPaper();
/// Installs the function that answers zelDefaultPaper (none: A4 portrait).
void zelSetDefaultPaperProvider(std::function<TzelDefaultPaper()> provider);
