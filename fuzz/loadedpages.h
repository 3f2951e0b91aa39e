#pragma once

// Prepared pages loaded from bytes and used the way a preview uses them:
// what the prepared-report fuzzer does with each input, and what its
// regression test replays.
#include "model/report/zelreport.h"
#include "model/report/zelcustomoutline.h"
#include "prepared/zelpreviewpages.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <algorithm>
#include <utility>

namespace zelfuzz {

class LoadedPages
{
public:
    /// Pages rebuilt per walk: enough to reach evictions, few enough to keep
    /// an execution fast whatever the page count.
    static constexpr int MaxPages = 12;
    /// Outline entries visited per walk, whatever the nesting.
    static constexpr int MaxOutlineItems = 64;

    /// Loads Data. With partial loading the bytes stay open for pages read on
    /// demand, and a two-page cache with file caching on makes rebuilding
    /// evict pages, dropping them or swapping them out, and read them again.
    LoadedPages(QByteArray data, bool partial) : FData(std::move(data))
    {
        FReport.EngineOptions().NewSilentMode = simSilent;
        if (partial) {
            FReport.EngineOptions().UseFileCache = true;
            FReport.PreviewOptions().PagesInCache = 2;
        }
        FBuffer.setBuffer(&FData);
        FBuffer.open(QIODevice::ReadOnly);
        FPages.LoadFromStream(&FBuffer, partial);
    }
    LoadedPages(const LoadedPages &) = delete;
    LoadedPages &operator=(const LoadedPages &) = delete;

    /// Rebuilds the first pages twice (the second round meets the pages the
    /// first one evicted), reads their sizes, logical numbers, lowest band and
    /// last column, and walks the outline, reading the size of every page it
    /// names and looking its text up as an anchor.
    void Walk()
    {
        const int count = std::min(FPages.Count(), MaxPages);
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < count; ++i) {
                FPages.GetPage(i);
                FPages.GetPageSize(i);
                FPages.SetCurPage(i);
                FPages.GetLogicalPageNo();
                FPages.GetLogicalTotalPages();
                FPages.GetLastY();
                int column = 0;
                double position = 0;
                FPages.GetLastColumnPos(column, position);
            }
        }
        FPages.SetCurPage(FPages.Count() - 1);
        int budget = MaxOutlineItems;
        FPages.Outline().LevelRoot();
        walkOutline(budget);
        FPages.Outline().LevelRoot();
    }

    /// The pages saved as a prepared report.
    QByteArray Save()
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        FPages.SaveToStream(&out);
        return out.data();
    }

    TzelReport &Report() { return FReport; }
    TzelPreviewPages &Pages() { return FPages; }

private:
    void walkOutline(int &budget)
    {
        TzelCustomOutline &outline = FPages.Outline();
        for (int i = 0; i < outline.Count() && budget > 0; ++i) {
            --budget;
            QString text;
            int page = 0;
            int top = 0;
            outline.GetItem(i, text, page, top);
            FPages.GetPageSize(page);
            FPages.GetAnchorPage(text);
            outline.LevelDown(i);
            walkOutline(budget);
            outline.LevelUp();
        }
    }

    // Declared in this order so that the pages go first and the bytes they
    // read from last.
    QByteArray FData;
    QBuffer FBuffer;
    TzelReport FReport;
    TzelPreviewPages FPages{&FReport};
};

} // namespace zelfuzz
