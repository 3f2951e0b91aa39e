// Mouse events on the objects of shown pages: links, scripts, folding.
#include "previewtest.h"

#include "model/band/zelgroupheader.h"
#include "model/view/zelmemoview.h"

#include <QTest>

namespace {

// Where the top-left corner plus Offset (report units) of page Index is in the view.
QPoint At(TzelPreview &preview, int index, QPointF offset)
{
    TzelPreviewWorkspace *w = preview.Workspace();
    return w->PageRect(index).topLeft() - w->Offset() + (offset * preview.Zoom()).toPoint();
}

QStringList Texts(TzelReport &report, int index)
{
    QStringList texts;
    for (const TzelPageTextRun &run : zelPageTextRuns(*report.PreviewPages(), index))
        texts << run.Text;
    return texts;
}

} // namespace

TEST(PreviewObjects, ALinkLeadsToItsPageAndShowsTheHand)
{
    ShownRows t(7, [](SevenRows &r) {
        TzelMemoView *go = addMemo(r.Rows, "Go", 0, 20, QStringLiteral("go"));
        go->SetBounds(200, 0, 60, 20);
        go->Hyperlink().Kind = hkPageNumber;
        go->Hyperlink().Value = QStringLiteral("3");
    });
    QWidget *viewport = t.Preview.Workspace()->viewport();
    QTest::mouseMove(viewport, At(t.Preview, 0, {220, 10}));
    EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(viewport, At(t.Preview, 0, {100, 50}));
    EXPECT_EQ(viewport->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, At(t.Preview, 0, {220, 10}));
    EXPECT_EQ(t.Preview.PageNo(), 3);
}

TEST(PreviewObjects, AClickScriptChangesTheObjectOnItsPage)
{
    FakeDialogService dialogs;
    ShownRows t(7, [](SevenRows &r) {
        auto *row = zelAs<TzelMemoView>(r.Report.FindObject(QStringLiteral("RowsText")));
        ASSERT_NE(row, nullptr);
        row->SetWidth(100);
        row->OnPreviewClick = QStringLiteral("RowClick");
        r.Report.ScriptLanguage = QStringLiteral("PascalScript");
        r.Report.ScriptText = QStringLiteral("procedure RowClick(Sender: TObject; Button, Shift: Integer; var Modified: Boolean);\n"
                                             "begin\n  TzelMemoView(Sender).Text := 'clicked';\n  Modified := True;\nend;\n\n"
                                             "begin\nend.")
                                  .split(QLatin1Char('\n'));
    });
    ASSERT_TRUE(t.Report.Errors().IsEmpty()) << t.Report.Errors().Text().toStdString();
    QTest::mouseClick(t.Preview.Workspace()->viewport(), Qt::LeftButton, {}, At(t.Preview, 0, {20, 105}));
    EXPECT_EQ(Texts(t.Report, 0), (QStringList{QStringLiteral("Row 1"), QStringLiteral("clicked"), QStringLiteral("Row 3")}));
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
}

TEST(PreviewObjects, AClickOnAFoldedGroupUnfoldsItInPlace)
{
    ShownRows t(0, [](SevenRows &r) {
        TzelUserDataSet *items = r.Table("items", {QStringLiteral("g"), QStringLiteral("n")},
                                        {{Variant(QStringLiteral("A")), Variant(1)}, {Variant(QStringLiteral("A")), Variant(2)},
                                         {Variant(QStringLiteral("B")), Variant(3)}});
        r.Rows->SetDataSet(items);
        zelAs<TzelMemoView>(r.Report.FindObject(QStringLiteral("RowsText")))->SetText(QStringLiteral("Row [items.\"n\"]"));
        r.Rows->SetHeight(20);
        auto *group = r.Line<TzelGroupHeader>("Group", 0, QStringLiteral("Group [items.\"g\"]"), 20);
        group->Condition = QStringLiteral("items.\"g\"");
        group->DrillDown = true;
    });
    EXPECT_EQ(Texts(t.Report, 0), (QStringList{QStringLiteral("Group A"), QStringLiteral("Group B")}));
    QTest::mouseClick(t.Preview.Workspace()->viewport(), Qt::LeftButton, {}, At(t.Preview, 0, {10, 5}));
    EXPECT_EQ(t.Report.DrillState, QStringList{QStringLiteral("Group.1")});
    EXPECT_EQ(Texts(t.Report, 0),
              (QStringList{QStringLiteral("Group A"), QStringLiteral("Row 1"), QStringLiteral("Row 2"), QStringLiteral("Group B")}));
    EXPECT_EQ(t.Preview.PageNo(), 1);
}
