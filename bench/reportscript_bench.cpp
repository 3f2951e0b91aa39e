// What a report script costs per row: the same 10,000-row report built with
// and without a script. The scripted one runs an OnBeforePrint procedure on
// its data band and prints [FormatFloat('0.00', <items."amount">)]; the plain
// one prints the same value, which the host formats itself. Rows come from
// a user data set that the host steps through (OnManualBuild), so only the
// script's share differs.
//
//   bench_reportscript_bench [--rows N] [--scripted-only]
//
// Prints the best build time of five for each and the difference per row;
// --scripted-only builds only the scripted report (for a profiler).
#include "benchsupport.h"
#include "engine/core/zelengineclasses.h"
#include "model/band/zelmasterdata.h"
#include "model/component/zelunits.h"
#include "model/data/zeluserdataset.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/view/zelmemoview.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>

namespace {

// Nanoseconds of the best of five builds of Rows rows, with or without script.
qint64 build(int rows, bool scripted)
{
    qint64 best = -1;
    for (int run = 0; run < 5; ++run) {
        TzelReport report;
        report.EngineOptions().NewSilentMode = simSilent;
        report.CheckDataPage();
        auto *items = new TzelUserDataSet(report.FindObject(QStringLiteral("Data")));
        items->SetName(QStringLiteral("Items"));
        items->SetUserName(QStringLiteral("items"));
        items->Fields = QStringList{QStringLiteral("amount")};
        int row = 0;
        items->OnGetValue = [&row](const QString &, Variant &value) { value = Variant(row * 1.25); };
        report.DataSets().Add(items);

        auto *page = new TzelReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        auto *band = new TzelMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 0, 700, 20);
        for (int i = 0; i < 5; ++i) {
            auto *memo = new TzelMemoView(band);
            memo->SetName(QStringLiteral("Cell%1").arg(i + 1));
            memo->SetBounds(i * 140, 0, 130, 20);
            memo->SetText(QStringLiteral("text %1").arg(i));
        }
        if (scripted) {
            band->OnBeforePrint = QStringLiteral("RowBefore");
            static_cast<TzelMemoView *>(band->Objects().at(4))
                ->SetText(QStringLiteral("[FormatFloat('0.00', <items.\"amount\">)]"));
            report.ScriptText = QStringList{QStringLiteral("var Rows: Integer;"),
                                            QStringLiteral("procedure RowBefore(Sender: TzelComponent);"),
                                            QStringLiteral("begin"), QStringLiteral("  Rows := Rows + 1;"),
                                            QStringLiteral("end;"), QStringLiteral("begin"), QStringLiteral("end.")};
        }
        auto *amount = static_cast<TzelMemoView *>(band->Objects().at(4));
        report.OnManualBuild = [&](TzelReportPage *) {
            for (row = 0; row < rows; ++row) {
                if (!scripted)
                    amount->SetText(QString::number(row * 1.25, 'f', 2));
                report.Engine()->ShowBand(band);
            }
        };
        QElapsedTimer timer;
        timer.start();
        if (!report.PrepareReport()) {
            std::fprintf(stderr, "%s\n", qPrintable(report.Errors().Text()));
            return -1;
        }
        const qint64 ns = timer.nsecsElapsed();
        best = best < 0 ? ns : std::min(best, ns);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    benchUseOffscreen();
    QGuiApplication app(argc, argv);
    zelRegisterModelClasses();
    zelRegisterEngine();
    const QStringList args = app.arguments();
    const int rows = benchIntOption(args, QStringLiteral("--rows"), 10000);

    if (args.contains(QStringLiteral("--scripted-only")))
        return build(rows, true) < 0 ? 1 : 0;
    const qint64 plain = build(rows, false);
    const qint64 scripted = build(rows, true);
    if (plain < 0 || scripted < 0)
        return 1;
    std::printf("%d rows, best of five builds\n", rows);
    std::printf("without script:     %8.2f ms (%.2f us per row)\n", plain / 1e6, plain / 1e3 / rows);
    std::printf("with script:        %8.2f ms (%.2f us per row)\n", scripted / 1e6, scripted / 1e3 / rows);
    std::printf("script per row:     %8.2f us\n", double(scripted - plain) / 1e3 / rows);
    return 0;
}
