#include "base/xml/zelxmlitem.h"
#include "model/style/zelstyleitem.h"
#include "model/style/zelstyles.h"
#include "model/view/zelhighlights.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"
#include "model/view/zelmemoview.h"
#include "support/testsupport.h"
#include "view_testsupport.h"

namespace {

class MemoView : public ViewTest
{
protected:
    // The attributes a memo writes, without its name.
    static QString attributes(const TzelPersistent &obj)
    {
        TzelXMLSerializer serializer;
        serializer.IgnoreName = true;
        return serializer.ObjToXML(&obj);
    }
    static TzelMemoView *memoOf(TzelReport &report, const char *name = "Memo1")
    {
        return dynamic_cast<TzelMemoView *>(report.FindObject(QString::fromLatin1(name)));
    }
};

} // namespace

TEST_F(MemoView, GapsSpacingAndDelimitersAreWrittenOnlyWhenTheyDifferFromTheirDefaults)
{
    TzelMemoView memo;
    const QString plain = attributes(memo);
    for (const char *name : {"GapX", "GapY", "LineSpacing", "ExpressionDelimiters", "CharSpacing", "ParagraphGap"})
        EXPECT_FALSE(plain.contains(QString::fromLatin1(name))) << name;

    memo.GapY = 2;
    memo.ExpressionDelimiters = QStringLiteral("<,>");
    EXPECT_TRUE(attributes(memo).contains(QStringLiteral(" GapY=\"2\" ")));
    EXPECT_TRUE(attributes(memo).contains(QStringLiteral(" ExpressionDelimiters=\"&#60;,&#62;\" ")));

    TzelReport report;
    EXPECT_EQ(load(report, templateWith("<TzelMemoView Name=\"Memo1\" Text=\"a\"/>")), QStringList());
    ASSERT_NE(memoOf(report), nullptr);
    EXPECT_EQ(memoOf(report)->GapY, 1);
    EXPECT_EQ(memoOf(report)->Text(), QStringLiteral("a"));
}

TEST_F(MemoView, FillTypeReplacesTheFillAndColorFollowsTheKind)
{
    TzelMemoView memo;
    memo.SetColor(0x0000FF);
    EXPECT_EQ(dynamic_cast<TzelBrushFill &>(memo.Fill()).BackColor, 0x0000FF);

    memo.SetFillType(ftGlass);
    ASSERT_EQ(memo.Fill().ClassName(), QStringLiteral("TzelGlassFill"));
    EXPECT_EQ(memo.Color(), 0x808080); // a fresh glass fill is grey, the red is gone
    EXPECT_EQ(memo.BrushStyle(), bsClear);
    memo.SetColor(0x00FF00);
    EXPECT_EQ(dynamic_cast<TzelGlassFill &>(memo.Fill()).Color, 0x00FF00);

    memo.SetFillType(ftBrush);
    EXPECT_EQ(memo.Color(), 0x1FFFFFFF);

    memo.SetFillType(ftGradient);
    auto &gradient = dynamic_cast<TzelGradientFill &>(memo.Fill());
    gradient.StartColor = 0x00FF00; // blue 0, green 255, red 0
    gradient.EndColor = 0xFF00C8;   // blue 255, green 0, red 200
    EXPECT_EQ(memo.Color(), 0x7F8064); // each channel 127/255 of the way: red 99.6 rounds to 100
    memo.SetColor(0x123456);
    EXPECT_EQ(gradient.StartColor, 0x00FF00); // gradients ignore the shortcut

    // Setting the same kind keeps the fill; assigning a fill switches the kind first.
    memo.SetFillType(ftGradient);
    EXPECT_EQ(&memo.Fill(), &gradient);
    TzelGlassFill glass;
    glass.Blend = 0.25;
    memo.SetFill(glass);
    EXPECT_EQ(memo.FillType(), ftGlass);
    EXPECT_EQ(dynamic_cast<TzelGlassFill &>(memo.Fill()).Blend, 0.25);
}

TEST_F(MemoView, FillKindIsReadBeforeTheFillValues)
{
    TzelReport report;
    EXPECT_EQ(load(report, templateWith("<TzelMemoView Name=\"Memo1\" FillType=\"ftGlass\" Fill.Color=\"255\" "
                                        "Fill.Blend=\"0.3\" Fill.Orientation=\"foVertical\"/>")),
              QStringList());
    TzelMemoView *memo = memoOf(report);
    ASSERT_NE(memo, nullptr);
    const auto *glass = dynamic_cast<const TzelGlassFill *>(&memo->Fill());
    ASSERT_NE(glass, nullptr);
    EXPECT_EQ(glass->Color, 255);
    EXPECT_EQ(glass->Blend, 0.3);
    EXPECT_EQ(glass->Orientation, foVertical);
}

TEST_F(MemoView, FrameValuesReachTheLinesAndLinesStoreOnlyTheirDifferences)
{
    TzelMemoView memo;
    memo.Frame().SetWidth(2);
    memo.Frame().TopLine().SetWidth(3);
    memo.Frame().SetStyle(fsDot);
    EXPECT_EQ(memo.Frame().LeftLine().Width(), 2);
    EXPECT_EQ(memo.Frame().BottomLine().Style(), fsDot);
    const QString text = attributes(memo);
    EXPECT_TRUE(text.contains(QStringLiteral(" Frame.Style=\"fsDot\" Frame.Typ=\"0\" Frame.Width=\"2\" "
                                             "Frame.TopLine.Width=\"3\" ")))
        << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("Line.")), 1);

    TzelMemoView copy;
    TzelXMLSerializer serializer;
    serializer.XMLToObj(text, &copy);
    EXPECT_EQ(copy.Frame(), memo.Frame());
}

TEST_F(MemoView, UrlPicksTheHyperlinkKindFromItsFirstCharacter)
{
    const struct
    {
        QString url;
        TzelHyperlinkKind kind;
        QString value;
        bool readsBack;
    } cases[] = {
        {QStringLiteral("#chapter1"), hkAnchor, QStringLiteral("chapter1"), true},
        {QStringLiteral("@12"), hkPageNumber, QStringLiteral("12"), true},
        {QStringLiteral("https://example.com/#x"), hkURL, QStringLiteral("https://example.com/#x"), true},
        {QStringLiteral("#") + QString(300, u'a'), hkAnchor, QString(255, u'a'), false},
        {QString(300, u'b'), hkURL, QString(300, u'b'), true},
    };
    for (const auto &c : cases) {
        TzelMemoView memo;
        memo.SetURL(c.url);
        EXPECT_EQ(memo.Hyperlink().Kind, c.kind) << c.url.toStdString();
        EXPECT_EQ(memo.Hyperlink().Value, c.value) << c.url.toStdString();
        if (c.readsBack) {
            EXPECT_EQ(memo.URL(), c.url);
        }
    }
}

TEST_F(MemoView, RotationIsKeptModulo360)
{
    TzelMemoView memo;
    for (const auto &[set, kept, reduced] : {std::tuple{450, 90, 90}, {-90, -90, 270}, {720, 0, 0}, {359, 359, 359}}) {
        memo.SetRotation(set);
        EXPECT_EQ(memo.Rotation(), kept) << set;
        EXPECT_EQ(memo.ReducedAngle(), reduced) << set;
    }
    TzelReport report;
    load(report, templateWith("<TzelMemoView Name=\"Memo1\" Rotation=\"450\"/>"));
    EXPECT_EQ(memoOf(report)->Rotation(), 90);
}

TEST_F(MemoView, UnderlinesAndPrintableMirrorTheirModeAndSet)
{
    TzelMemoView memo;
    memo.SetUnderlines(true);
    EXPECT_EQ(memo.UnderlinesTextMode, ulmUnderlinesAll);
    memo.UnderlinesTextMode = ulmUnderlinesText;
    memo.SetUnderlines(true); // an existing mode stays
    EXPECT_EQ(memo.UnderlinesTextMode, ulmUnderlinesText);
    memo.SetUnderlines(false);
    EXPECT_EQ(memo.UnderlinesTextMode, ulmNone);

    memo.SetPrintable(false);
    EXPECT_EQ(memo.Visibility, (TzelVisibilityTypes{vsPreview, vsExport}));
    EXPECT_TRUE(attributes(memo).contains(QStringLiteral(" Visibility=\"3\"")));
    EXPECT_FALSE(attributes(memo).contains(QStringLiteral("Printable")));
    memo.SetPrintable(true);
    EXPECT_TRUE(memo.Printable());
}

TEST_F(MemoView, DisplayFormatAndHighlightCreateTheFirstEntryOnDemand)
{
    TzelReport report;
    EXPECT_EQ(load(report, templateWith("<TzelMemoView Name=\"Memo1\" DisplayFormat.Kind=\"fkNumeric\" "
                                        "DisplayFormat.FormatStr=\"%2.2f\" Highlight.Condition=\"Value &#62; 0\"/>")),
              QStringList());
    TzelMemoView *memo = memoOf(report);
    ASSERT_EQ(memo->Formats().Count(), 1);
    EXPECT_EQ(memo->DisplayFormat().Kind, fkNumeric);
    EXPECT_EQ(memo->DisplayFormat().FormatStr, QStringLiteral("%2.2f"));
    ASSERT_EQ(memo->Highlights().Count(), 1);
    EXPECT_EQ(memo->Highlight().Condition, QStringLiteral("Value > 0"));
    EXPECT_EQ(memo->Highlight().UniqueIndex, 1);

    TzelMemoView fresh;
    EXPECT_EQ(fresh.Formats().Count(), 0);
    EXPECT_EQ(fresh.DisplayFormat().Kind, fkText);
    EXPECT_EQ(fresh.Formats().Count(), 1);

    // A single highlight whose condition is blank is not worth storing.
    fresh.Highlight().Condition = QStringLiteral("  ");
    EXPECT_FALSE(attributes(fresh).contains(QStringLiteral("Highlight.")));
}

TEST_F(MemoView, SeveralFormatsAndHighlightsAreChildCollectionsWithUniqueIndexes)
{
    TzelReport report;
    auto *memo = new TzelMemoView(&report);
    memo->SetName(QStringLiteral("Memo1"));
    memo->Formats().Add()->Kind = fkNumeric;
    memo->Formats().Add()->FormatStr = QStringLiteral("dd.mm.yyyy");
    memo->Highlights().Add()->Condition = QStringLiteral("A");
    TzelHighlight &second = *memo->Highlights().Add();
    second.Condition = QStringLiteral("B");
    second.SetFillType(ftGlass);
    memo->Highlights().Delete(0);
    memo->Highlights().Add()->Condition = QStringLiteral("C");
    EXPECT_EQ(second.UniqueIndex, 2);
    EXPECT_EQ(memo->Highlights().Items(1)->UniqueIndex, 1); // the smallest index left was 2

    const QByteArray text = save(report);
    EXPECT_TRUE(text.contains("<Formats>")) << text.toStdString();
    EXPECT_TRUE(text.contains("<item Kind=\"fkNumeric\"/>")) << text.toStdString();
    EXPECT_TRUE(text.contains(" Condition=\"B\" FillType=\"ftGlass\" Fill.Color=\"8421504\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("uin=\"2\"/>")) << text.toStdString();
    EXPECT_FALSE(text.contains("DisplayFormat.")) << text.toStdString();
    EXPECT_FALSE(text.contains("Highlight.")) << text.toStdString();

    TzelReport copy;
    EXPECT_EQ(load(copy, text), QStringList());
    TzelMemoView *read = memoOf(copy);
    ASSERT_EQ(read->Formats().Count(), 2);
    EXPECT_EQ(read->Formats().Items(1)->FormatStr, QStringLiteral("dd.mm.yyyy"));
    ASSERT_EQ(read->Highlights().Count(), 2);
    EXPECT_EQ(read->Highlights().Items(0)->UniqueIndex, 2);
    EXPECT_EQ(read->Highlights().Items(0)->FillType(), ftGlass);
    EXPECT_EQ(read->Highlights().Items(1)->UniqueIndex, 1);
    EXPECT_EQ(read->Highlights().Items(1)->Condition, QStringLiteral("C"));
    EXPECT_EQ(save(copy), text);
}

TEST_F(MemoView, UniqueIndexesFollowTheCollectionRule)
{
    const struct
    {
        std::vector<int> existing;
        int next;
    } cases[] = {{{}, 1}, {{1}, 2}, {{1, 5}, 6}, {{3, 4}, 1}, {{2}, 1}, {{0}, 2}};
    for (const auto &c : cases) {
        TzelHighlights highlights;
        for (int uin : c.existing)
            highlights.TzelOwnedList<TzelHighlight>::Add()->UniqueIndex = uin;
        EXPECT_EQ(highlights.Add()->UniqueIndex, c.next) << ::testing::PrintToString(c.existing);
    }
}

TEST_F(MemoView, BadValuesAreCollectedAndTheRestOfTheObjectLoads)
{
    TzelReport report;
    const QStringList errors = load(
        report, templateWith("<TzelMemoView Name=\"Memo1\" HAlign=\"haNowhere\" Frame.Typ=\"99\" GapX=\"wide\" "
                             "FillType=\"7\" Rotation=\"x\" VAlign=\"vaCenter\" Text=\"kept\">"
                             "<Highlights><item Condition=\"A\" InteractiveType=\"ihSometimes\" uin=\"4\"/></Highlights>"
                             "</TzelMemoView>"));
    EXPECT_EQ(errors, (QStringList{"'7' is not a valid value of FillType", "'99' is not a valid value of Typ",
                                   "'haNowhere' is not a valid value of HAlign", "'wide' is not a valid value of GapX",
                                   "'x' is not a valid value of Rotation"}));
    // Collections are read by the object itself, which hands its errors to the report.
    EXPECT_TRUE(report.Errors().Items().contains(QStringLiteral("'ihSometimes' is not a valid value of InteractiveType")));
    TzelMemoView *memo = memoOf(report);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->HAlign, haLeft);
    EXPECT_EQ(memo->VAlign, vaCenter);
    EXPECT_EQ(memo->Text(), QStringLiteral("kept"));
    ASSERT_EQ(memo->Highlights().Count(), 1);
    EXPECT_EQ(memo->Highlights().Items(0)->UniqueIndex, 4);
}

TEST_F(MemoView, InheritedHighlightsAreMatchedByTheirUniqueIndex)
{
    FakeDialogService dialogs;
    QTemporaryDir dir;
    {
        TzelReport parent;
        auto *memo = new TzelMemoView(&parent);
        memo->SetName(QStringLiteral("Memo1"));
        memo->Highlights().Add()->Condition = QStringLiteral("A");
        memo->Highlights().Add()->Condition = QStringLiteral("B");
        parent.SaveToFile(dir.filePath(QStringLiteral("parent.zt3")));
    }
    zelWriteFile(dir.filePath(QStringLiteral("child.zt3")),
                 templateWith("<inherited Name=\"Memo1\"><Highlights>"
                              "<item InheritedName=\"zelUIN2\" Condition=\"B2\" uin=\"2\"/>"
                              "<item Condition=\"C\" uin=\"3\"/>"
                              "<item InheritedName=\"zelUIN9\" Condition=\"gone\" uin=\"9\"/>"
                              "</Highlights></inherited>")
                     .replace("<TzelReport>", "<TzelReport ParentReport=\"parent.zt3\">"));

    const auto conditions = [](const TzelReport &report) {
        QStringList list;
        const auto *memo = dynamic_cast<const TzelMemoView *>(report.FindObject(QStringLiteral("Memo1")));
        for (int i = 0; memo && i < memo->Highlights().Count(); ++i)
            list << memo->Highlights().Items(i)->Condition + u'/' + QString::number(memo->Highlights().Items(i)->UniqueIndex);
        return list;
    };
    TzelReport report;
    ASSERT_TRUE(report.LoadFromFile(dir.filePath(QStringLiteral("child.zt3"))));
    EXPECT_TRUE(report.Errors().IsEmpty()) << qPrintable(report.ErrorsText());
    EXPECT_EQ(conditions(report), (QStringList{"A/1", "B2/2", "C/3"}));

    // Saved again, inherited entries carry their inherited name and only what changed.
    report.SaveToFile(dir.filePath(QStringLiteral("again.zt3")));
    const QByteArray again = zelReadFile(dir.filePath(QStringLiteral("again.zt3")));
    EXPECT_TRUE(again.contains("<item InheritedName=\"zelUIN1\" uin=\"1\"/>")) << again.toStdString();
    EXPECT_TRUE(again.contains("<item InheritedName=\"zelUIN2\" Condition=\"B2\" uin=\"2\"/>")) << again.toStdString();
    TzelReport reread;
    ASSERT_TRUE(reread.LoadFromFile(dir.filePath(QStringLiteral("again.zt3"))));
    EXPECT_EQ(conditions(reread), conditions(report));
}

TEST_F(MemoView, NamingAStyleOfTheReportAppliesItsLook)
{
    TzelReport report;
    TzelStyleItem *style = report.Styles().Add();
    style->SetName(QStringLiteral("Title"));
    style->Font().SetName(QStringLiteral("Georgia"));
    style->SetFillType(ftGlass);
    style->Frame().Typ = {ftTop};
    style->ApplyFrame = false;
    auto *memo = new TzelMemoView(&report);

    memo->SetStyle(QStringLiteral("title"));
    EXPECT_EQ(memo->Style(), QStringLiteral("title"));
    EXPECT_EQ(memo->Font().Name(), QStringLiteral("Georgia"));
    EXPECT_FALSE(memo->ParentFont());
    EXPECT_EQ(memo->FillType(), ftGlass);
    EXPECT_TRUE(memo->Frame().Typ.IsEmpty()); // the style does not apply its frame

    memo->SetStyle(QStringLiteral("Nothing"));
    EXPECT_EQ(memo->Style(), QStringLiteral("Nothing"));
    EXPECT_EQ(memo->Font().Name(), QStringLiteral("Georgia")); // no such style: the look stays
}
