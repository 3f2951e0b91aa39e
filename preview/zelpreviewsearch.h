#pragma once
/// \file

#include "preview/zelpagetextruns.h"

class TzelCustomPreviewPages;

/// A place where the searched text occurs.
struct TzelSearchHit
{
    int PageIndex = -1; ///< 0-based page
    int Record = -1;    ///< the text run's number on its page
    QRectF Rect;        ///< the run's rectangle in report units
    QString Context;    ///< up to 10 characters either side of the match
};

/// Text search over prepared pages, run by run in drawing order. A search
/// continues after the last run found, so repeating it walks every
/// occurrence; a page's runs are recorded once while it is searched.
class TzelPreviewSearch
{
public:
    /// Starts a search for Text from page index FromPage.
    void Start(const QString &text, bool caseSensitive, int fromPage);
    /// Finds the next run holding the text after the last one found; False
    /// (and nothing found) when the last page is passed.
    bool FindNext(TzelCustomPreviewPages &pages);
    /// Every run holding the text, from the first page.
    QList<TzelSearchHit> FindAll(TzelCustomPreviewPages &pages);
    /// Forgets the recorded page (the pages or their drawing changed).
    void Invalidate() { FRunsPage = -1; }
    /// Forgets what was found.
    void ClearFound() { FFound = false; }

    /// The text searched.
    const QString &Text() const { return FText; }
    /// Whether case counts.
    bool CaseSensitive() const { return FCaseSensitive; }
    /// Whether the last search found something.
    bool Found() const { return FFound; }
    /// What it found.
    const TzelSearchHit &Hit() const { return FHit; }

private:
    const QList<TzelPageTextRun> &Runs(TzelCustomPreviewPages &pages, int index);
    int Match(const QString &run) const;

    QString FText;
    bool FCaseSensitive = false;
    int FPage = 0;
    int FLastRecord = -1;
    bool FFound = false;
    TzelSearchHit FHit;
    int FRunsPage = -1;
    QList<TzelPageTextRun> FRuns;
};
