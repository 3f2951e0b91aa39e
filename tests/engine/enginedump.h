#pragma once

#include <QString>

class TzelCustomPreviewPages;

/// A short form for layout checks: one line per page, each top-level band
/// as "Name@Top" (and "+Left" when not at the left edge), tops rounded.
QString bandOrder(TzelCustomPreviewPages &pages);

/// The texts of the memos on the pages, one per line as "Name: text", with
/// a line "--" between pages.
QString memoTexts(TzelCustomPreviewPages &pages);
