#pragma once
/// \file

/// What a long report action is doing when it reports progress.
enum TzelProgressType {
    ptRunning,   ///< building the report
    ptExporting, ///< exporting prepared pages
    ptPrinting   ///< printing prepared pages
};

/// One progress report: the action, the page it reached and, while building,
/// the rows printed so far.
struct TzelProgress
{
    TzelProgressType Type = ptRunning; ///< the action
    int Page = 0;                      ///< pages done (1-based page being made)
    int Row = 0;                       ///< rows printed so far
};
