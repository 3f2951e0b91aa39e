#pragma once
/// \file

#include <QString>

class TzelCustomPreviewPages;
class TzelReportPage;

// Prepared pages as plain text, one line per page and per object, for
// comparing builds in tests and for "zelreport text":
//
//   page 1 210.00x297.00
//     TzelReportTitle ReportTitle1 0.00 0.00 190.00 17.00
//       TzelMemoView Memo1 0.00 2.00 158.75 8.00 "Quarterly sales"
//
// Sizes are millimetres with two decimals; objects are indented two spaces
// per level, placed absolutely from the corner of the printable area; text
// objects add their text quoted, with \, ", line breaks and tabs escaped.

/// The lines of one prepared Page, numbered Number.
QString zelPageText(const TzelReportPage &page, int number);
/// The lines of every page of Pages, in order.
QString zelPagesText(TzelCustomPreviewPages &pages);
