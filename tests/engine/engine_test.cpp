#include "enginetemplate.h"

#include "model/band/zelchild.h"
#include "model/band/zelcolumnheader.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreportsummary.h"
#include "model/band/zelreporttitle.h"
#include "model/data/zeluserdataset.h"
#include "model/view/zelcustommemoview.h"
#include "prepared/zelpagestext.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>
#include <vector>

// Building templates without data, checked through the layout of the
// prepared pages.

TEST(EngineLayout, TitleHeadersSummaryAndFootersOnFirstMiddleAndLastPages)
{
    struct Case
    {
        const char *What = "";
        bool TitleBeforeHeader = true;
        bool FooterOnFirst = true;
        bool FooterOnLast = true;
        bool SummaryAtBottom = false;
        int Rows = 5;
        const char *Expected = "";
    };
    const Case cases[] = {
        {"title above header", true, true, true, false, 5,
         "ReportTitle1@0 PageHeader1@20 Data1@60 Data1@160 PageFooter1@338\n"
         "PageHeader1@0 Data1@40 Data1@140 PageFooter1@338\n"
         "PageHeader1@0 Data1@40 ReportSummary1@140 PageFooter1@338"},
        {"header above title", false, true, true, false, 1,
         "PageHeader1@0 ReportTitle1@40 Data1@60 ReportSummary1@160 PageFooter1@338"},
        {"footer not on first nor last page", true, false, false, false, 5,
         "ReportTitle1@0 PageHeader1@20 Data1@60 Data1@160\n"
         "PageHeader1@0 Data1@40 Data1@140 PageFooter1@338\n"
         "PageHeader1@0 Data1@40 ReportSummary1@140"},
        {"summary at the bottom", true, true, true, true, 1,
         "ReportTitle1@0 PageHeader1@20 Data1@60 ReportSummary1@318 PageFooter1@338"},
    };
    for (const Case &c : cases) {
        Template t;
        t.Page->TitleBeforeHeader = c.TitleBeforeHeader;
        t.Band<TzelReportTitle>("ReportTitle1", 20);
        t.Band<TzelPageHeader>("PageHeader1", 40);
        auto *footer = t.Band<TzelPageFooter>("PageFooter1", 40);
        footer->PrintOnFirstPage = c.FooterOnFirst;
        footer->PrintOnLastPage = c.FooterOnLast;
        t.Band<TzelReportSummary>("ReportSummary1", 20)->PrintAtBottom = c.SummaryAtBottom;
        t.ShowRows(t.Band<TzelMasterData>("Data1", 100), c.Rows);
        EXPECT_EQ(t.Build().toStdString(), c.Expected) << c.What;
    }
}

TEST(EngineLayout, PageHeaderAndFooterFirstPageRules)
{
    struct Case
    {
        const char *What = "";
        bool FooterOnSingle = false;
        bool HeaderChildIfInvisible = false;
        int Rows = 1;
        const char *Expected = "";
    };
    const Case cases[] = {
        {"single page, footer hidden", false, false, 1, "Data1@0"},
        {"single page, PrintOnSinglePage", true, false, 1, "Data1@0 PageFooter1@338"},
        {"two pages, footer from page 2", true, false, 4, "Data1@0 Data1@100 Data1@200\nPageHeader1@0 Data1@40 PageFooter1@338"},
        {"header hidden, its child shown", false, true, 1, "Child1@0 Data1@10"},
    };
    for (const Case &c : cases) {
        Template t;
        auto *header = t.Band<TzelPageHeader>("PageHeader1", 40);
        header->PrintOnFirstPage = false;
        header->PrintChildIfInvisible = c.HeaderChildIfInvisible;
        if (c.HeaderChildIfInvisible)
            header->SetChild(t.Band<TzelChild>("Child1", 10));
        auto *footer = t.Band<TzelPageFooter>("PageFooter1", 40);
        footer->PrintOnFirstPage = false;
        footer->PrintOnSinglePage = c.FooterOnSingle;
        t.ShowRows(t.Band<TzelMasterData>("Data1", 100), c.Rows);
        EXPECT_EQ(t.Build().toStdString(), c.Expected) << c.What;
    }
}

TEST(EngineLayout, ColumnsFillInOrderWithTheColumnHeaderReprinted)
{
    Template t;
    t.Page->SetColumns(2);
    t.Band<TzelColumnHeader>("ColumnHeader1", 30, 50 * qz01cm);
    t.ShowRows(t.Band<TzelMasterData>("Data1", 100, 50 * qz01cm), 7);
    EXPECT_EQ(t.Build().toStdString(),
              "ColumnHeader1@0 Data1@30 Data1@130 Data1@230 ColumnHeader1@0+189 Data1@30+189 Data1@130+189 "
              "Data1@230+189\n"
              "ColumnHeader1@0 Data1@30");
}

TEST(EngineLayout, KeepChildMovesTheBandWithItsChildToTheNextPage)
{
    for (const bool keep : {false, true}) {
        Template t;
        auto *filler = t.Band<TzelMasterData>("Data1", 200);
        auto *kept = t.Band<TzelMasterData>("Data2", 100);
        kept->KeepChild = keep;
        kept->SetChild(t.Band<TzelChild>("Child1", 100));
        t.Report.OnManualBuild = [&](TzelReportPage *) {
            t.Report.Engine()->ShowBand(filler);
            t.Report.Engine()->ShowBand(kept);
        };
        EXPECT_EQ(t.Build().toStdString(), keep ? "Data1@0\nData2@0 Child1@100" : "Data1@0 Data2@200\nChild1@0")
            << keep;
    }
}

TEST(EngineLayout, KeepBlockTallerThanAPageFlows)
{
    Template t;
    auto *filler = t.Band<TzelMasterData>("Data1", 100);
    auto *kept = t.Band<TzelMasterData>("Data2", 200);
    kept->KeepChild = true;
    kept->SetChild(t.Band<TzelChild>("Child1", 200));
    t.Report.OnManualBuild = [&](TzelReportPage *) {
        t.Report.Engine()->ShowBand(filler);
        t.Report.Engine()->ShowBand(kept);
    };
    EXPECT_EQ(t.Build().toStdString(), "Data1@0 Data2@100\nChild1@0");
}

TEST(EngineLayout, SplitBandContinuesOnTheNextPage)
{
    struct Case
    {
        const char *What = "";
        bool AllowSplit = false;
        double Height = 0;
        const char *Expected = "";
    };
    const Case cases[] = {
        {"split where it stands", true, 300, "PageHeader1@0 Data1@40 Data2@140\nPageHeader1@0 Data2@40"},
        {"no split: moved whole", false, 300, "PageHeader1@0 Data1@40\nPageHeader1@0 Data2@40"},
        {"taller than a page: split on a fresh page", false, 500,
         "PageHeader1@0 Data1@40\nPageHeader1@0 Data2@40\nPageHeader1@0 Data2@40"},
    };
    for (const Case &c : cases) {
        Template t;
        t.Band<TzelPageHeader>("PageHeader1", 40);
        auto *first = t.Band<TzelMasterData>("Data1", 100);
        auto *big = t.Band<TzelMasterData>("Data2", c.Height);
        big->AllowSplit = c.AllowSplit;
        addMemo(big, "Top", 0, 100);
        addMemo(big, "Bottom", c.Height - 100, 100);
        t.Report.OnManualBuild = [&](TzelReportPage *) {
            t.Report.Engine()->ShowBand(first);
            t.Report.Engine()->ShowBand(big);
        };
        EXPECT_EQ(t.Build().toStdString(), c.Expected) << c.What;
        // The template is left as designed.
        EXPECT_DOUBLE_EQ(big->Objects().last()->Top(), c.Height - 100) << c.What;
    }
}

TEST(EngineLayout, SplitMemoContinuesItsTextOnTheNextPage)
{
    QStringList shortLines;
    QStringList words;
    for (int i = 1; i <= 40; ++i)
        shortLines.append(QStringLiteral("Line %1").arg(i));
    for (int i = 1; i <= 150; ++i)
        words.append(QStringLiteral("word%1").arg(i));
    struct Case
    {
        const char *What = "";
        QString Text;
        bool CutInsideParagraph = false;
    };
    const Case cases[] = {
        {"short lines: cut between paragraphs", shortLines.join(QLatin1Char('\n')), false},
        {"one long paragraph: cut inside it", words.join(QLatin1Char(' ')), true},
    };
    for (const Case &c : cases) {
        Template t;
        t.Band<TzelPageHeader>("PageHeader1", 40);
        auto *first = t.Band<TzelMasterData>("Data1", 100);
        auto *big = t.Band<TzelMasterData>("Data2", 20);
        big->AllowSplit = true;
        big->Stretched = true;
        auto *memo = addMemo(big, "Long", 0, 20, c.Text);
        memo->StretchMode = smActualHeight;
        const QString designed = memo->Text();
        t.Report.OnManualBuild = [&](TzelReportPage *) {
            t.Report.Engine()->ShowBand(first);
            t.Report.Engine()->ShowBand(big);
        };
        t.Build();
        const QString dump = zelPagesText(*t.Report.PreviewPages());
        QStringList printed;
        std::vector<std::pair<bool, bool>> breaks; // first and last paragraph break of each part
        for (int i = 0; i < t.Report.PreviewPages()->Count(); ++i)
            for (const TzelComponent *b : t.Report.PreviewPages()->GetPage(i)->Objects())
                for (const TzelComponent *o : b->Objects())
                    if (const auto *part = dynamic_cast<const TzelCustomMemoView *>(o);
                        part && part->Name() == QLatin1StringView("Long")) {
                        EXPECT_LE(b->Top() + part->Top() + part->Height(), kPage + 1e-4) << c.What;
                        printed.append(part->Text());
                        breaks.emplace_back(part->FirstParaBreak, part->LastParaBreak);
                    }
        ASSERT_GT(printed.size(), 1) << c.What << "\n" << dump.toStdString();
        // Every word printed once, in order.
        const auto wordsOf = [](const QString &text) {
            return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        };
        EXPECT_EQ(wordsOf(printed.join(QLatin1Char(' '))), wordsOf(designed)) << c.What << "\n" << dump.toStdString();
        // Each part continues the paragraph the previous one broke off.
        EXPECT_FALSE(breaks.front().first) << c.What;
        EXPECT_FALSE(breaks.back().second) << c.What;
        for (size_t i = 1; i < breaks.size(); ++i) {
            EXPECT_EQ(breaks[i - 1].second, c.CutInsideParagraph) << c.What << " part " << i;
            EXPECT_EQ(breaks[i].first, c.CutInsideParagraph) << c.What << " part " << i;
        }
        // The template keeps its design.
        EXPECT_EQ(memo->Text(), designed) << c.What;
        EXPECT_DOUBLE_EQ(memo->Height(), 20) << c.What;
    }
}

TEST(EngineLayout, StretchedMemoShiftsTheObjectsBelowAndGrowsTheBand)
{
    Template t;
    auto *band = t.Band<TzelMasterData>("Data1", 40);
    band->Stretched = true;
    auto *memo = addMemo(band, "Memo1", 0, 20, QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix"));
    memo->StretchMode = smActualHeight;
    addMemo(band, "Memo2", 20, 20, QStringLiteral("below"));
    t.ShowRows(band, 1);
    t.Build();
    const QString dump = zelPagesText(*t.Report.PreviewPages());
    TzelReportPage *page = t.Report.PreviewPages()->GetPage(0);
    ASSERT_EQ(page->Objects().size(), 1) << dump.toStdString();
    const TzelComponent *printed = page->Objects().first();
    const TzelComponent *grown = printed->Objects().at(0);
    const TzelComponent *shifted = printed->Objects().at(1);
    EXPECT_GT(grown->Height(), 60) << dump.toStdString();
    EXPECT_NEAR(shifted->Top(), grown->Height(), 1e-4) << dump.toStdString();
    EXPECT_NEAR(printed->Height(), shifted->Top() + 20, 1e-4) << dump.toStdString();
    // The template keeps its design.
    EXPECT_DOUBLE_EQ(memo->Height(), 20);
    EXPECT_DOUBLE_EQ(band->Height(), 40);
}

TEST(EngineRun, TotalPagesIsKnownInTheFinalPassOnly)
{
    for (const bool doublePass : {false, true}) {
        Template t;
        t.Report.EngineOptions().DoublePass = doublePass;
        auto *band = t.Band<TzelMasterData>("Data1", 100);
        std::vector<std::pair<bool, int>> seen; // final pass, total pages
        t.Report.OnManualBuild = [&](TzelReportPage *) {
            TzelCustomEngine *engine = t.Report.Engine();
            seen.emplace_back(engine->FinalPass(), engine->TotalPages());
            for (int i = 0; i < 7; ++i)
                engine->ShowBand(band);
        };
        t.Build();
        EXPECT_EQ(t.Report.PreviewPages()->Count(), 3);
        const std::vector<std::pair<bool, int>> expected =
            doublePass ? std::vector<std::pair<bool, int>>{{false, 0}, {true, 3}}
                       : std::vector<std::pair<bool, int>>{{true, 0}};
        EXPECT_EQ(seen, expected) << doublePass;
    }
}

TEST(EngineRun, TerminatedKeepsThePagesBuiltSoFarAndReportsProgress)
{
    Template t;
    t.Band<TzelPageFooter>("PageFooter1", 40);
    auto *band = t.Band<TzelMasterData>("Data1", 100);
    std::vector<int> progressPages;
    int stops = 0;
    t.Report.OnProgress = [&](const TzelProgress &p) { progressPages.push_back(p.Page); };
    t.Report.OnProgressStop = [&](const TzelProgress &) { ++stops; };
    t.Report.OnManualBuild = [&](TzelReportPage *) {
        for (int i = 0; i < 100; ++i) {
            if (i == 4)
                t.Report.Engine()->StopReport();
            t.Report.Engine()->ShowBand(band);
        }
    };
    EXPECT_EQ(t.Build().toStdString(), "Data1@0 Data1@100 Data1@200 PageFooter1@338\nData1@0 PageFooter1@338");
    EXPECT_EQ(progressPages, (std::vector<int>{1, 2}));
    EXPECT_EQ(stops, 1);
}

TEST(EngineFaults, BadTemplatesEndWithAClearMessage)
{
    struct Case
    {
        const char *What = "";
        std::function<void(Template &)> Spoil;
        const char *Message = "";
    };
    const std::vector<Case> cases = {
        {"no report page", [](Template &t) { delete t.Page; }, "The report has no report page to build"},
        {"margins exceed the paper",
         [](Template &t) {
             t.Page->LeftMargin = 60;
             t.Page->RightMargin = 60;
         },
         "Page \"Page1\": the margins leave no printable area on the paper"},
        {"columns leave no width",
         [](Template &t) {
             t.Page->SetColumns(3);
             t.Page->ColumnWidth = 0;
         },
         "Page \"Page1\": 3 columns leave no width for a column"},
        {"header taller than the page",
         [](Template &t) { t.Band<TzelPageHeader>("PageHeader1", 500); },
         "Page \"Page1\": headers and footers leave no room for band \"PageHeader1\""},
        {"an object never fits below the header",
         [](Template &t) {
             t.Band<TzelPageHeader>("PageHeader1", 300);
             auto *big = t.Band<TzelMasterData>("Data1", 120);
             big->AllowSplit = true;
             addMemo(big, "Memo1", 0, 120);
             t.ShowRows(big, 1);
         },
         "Page \"Page1\": headers and footers leave no room for band \"Data1\""},
        {"one data set for the report and its page",
         [](Template &t) {
             auto *rows = new TzelUserDataSet(&t.Report);
             t.Report.SetDataSet(rows);
             t.Page->SetDataSet(rows);
         },
         "Cannot use the same dataset for Report.DataSet and Page.DataSet"},
        {"one data set for the page and its band",
         [](Template &t) {
             auto *rows = new TzelUserDataSet(&t.Report);
             t.Page->SetDataSet(rows);
             t.Band<TzelMasterData>("Data1", 20)->SetDataSet(rows);
         },
         "Cannot use the same dataset for Page.DataSet and Band.DataSet"},
    };
    for (const Case &c : cases) {
        Template t;
        c.Spoil(t);
        EXPECT_FALSE(t.Report.PrepareReport()) << c.What;
        EXPECT_TRUE(t.Report.Errors().Contains(QString::fromUtf8(c.Message)))
            << c.What << ": " << t.Report.Errors().Text().toStdString();
        EXPECT_FALSE(t.Report.Engine()->Running()) << c.What;
    }
}

TEST(EngineLayout, ObjectsOnThePageItselfPrintAlignedWhereThePageStarts)
{
    Template t;
    auto *stamp = new TzelMemoView(t.Page);
    stamp->SetName(QStringLiteral("Stamp"));
    stamp->SetBounds(0, 0, 100, 20);
    stamp->Align = baBottom;
    t.ShowRows(t.Band<TzelMasterData>("Data1", 100), 4);
    t.Build();
    const QString text = zelPagesText(*t.Report.PreviewPages());
    EXPECT_EQ(t.Report.PreviewPages()->Count(), 2);
    EXPECT_EQ(text.count(QStringLiteral("TzelMemoView Stamp 0.00 94.71 26.46 5.29")), 1) << text.toStdString();
    EXPECT_EQ(stamp->Top(), 0);
}
