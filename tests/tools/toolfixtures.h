#pragma once

// Files the command-line tests give the tool: templates and prepared reports
// made through the library.
#include "model/band/zelmasterdata.h"
#include "model/data/zelcsvdataset.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/view/zelmemoview.h"
#include "model/report/zelcustomoutline.h"
#include "prepared/zelpreviewpages.h"

#include <QTemporaryDir>

/// A page "Page1" of Report holding the band "MasterData1", which it returns.
inline TzelMasterData *addPageWithBand(TzelReport &report)
{
    zelRegisterModelClasses();
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *band = new TzelMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    return band;
}

/// A template of Memos text objects ("Memo1" ...) on one band, written to Path.
inline void writeTemplate(const QString &path, int memos)
{
    TzelReport report;
    TzelMasterData *band = addPageWithBand(report);
    for (int i = 1; i <= memos; ++i) {
        auto *memo = new TzelMemoView(band);
        memo->SetName(QStringLiteral("Memo%1").arg(i));
        memo->SetTop(i);
        memo->SetText(QStringLiteral("Line %1 of a long report, with some words to make it longer").arg(i));
    }
    report.SaveToFile(path);
}

/// A template whose CSV data set "Rows" reads DataFile, written to Path.
inline void writeCsvTemplate(const QString &path, const QString &dataFile)
{
    zelRegisterModelClasses();
    TzelReport report;
    auto *csv = new TzelCSVDataSet(&report);
    csv->SetName(QStringLiteral("Rows"));
    csv->FileName = dataFile;
    report.SaveToFile(path);
}

/// A prepared report of two A4 pages with an outline of two levels, written
/// to "in.zp3" in Dir; returns its path.
inline QString writePrepared(const QTemporaryDir &dir)
{
    TzelReport report;
    TzelMasterData *band = addPageWithBand(report);
    auto *page = dynamic_cast<TzelReportPage *>(band->Parent());
    auto *memo = new TzelMemoView(band);
    memo->SetName(QStringLiteral("Memo1"));
    TzelPreviewPages pages(&report);
    pages.Initialize();
    pages.AddSourcePage(page);
    pages.BeginPass();
    for (int p = 0; p < 2; ++p) {
        pages.AddPage(page);
        pages.Outline().AddItem(QStringLiteral("Customer %1").arg(p + 1), 0);
        pages.Outline().AddItem(QStringLiteral("Orders"), 40);
        pages.Outline().LevelRoot();
        memo->SetText(QStringLiteral("Row %1").arg(p));
        pages.AddObject(band);
    }
    pages.Finish();
    const QString path = dir.filePath(QStringLiteral("in.zp3"));
    pages.SaveToFile(path);
    return path;
}
