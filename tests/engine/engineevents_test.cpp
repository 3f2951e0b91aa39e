#include "enginetemplate.h"

#include "base/core/zelexception.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreporttitle.h"
#include "model/report/zelcustomreportscript.h"
#include "model/report/zelpreviewpageslist.h"
#include "model/view/zellineview.h"
#include "prepared/zelpagestext.h"

#include <QStringList>

// What a build tells the host and the script: events in order, a failing
// event procedure, dialogs declined, and where the pages go.

namespace {

// Runs no procedure but writes down each one asked for; fails on request.
class RecordingScript : public TzelCustomReportScript
{
public:
    RecordingScript(TzelReport &report, QStringList &log) : FReport(report), FLog(log) {}

    QString FailIn;      // the procedure that raises an error
    int FailOnCall = 1;  // on its n-th call
    bool DeclineDialogs = false;

    bool Prepare() override { return true; }
    bool RunMain() override { return true; }
    Variant Calc(const QString &expression, QString &) override { return Variant(expression); }
    bool Variable(const QString &, Variant &) const override { return false; }
    void SetSelf(TzelComponent *) override {}
    void SetValue(const Variant &) override {}

    void CallEvent(TzelComponent *sender, const QString &eventName) override
    {
        if (eventName == QLatin1String("ShowPageCount"))
            static_cast<TzelMemoView *>(sender)->SetText(
                QStringLiteral("of %1").arg(FReport.PreviewPages()->Count()));
        const bool again = FReport.Engine()->SecondScriptCall();
        FLog << eventName + QLatin1Char('(') + sender->Name() + QLatin1Char(')') + (again ? "*" : "");
        if (eventName == FailIn && --FailOnCall == 0)
            throw TzelException(QStringLiteral("Division by zero"));
    }

    void CallParamEvent(const QString &eventName, QList<Variant> &params) override
    {
        FLog << eventName;
        if (DeclineDialogs)
            params[0] = Variant(false);
    }

private:
    TzelReport &FReport;
    QStringList &FLog;
};

struct ScriptedTemplate : Template
{
    QStringList Log;
    RecordingScript *Script;

    ScriptedTemplate()
    {
        auto script = std::make_unique<RecordingScript>(Report, Log);
        Script = script.get();
        Report.SetScript(std::move(script));
        Report.SetName(QStringLiteral("Report1"));
        Report.OnStartReport = QStringLiteral("Start");
        Report.OnStopReport = QStringLiteral("Stop");
    }
};

} // namespace

TEST(EngineEvents, HostAndScriptHearEveryStepInOrder)
{
    ScriptedTemplate t;
    t.Page->OnBeforePrint = QStringLiteral("PageStart");
    t.Page->OnAfterPrint = QStringLiteral("PageEnd");
    auto *title = t.Band<TzelReportTitle>("ReportTitle1", 20);
    title->OnBeforePrint = QStringLiteral("TitleBefore");
    title->OnAfterPrint = QStringLiteral("TitleAfter");
    title->OnAfterCalcHeight = QStringLiteral("TitleHeight");
    TzelMemoView *memo = addMemo(title, "Memo1", 0, 20, QStringLiteral("Sales"));
    memo->OnBeforePrint = QStringLiteral("MemoBefore");
    memo->OnAfterData = QStringLiteral("MemoData");
    memo->OnAfterPrint = QStringLiteral("MemoAfter");
    t.Report.OnBeforePrint = [&](TzelReportComponent *c) { t.Log << "host before " + c->Name(); };
    t.Report.OnAfterPrint = [&](TzelReportComponent *c) { t.Log << "host after " + c->Name(); };

    ASSERT_TRUE(t.Report.PrepareReport());
    EXPECT_EQ(t.Log.join(QLatin1Char('\n')).toStdString(),
              "Start(Report1)\nPageStart(Page1)\n"
              "host before ReportTitle1\nTitleBefore(ReportTitle1)\n"
              "host before Memo1\nMemoBefore(Memo1)\nMemoData(Memo1)\nTitleHeight(ReportTitle1)\n"
              "host after Memo1\nMemoAfter(Memo1)\nhost after ReportTitle1\nTitleAfter(ReportTitle1)\n"
              "PageEnd(Page1)\nStop(Report1)");
}

TEST(EngineEvents, AFailingProcedureEndsTheBuildKeepingItsPagesAndTheDesign)
{
    ScriptedTemplate t;
    t.Band<TzelPageFooter>("PageFooter1", 40);
    auto *band = t.Band<TzelMasterData>("Data1", 100);
    TzelMemoView *memo = addMemo(band, "Memo1", 0, 10, QStringLiteral("one\ntwo\nthree\nfour"));
    memo->StretchMode = smActualHeight;
    memo->OnBeforePrint = QStringLiteral("MemoBefore");
    t.Script->FailIn = QStringLiteral("MemoBefore");
    t.Script->FailOnCall = 5;
    t.ShowRows(band, 10);

    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors().Text().trimmed().toStdString(), "Memo1: Division by zero");
    EXPECT_EQ(t.Log.last().toStdString(), "Stop(Report1)");
    // Four rows were printed: three on the first page, one on the second.
    const QString order = bandOrder(*t.Report.PreviewPages());
    EXPECT_EQ(order.count(QStringLiteral("Data1@")), 4) << order.toStdString();
    EXPECT_EQ(t.Report.PreviewPages()->Count(), 2);
    // What the build changed is back as designed.
    EXPECT_EQ(memo->Height(), 10);
    EXPECT_EQ(band->Height(), 100);
    EXPECT_EQ(memo->Text(), QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));
}

TEST(EngineEvents, DeclinedDialogsBuildNothing)
{
    ScriptedTemplate t;
    t.Report.OnRunDialogs = QStringLiteral("Dialogs");
    t.Script->DeclineDialogs = true;
    t.Band<TzelReportTitle>("ReportTitle1", 20);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_TRUE(t.Report.Errors().IsEmpty());
    EXPECT_EQ(t.Report.PreviewPages()->Count(), 0);
    EXPECT_EQ(t.Log, (QStringList{"Start(Report1)", "Dialogs", "Stop(Report1)"}));
}

TEST(EngineEvents, ABandMovedToTheNextPageIsStretchedAgainWhenItSuppressesRepeats)
{
    ScriptedTemplate t;
    auto *band = t.Band<TzelMasterData>("Data1", 100);
    band->OnBeforePrint = QStringLiteral("RowBefore");
    addMemo(band, "Memo1", 0, 20, QStringLiteral("Same"))->SuppressRepeated = true;
    t.ShowRows(band, 4);
    t.Build();
    // Three rows fit the page; the fourth is measured once more for the next page.
    EXPECT_EQ(t.Log.filter(QStringLiteral("RowBefore")),
              (QStringList{"RowBefore(Data1)", "RowBefore(Data1)", "RowBefore(Data1)", "RowBefore(Data1)",
                           "RowBefore(Data1)*"}));
}

TEST(EngineEvents, TheBuildFillsTheCurrentPreparedPages)
{
    Template t;
    t.Band<TzelReportTitle>("ReportTitle1", 20);
    TzelPreviewPagesList *list = t.Report.PreviewPagesList();
    TzelCustomPreviewPages *detail = list->AddAsCurrent();
    t.Build();
    EXPECT_EQ(t.Report.Engine()->PreviewPages(), detail);
    EXPECT_EQ(detail->Count(), 1);
    EXPECT_EQ(list->Main()->Count(), 0);
    list->Clear();
    EXPECT_EQ(t.Report.Engine()->PreviewPages(), list->Main());
}

TEST(EngineLayout, SplitObjectsWithoutTextContinueByGeometry)
{
    Template t;
    auto *band = t.Band<TzelMasterData>("Data1", 900);
    band->AllowSplit = true;
    auto *line = new TzelLineView(band);
    line->SetName(QStringLiteral("Line1"));
    line->SetBounds(10, 0, 0, 900);
    TzelMemoView *last = addMemo(band, "Total", 800, 20, QStringLiteral("Total"));
    last->Align = baBottom;
    line->StretchMode = smMaxHeight;
    t.ShowRows(band, 1);
    t.Build();
    const QString text = zelPagesText(*t.Report.PreviewPages());
    // 900 units over pages of 377.95: the line prints in three parts, and
    // the bottom-aligned total closes the last part.
    EXPECT_TRUE(text.contains(QStringLiteral("TzelLineView Line1 2.65 0.00 0.00 100.00"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("TzelLineView Line1 2.65 0.00 0.00 38.12"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("TzelMemoView Total 0.00 32.83 26.46 5.29 \"Total\"")))
        << text.toStdString();
    EXPECT_EQ(t.Report.PreviewPages()->Count(), 3);
    EXPECT_EQ(line->Height(), 900);
}

TEST(EngineEvents, DeferredValuesAreCompletedWhenTheirMomentComes)
{
    struct Case
    {
        const char *What;
        TzelProcessAt At;
        bool ProcessedByHost;
        const char *Handler;
        const char *Expected; // the header's text on each of the three pages
    };
    const Case cases[] = {
        {"at the report's end", paReportFinished, false, "ShowPageCount", "of 3|of 3|of 3"},
        {"at each page's end", paPageFinished, false, "ShowPageCount", "of 1|of 2|of 3"},
        {"on the host's request, for the pages so far", paCustom, true, "ShowPageCount", "of 2|of 2|"},
        {"nothing to compute: the design text", paReportFinished, false, "", "Total|Total|Total"},
    };
    for (const Case &c : cases) {
        ScriptedTemplate t;
        auto *header = t.Band<TzelPageHeader>("PageHeader1", 20);
        TzelMemoView *memo = addMemo(header, "Count", 0, 20, QStringLiteral("Total"));
        memo->Processing().ProcessAt = c.At;
        memo->OnAfterData = QString::fromLatin1(c.Handler);
        auto *band = t.Band<TzelMasterData>("Data1", 100);
        t.Report.OnManualBuild = [&](TzelReportPage *) {
            for (int i = 0; i < 9; ++i) {
                t.Report.Engine()->ShowBand(band);
                if (c.ProcessedByHost && i == 4)
                    t.Report.Engine()->ProcessObject(memo);
            }
        };
        t.Build();
        QStringList texts;
        for (const QString &line : zelPagesText(*t.Report.PreviewPages()).split(QLatin1Char('\n')))
            if (line.contains(QLatin1String(" Count ")))
                texts << line.section(QLatin1Char('"'), 1, 1);
        EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), c.Expected) << c.What;
        EXPECT_EQ(memo->Text(), QStringLiteral("Total")) << c.What;
    }
}
