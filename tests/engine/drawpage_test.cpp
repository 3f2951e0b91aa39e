#include "datatemplate.h"

#include "engine/render/canvas/zelrecordingcanvas.h"
#include "engine/render/draw/zelpreparedpage.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/data/zelvariables.h"

// Drawing prepared pages: the values only known when a page is drawn, text
// objects as wide as their text, and what each kind of canvas shows.

namespace {

// The text runs drawn on Canvas, and where each begins.
QList<std::pair<QString, QPointF>> textRuns(const RecordingCanvas &canvas)
{
    QList<std::pair<QString, QPointF>> runs;
    for (const TzelCanvasRecord &r : canvas.Records())
        if (const auto *text = std::get_if<TzelCanvasRecords::Text>(&r))
            runs.append({text->Run.Text, text->Run.Origin});
    return runs;
}

} // namespace

TEST(DrawPage, PageTotalsCopyNamesAndAutoWidthAreSettledWhenDrawn)
{
    DataTemplate t;
    auto *rows = t.Line<TzelMasterData>("Row", 0, QStringLiteral("row [Line]"), 200);
    rows->SetRowCount(2);
    auto *footer = t.Line<TzelPageFooter>("Foot", 300, QStringLiteral("Page [Page#] of [TOTALPAGES#], [COPYNAME#]"), 20);
    footer->Objects().first()->SetWidth(300);
    TzelMemoView *fitted = addMemo(footer, "Fitted", 0, 10, QStringLiteral("x"));
    fitted->SetBounds(250, 10, 100, 10);
    fitted->AutoWidth = true;
    fitted->HAlign = haRight;
    TzelMemoView *printOnly = addMemo(rows, "PrintOnly", 100, 10, QStringLiteral("printed"));
    printOnly->Visibility = {vsPrint};
    zelGlobalVariables().SetValue(QStringLiteral("CopyName2"), Variant(QStringLiteral("Copy")));
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().Text().toStdString();
    ASSERT_EQ(t.Report.PreviewPages()->Count(), 2);

    RecordingCanvas screen;
    zelDrawPreparedPage(*t.Report.PreviewPages(), 1, screen, 1, 1, 0, 0, 2);
    QStringList texts;
    for (const auto &[text, origin] : textRuns(screen))
        texts << text;
    EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), "row 2|Page 2 of 2, Copy|x");
    // The fitted text keeps its right edge, 350 units from the printable area's left.
    const QPointF x = textRuns(screen).last().second;
    EXPECT_GT(x.x(), 330);
    EXPECT_LT(x.x(), 350);

    // The stored page keeps its macros for the next drawing; a printer shows
    // what is printable only.
    RecordingCanvas printer(600, 600, true);
    zelDrawPreparedPage(*t.Report.PreviewPages(), 0, printer, 1, 1, 0, 0);
    texts.clear();
    for (const auto &[text, origin] : textRuns(printer))
        texts << text;
    EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), "row 1|printed|Page 1 of 2, |x");
    zelGlobalVariables().Clear();
}
