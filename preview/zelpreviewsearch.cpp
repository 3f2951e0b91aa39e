#include "preview/zelpreviewsearch.h"

#include "model/report/zelcustompreviewpages.h"

void TzelPreviewSearch::Start(const QString &text, bool caseSensitive, int fromPage)
{
    FText = text;
    FCaseSensitive = caseSensitive;
    FPage = std::max(0, fromPage);
    FLastRecord = -1;
    FFound = false;
}

int TzelPreviewSearch::Match(const QString &run) const
{
    return run.indexOf(FText, 0, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

const QList<TzelPageTextRun> &TzelPreviewSearch::Runs(TzelCustomPreviewPages &pages, int index)
{
    if (FRunsPage != index) {
        FRuns = zelPageTextRuns(pages, index);
        FRunsPage = index;
    }
    return FRuns;
}

bool TzelPreviewSearch::FindNext(TzelCustomPreviewPages &pages)
{
    FFound = false;
    if (FText.isEmpty())
        return false;
    for (; FPage < pages.Count(); ++FPage, FLastRecord = -1) {
        const QList<TzelPageTextRun> &runs = Runs(pages, FPage);
        for (int i = FLastRecord + 1; i < runs.size(); ++i)
            if (Match(runs[i].Text) >= 0) {
                FLastRecord = i;
                FFound = true;
                FHit = {FPage, i, runs[i].Rect, runs[i].Text};
                return true;
            }
    }
    return false;
}

QList<TzelSearchHit> TzelPreviewSearch::FindAll(TzelCustomPreviewPages &pages)
{
    QList<TzelSearchHit> hits;
    if (FText.isEmpty())
        return hits;
    for (int page = 0; page < pages.Count(); ++page) {
        const QList<TzelPageTextRun> &runs = Runs(pages, page);
        for (int i = 0; i < runs.size(); ++i)
            if (const int at = Match(runs[i].Text); at >= 0) {
                const int from = std::max(0, at - 10);
                const int to = std::min(int(runs[i].Text.size()), at + int(FText.size()) + 10);
                hits.append({page, i, runs[i].Rect, runs[i].Text.mid(from, to - from)});
            }
    }
    return hits;
}
