#pragma once
/// \file

#include "model/page/zelpagetypes.h"

#include <functional>

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
