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

TEST(MemoBehaviour, AMemoFieldShowsItsText)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("notes")}, {{Variant()}, {Variant()}});
    ds->OnIsBlobField = [](TzelDataSet *, const QString &field) { return field == QLatin1String("notes"); };
    ds->OnGetBlobValue = [](TzelDataSet *sender, const QString &, QByteArray &blob) {
        blob = sender->RecNo() == 0 ? QByteArray("Gr\xc3\xbc\xc3\x9f" "e") : QByteArray();
    };
    auto *row = t.Line<TzelMasterData>("Row", 0, {});
    row->SetDataSet(ds);
    TzelMemoView *memo = addMemo(row, "Notes", 0, 10);
    memo->SetDataSet(ds);
    memo->DataField = QStringLiteral("notes");
    EXPECT_EQ(t.BuildRows(), "Row: Gr\xc3\xbc\xc3\x9f" "e\nRow: ");
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

TEST(MemoBehaviour, TagsAndHyperlinksTakeTheirRowsValues)
{
    DataTemplate t;
    TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, {{Variant(QStringLiteral("a'b"))}, {Variant(7)}});
    auto *row = t.Line<TzelMasterData>("Row", 0, QStringLiteral("x"));
    row->SetDataSet(ds);
    auto *memo = zelAs<TzelMemoView>(row->Objects().first());
    memo->TagStr = QStringLiteral("tag [<t.\"v\">]");
    memo->Hyperlink().Kind = hkDetailReport;
    memo->Hyperlink().Expression = QStringLiteral("<t.\"v\">");
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().Text().toStdString();

    QStringList printed;
    for (const TzelComponent *band : t.Report.PreviewPages()->GetPage(0)->Objects()) {
        auto *m = zelAs<TzelMemoView>(band->Objects().last());
        printed << m->TagStr + QStringLiteral(" | ") + m->Hyperlink().Value;
    }
    EXPECT_EQ(printed, (QStringList{QStringLiteral("tag a'b | 'a''b'"), QStringLiteral("tag 7 | 7")}))
        << "a text goes to the detail report quoted";
    EXPECT_EQ(memo->TagStr, QStringLiteral("tag [<t.\"v\">]"));
    EXPECT_TRUE(memo->Hyperlink().Value.isEmpty());
}

TEST(MemoBehaviour, EqualNeighboursShowOnceAsTheirModeSays)
{
    struct Case
    {
        TzelDuplicateMode Mode;
        const char *Expected; // memo text and height per printed row
    };
    const Case cases[] = {
        {dmShow, "A/10 A/10 A/10 B/10 A/10"},
        {dmClear, "A/10 /10 /10 B/10 A/10"},
        {dmHide, "A/10 B/10 A/10"},
        {dmMerge, "A/30 B/10 A/10"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.Mode));
        DataTemplate t;
        QList<Row> rows;
        for (const char *v : {"A", "A", "A", "B", "A"})
            rows.append({Variant(QString::fromLatin1(v))});
        TzelUserDataSet *ds = t.Table("t", {QStringLiteral("v")}, rows);
        auto *row = t.Line<TzelMasterData>("Row", 0, QStringLiteral("[<t.\"v\">]"));
        row->SetDataSet(ds);
        zelAs<TzelMemoView>(row->Objects().first())->Duplicates = c.Mode;
        ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().Text().toStdString();
        QStringList printed;
        for (const TzelComponent *band : t.Report.PreviewPages()->GetPage(0)->Objects())
            for (const TzelComponent *obj : band->Objects())
                if (auto *memo = zelAs<TzelMemoView>(obj); memo && !memo->Name().isEmpty())
                    printed << memo->Text() + QLatin1Char('/') + QString::number(std::lround(memo->Height()));
        EXPECT_EQ(printed.join(QLatin1Char(' ')).toStdString(), c.Expected);
    }
}

TEST(MemoBehaviour, TextThatDoesNotFitFlowsOnIntoTheNextMemo)
{
    DataTemplate t;
    auto *row = t.Line<TzelMasterData>("Row", 0, {}, 80);
    row->SetRowCount(1);
    TzelMemoView *first = addMemo(row, "First", 0, 40, QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix"));
    TzelMemoView *second = addMemo(row, "Second", 40, 80, QStringLiteral("[not evaluated]"));
    first->SetFlowTo(second);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().Text().toStdString();
    QStringList texts;
    for (const TzelComponent *obj : t.Report.PreviewPages()->GetPage(0)->Objects().first()->Objects())
        if (auto *memo = zelAs<TzelMemoView>(obj); memo && !memo->Name().isEmpty())
            texts << memo->Name() + QStringLiteral(": ") + memo->Text().replace(QStringLiteral("\r\n"), QStringLiteral("|"));
    ASSERT_EQ(texts.size(), 2);
    // The lines the first holds, then the rest, each once.
    const QString joined = texts[0].mid(7) + QLatin1Char('|') + texts[1].mid(8);
    EXPECT_EQ(joined, QStringLiteral("one|two|three|four|five|six")) << texts.join(QLatin1String(" / ")).toStdString();
    EXPECT_FALSE(texts[0].contains(QLatin1String("six")));
    EXPECT_TRUE(second->AllowExpressions) << "the template keeps its own setting";
    EXPECT_EQ(second->Text(), QStringLiteral("[not evaluated]"));
}
