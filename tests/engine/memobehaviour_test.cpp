#include "datatemplate.h"

#include "model/band/zelmasterdata.h"
#include "model/component/zelcolors.h"
#include "model/view/zelhighlight.h"

// What text objects do with their values while a report builds: formats,
// hidden zeros, highlights and repeated values.

TEST(MemoBehaviour, ValuesAreFormattedOrHidden)
{
    struct Case
    {
        const char *Text;
        Variant Value;
        QStringList Formats; // numeric pictures, in order
        bool HideZeros;
        const char *Expected;
    };
    const Case cases[] = {
        {"[<t.\"v\">]", Variant(0), {}, true, ""},
        {"[<t.\"v\">]", Variant(1e-19), {}, true, ""},
        {"[<t.\"v\">]", Variant(QStringLiteral("0")), {}, true, "0"},
        {"[<t.\"v\">]", Variant(2.5), {}, true, "2.5"},
        {"[<t.\"v\">] [<t.\"v\"> * 2] [<t.\"v\"> * 3]", Variant(1), {"%2.2f", "%2.1f"}, false, "1.00 2.0 3.0"},
        {"[<t.\"v\"> #bNo,Yes]", Variant(true), {}, false, "Yes"},
        {"[<t.\"v\"> #bNo,Yes]", Variant(false), {}, false, "No"},
        {"[<t.\"v\"> #bNo,Yes]", Variant(1), {}, false, "Yes"},
        {"[<t.\"v\"> #bNo,Yes]", Variant(QStringLiteral("x")), {}, false, "No"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text);
        DataTemplate t;
        TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, {{c.Value}});
        auto *row = t.Line<TzelMasterData>("Row", 0, QString::fromLatin1(c.Text));
        row->SetDataSet(ds);
        auto *memo = zelAs<TzelMemoView>(row->Objects().first());
        memo->HideZeros = c.HideZeros;
        for (const QString &picture : c.Formats) {
            TzelFormat *format = memo->Formats().Add();
            format->Kind = fkNumeric;
            format->FormatStr = picture;
        }
        EXPECT_EQ(t.BuildRows(), std::string("Row: ") + c.Expected);
    }
}

TEST(MemoBehaviour, TheFirstHighlightThatHoldsChangesTheLookForItsRowOnly)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, {{Variant(1)}, {Variant(5)}, {Variant(9)}});
    auto *row = t.Line<TzelMasterData>("Row", 0, QStringLiteral("[<t.\"v\">]"));
    row->SetDataSet(ds);
    auto *memo = zelAs<TzelMemoView>(row->Objects().first());
    TzelHighlight *big = memo->Highlights().Add();
    big->Condition = QStringLiteral("<t.\"v\"> > 3");
    big->Font().SetColor(0x0000FF);
    TzelHighlight *huge = memo->Highlights().Add();
    huge->Condition = QStringLiteral("<t.\"v\"> > 8");
    huge->Font().SetColor(0xFF0000);
    huge->ApplyFrame = true;
    huge->Frame().Typ = TzelFrameTypes{ftLeft};
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().Text().toStdString();

    QStringList looks;
    TzelCustomPreviewPages &pages = *t.Report.PreviewPages();
    for (const TzelComponent *band : pages.GetPage(0)->Objects()) {
        auto *printed = zelAs<TzelMemoView>(band->Objects().last());
        looks << QStringLiteral("%1 %2 %3").arg(printed->Text()).arg(printed->Font().Color()).arg(printed->Frame().Typ.Bits());
    }
    EXPECT_EQ(looks, (QStringList{QStringLiteral("1 %1 0").arg(clBlack), QStringLiteral("5 %1 0").arg(0x0000FF),
                                  QStringLiteral("9 %1 0").arg(0x0000FF)}))
        << "only the first highlight that holds applies";
    EXPECT_EQ(memo->Font().Color(), clBlack);
    EXPECT_TRUE(memo->ParentFont()) << "the template keeps its own look";
}

TEST(MemoBehaviour, ARepeatedValueShowsOncePerRunAndAgainOnANewPage)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")},
                                  {{Variant(QStringLiteral("A"))}, {Variant(QStringLiteral("A"))},
                                   {Variant(QStringLiteral("A"))}, {Variant(QStringLiteral("B"))}});
    auto *row = t.Line<TzelMasterData>("Row", 0, QStringLiteral("[<t.\"v\">]"), 150); // two rows a page
    row->SetDataSet(ds);
    zelAs<TzelMemoView>(row->Objects().first())->SuppressRepeated = true;
    EXPECT_EQ(t.BuildRows(), "Row: A\nRow: \n--\nRow: A\nRow: B");
}
