#pragma once
/// \file

#include <QStringList>

/// The pages a page list names, in the order written, each as its number's
/// text: "1,3-5" gives 1, 3, 4, 5; "7-" runs to PageCount; duplicates stay.
/// Characters other than digits, commas and minus signs are dropped; a list
/// that is empty then means every page (an empty result).
QStringList zelParsePageNumbers(const QString &text, int pageCount);
/// Whether Text names pages (holds a number), none of which a report of
/// PageCount pages has: such a list means no page, not every page.
bool zelNamesNoPage(const QString &text, int pageCount);
