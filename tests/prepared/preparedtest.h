#pragma once

// The fixture of the prepared-page tests: a small template (page header,
// master data with text, picture, line and shape, page footer) printed into
// prepared pages the way the engine does it, with a record of what each
// printed band looked like.
#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/modeltest.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/view/zellineview.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelshapeview.h"
#include "model/view_testsupport.h"
#include "model/report/zelpagesengine.h"
#include "prepared/zelpreviewpages.h"

#include <QBuffer>

/// An engine that only answers what the pages ask.
struct FakeEngine : TzelPagesEngine
{
    bool running = false;
    bool doublePass = false;
    bool finalPass = true;
    double curY = 0;
    int totalPages = 0;
    bool Running() const override { return running; }
    bool DoublePass() const override { return doublePass; }
    bool FinalPass() const override { return finalPass; }
    double CurY() const override { return curY; }
    int TotalPages() const override { return totalPages; }
};

class PreparedTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        page = new TzelReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        header = new TzelPageHeader(page);
        header->SetName(QStringLiteral("PageHeader1"));
        header->SetBounds(0, 0, page->PaperWidth() * qz01cm, 40);
        title = new TzelMemoView(header);
        title->SetName(QStringLiteral("Title"));
        title->SetBounds(10, 5, 300, 30);
        title->SetText(QStringLiteral("Orders"));

        master = new TzelMasterData(page);
        master->SetName(QStringLiteral("MasterData1"));
        master->SetBounds(0, 60, page->PaperWidth() * qz01cm, 24);
        row = new TzelMemoView(master);
        row->SetName(QStringLiteral("Row"));
        row->SetBounds(0, 2, 400, 20);
        picture = new TzelPictureView(master);
        picture->SetName(QStringLiteral("Logo"));
        picture->SetBounds(420, 0, 24, 24);
        picture->Picture().LoadFromData(zelTestPng(4, 3));
        line = new TzelLineView(master);
        line->SetName(QStringLiteral("Rule"));
        line->SetBounds(0, 23, 700, 0);
        shape = new TzelShapeView(master);
        shape->SetName(QStringLiteral("Mark"));
        shape->SetBounds(460, 2, 20, 20);

        footer = new TzelPageFooter(page);
        footer->SetName(QStringLiteral("PageFooter1"));
        footer->SetBounds(0, 1000, page->PaperWidth() * qz01cm, 30);
        pageNo = new TzelMemoView(footer);
        pageNo->SetName(QStringLiteral("PageNo"));
        pageNo->SetBounds(600, 5, 100, 20);
    }

    /// The template text of Obj and its children: what a band looked like.
    static QByteArray snapshot(TzelComponent *obj)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        obj->SaveToStream(&out, true, false);
        return out.data();
    }

    /// Starts a build of the template into Pages, as the engine does.
    void start(TzelPreviewPages &pages)
    {
        pages.Initialize();
        pages.AddSourcePage(page);
        pages.BeginPass();
    }

    /// Prints Count pages of Rows rows each; the row text, the band's place
    /// and every fifth row's picture vary. Returns the printed bands per page.
    QList<QList<QByteArray>> build(TzelPreviewPages &pages, int count, int rows = 3)
    {
        QList<QList<QByteArray>> printed;
        start(pages);
        int n = 0;
        for (int p = 0; p < count; ++p) {
            QList<QByteArray> bands;
            pages.AddPage(page);
            pageNo->SetText(QStringLiteral("Page %1").arg(p + 1));
            pages.AddObject(header);
            bands << snapshot(header);
            for (int r = 0; r < rows; ++r, ++n) {
                master->SetTop(60 + r * 24);
                row->SetText(QStringLiteral("Row %1 of page %2\r\nsecond line").arg(r).arg(p + 1));
                if (n % 5 == 4)
                    picture->Picture().LoadFromData(zelTestPng(2 + n % 7, 3));
                pages.AddObject(master);
                bands << snapshot(master);
            }
            pages.AddObject(footer);
            bands << snapshot(footer);
            printed << bands;
        }
        master->SetTop(60);
        pages.Finish();
        return printed;
    }

    /// The bands of a rebuilt page as the template texts of build().
    static QList<QByteArray> bandsOf(TzelReportPage *rebuilt)
    {
        QList<QByteArray> bands;
        if (rebuilt)
            for (TzelComponent *band : rebuilt->Objects())
                bands << snapshot(band);
        return bands;
    }

    /// Expects every page of Pages to rebuild as Printed says.
    static void expectPages(TzelPreviewPages &pages, const QList<QList<QByteArray>> &printed)
    {
        ASSERT_EQ(pages.Count(), printed.size());
        for (int p = 0; p < pages.Count(); ++p)
            EXPECT_EQ(bandsOf(pages.GetPage(p)), printed[p]) << "page " << p;
    }

    TzelReport report;
    TzelReportPage *page = nullptr;
    TzelPageHeader *header = nullptr;
    TzelMemoView *title = nullptr;
    TzelMasterData *master = nullptr;
    TzelMemoView *row = nullptr;
    TzelPictureView *picture = nullptr;
    TzelLineView *line = nullptr;
    TzelShapeView *shape = nullptr;
    TzelPageFooter *footer = nullptr;
    TzelMemoView *pageNo = nullptr;
};
