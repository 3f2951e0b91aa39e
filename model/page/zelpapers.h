#pragma once
/// \file

#include <QString>
#include <span>

/// A standard paper: its paper code (the number templates store in PaperSize)
/// and its size in tenths of a millimetre, portrait.
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
