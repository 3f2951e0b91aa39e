#include "model/band/zelband.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelnullband.h"
#include "model/page/zelpage.h"
#include "model/reflect/zelclassregistry.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"
#include "model/view/zellineview.h"
#include "model/view/zelmemoview.h"
#include "model/component/zelpicturestore.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelshapeview.h"
#include "diff_testsupport.h"
#include "view_testsupport.h"

#include <functional>
#include <memory>

// The difference texts printed objects are stored with, and their reading
// back through the ordinary attribute reader.

namespace {

using DiffTest = ModelTest;

// A template object and a copy of it that the test then changes.
template <class T>
struct Pair
{
    T original;
    T copy;
    Pair() = default;
    explicit Pair(const std::function<void(T &)> &setup)
    {
        setup(original);
        copy.Assign(&original);
    }
    QString diff() { return copy.Diff(&original); }
};

// Counts the pictures it is handed and numbers them from 7.
class TzelCountingPictureStore : public TzelPictureStore
{
public:
    void AddPicture(TzelPictureView *picture) override { picture->ImageIndex = 7 + Calls++; }
    int Calls = 0;
};

} // namespace

TEST_F(DiffTest, TextObjectsAlwaysCarryTheirTextAndHint)
{
    struct Case
    {
        QString text;
        QString hint;
        QString expected;
    };
    const Case cases[] = {
        {QString(), QString(), R"( u="")"},
        {QStringLiteral("Total"), QString(), R"( u="Total")"},
        {QStringLiteral("a \"b\" & c\r\nsecond"), QString(), R"( u="a &#34;b&#34; &#38; c&#13;&#10;second")"},
        {QStringLiteral("x"), QStringLiteral("tip <1>"), R"( u="x" Hint="tip &#60;1&#62;")"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        Pair<TzelMemoView> p([&](TzelMemoView &m) {
            m.SetBounds(10, 20, 100, 18);
            m.SetText(QStringLiteral("template text"));
            m.Hint = c.hint; // equal in both: written all the same
        });
        p.copy.SetText(c.text);
        EXPECT_EQ(p.diff(), c.expected);
    }
}

TEST_F(DiffTest, TextOptionsInOrderAndWidthLeftOutWhenAutoWidth)
{
    Pair<TzelMemoView> p;
    p.copy.SetWidth(200);
    p.copy.AutoWidth = true;
    p.copy.CharSpacing = 0.5;
    p.copy.GapX = 2.00005; // within 0.0001: equal
    p.copy.GapY = 3;
    p.copy.HAlign = haBlock;
    p.copy.UseDefaultCharset = true;
    p.copy.ParagraphGap = 6;
    p.copy.SetRotation(450);
    p.copy.UnderlinesTextMode = ulmUnderlinesText;
    p.copy.VAlign = vaCenter;
    p.copy.WordWrap = false;
    EXPECT_EQ(p.diff(), R"( AutoWidth="1" CharSpacing="0.5" GapY="3" HAlign="3" UseDefaultCharset="1" u="")"
                        R"( ParagraphGap="6" Rotation="90" UnderlinesTextMode="2" VAlign="2" WordWrap="0")");
}

TEST_F(DiffTest, OnlyASingleDisplayFormatIsWritten)
{
    Pair<TzelMemoView> p;
    p.copy.DisplayFormat().Kind = fkNumeric;
    p.copy.DisplayFormat().FormatStr = QStringLiteral("%2.2n");
    // The template has no format: the copy's is compared with a new one.
    EXPECT_EQ(p.diff(), R"( u="" DisplayFormat.Kind="1" DisplayFormat.FormatStr="%2.2n")");

    p.original.DisplayFormat().Kind = fkNumeric;
    p.copy.DisplayFormat().DecimalSeparator = QStringLiteral(",");
    EXPECT_EQ(p.diff(), R"( u="" DisplayFormat.DecimalSeparator="," DisplayFormat.FormatStr="%2.2n")");

    p.copy.Formats().Add()->Kind = fkDateTime;
    EXPECT_EQ(p.diff(), R"( u="")");
}

TEST_F(DiffTest, ParagraphBreaksMoveOnOnceWritten)
{
    Pair<TzelMemoView> p;
    p.copy.LastParaBreak = true;
    EXPECT_EQ(p.diff(), R"( u="" LastParaBreak="1")");
    EXPECT_TRUE(p.copy.FirstParaBreak);
    EXPECT_FALSE(p.copy.LastParaBreak);

    // The next part of the split text starts with a broken paragraph.
    EXPECT_EQ(p.diff(), R"( u="" FirstParaBreak="1")");
    EXPECT_FALSE(p.copy.FirstParaBreak);

    p.copy.FirstParaBreak = true;
    p.copy.LastParaBreak = true;
    EXPECT_EQ(p.diff(), R"( u="" FirstParaBreak="1" LastParaBreak="1")");
    EXPECT_TRUE(p.copy.FirstParaBreak);
    EXPECT_FALSE(p.copy.LastParaBreak);
}

TEST_F(DiffTest, FrameLinesFollowTheFrameUnlessTheyHoldTheirOwnValue)
{
    struct Case
    {
        const char *name;
        std::function<void(TzelFrame &)> setupTemplate;
        std::function<void(TzelFrame &)> change;
        QString expected;
    };
    const auto none = [](TzelFrame &) {};
    const Case cases[] = {
        {"frame colour only", none, [](TzelFrame &f) { f.SetColor(255); }, R"( Frame.Color="255")"},
        {"one line's colour", none, [](TzelFrame &f) { f.TopLine().SetColor(255); },
         R"( Frame.TopLine.Color="255")"},
        {"frame colour and a line of its own", none,
         [](TzelFrame &f) {
             f.SetColor(255);
             f.BottomLine().SetColor(0xFF00);
         },
         R"( Frame.Color="255" Frame.BottomLine.Color="65280")"},
        // The template's own line colour is no difference...
        {"template line kept", [](TzelFrame &f) { f.LeftLine().SetColor(255); }, none, QString()},
        // ...but once the frame colour is written, the line must be too.
        {"template line kept under a new frame colour", [](TzelFrame &f) { f.LeftLine().SetColor(255); },
         [](TzelFrame &f) {
             f.SetColor(0xFF0000);
             f.LeftLine().SetColor(255);
         },
         R"( Frame.Color="16711680" Frame.LeftLine.Color="255")"},
        {"widths", none,
         [](TzelFrame &f) {
             f.SetWidth(2);
             f.TopLine().SetWidth(3);
             f.RightLine().SetStyle(fsDot);
         },
         R"( Frame.Width="2" Frame.TopLine.Width="3" Frame.RightLine.Style="2")"},
        {"frame-level values in order", none,
         [](TzelFrame &f) {
             f.Typ = {ftLeft, ftTop};
             f.SetStyle(fsDash);
             f.ShadowWidth = 2.5;
             f.ShadowColor = -2147483640;
             f.DropShadow = true;
         },
         R"( Frame.DropShadow="1" Frame.ShadowColor="-2147483640" Frame.ShadowWidth="2.5" Frame.Style="1")"
         R"( Frame.Typ="5")"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Pair<TzelShapeView> p([&](TzelShapeView &s) { c.setupTemplate(s.Frame()); });
        c.change(p.copy.Frame());
        EXPECT_EQ(p.diff(), c.expected);
    }
}

TEST_F(DiffTest, FillsWriteEveryAttributeWhenTheirKindChanged)
{
    struct Case
    {
        const char *name;
        TzelFillType templateKind;
        std::function<void(TzelView &)> change;
        QString expected;
    };
    const Case cases[] = {
        {"brush colour", ftBrush, [](TzelView &v) { v.SetColor(255); }, R"( Fill.BackColor="255")"},
        {"brush to gradient", ftBrush, [](TzelView &v) { v.SetFillType(ftGradient); },
         R"( FillType="1" Fill.StartColor="16777215" Fill.EndColor="0" Fill.GradientStyle="0")"},
        {"gradient to brush", ftGradient, [](TzelView &v) { v.SetFillType(ftBrush); },
         R"( FillType="0" Fill.BackColor="536870911" Fill.ForeColor="0" Fill.Style="0")"},
        {"brush to glass", ftBrush, [](TzelView &v) { v.SetFillType(ftGlass); },
         R"( FillType="2" Fill.Color="8421504" Fill.Blend="0.5" Fill.Hatch="0" Fill.Orientation="1")"},
        // A blend is written on any change, however small.
        {"glass blend", ftGlass, [](TzelView &v) { static_cast<TzelGlassFill &>(v.Fill()).Blend = 0.50001; },
         R"( Fill.Blend="0.50001")"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Pair<TzelShapeView> p([&](TzelShapeView &s) { s.SetFillType(c.templateKind); });
        c.change(p.copy);
        EXPECT_EQ(p.diff(), c.expected);
    }
}

TEST_F(DiffTest, ViewAttributesInOrder)
{
    Pair<TzelShapeView> p;
    p.copy.Editable = {ferAllowInExport};
    p.copy.Hyperlink().ValuesSeparator = QStringLiteral(",");
    p.copy.Hyperlink().Expression = QStringLiteral("[Expr]"); // evaluated by print time: not written
    p.copy.SetURL(QStringLiteral("#a&b"));
    p.copy.TagStr = QStringLiteral("t");
    p.copy.Visibility = {vsPreview, vsPrint};
    p.copy.Cursor = -21;
    p.copy.Frame().Typ = {ftBottom};
    p.copy.Align = baCenter;
    p.copy.Shape = skEllipse;
    p.copy.SetVisible(false);
    EXPECT_EQ(p.diff(), R"( Visible="0" Align="3" Frame.Typ="8" Cursor="-21" Visibility="5" TagStr="t")"
                        R"( Hyperlink.Kind="1" Hyperlink.Value="a&#38;b" Hyperlink.ValuesSeparator="," Editable="2")"
                        R"( Shape="2")");
}

TEST_F(DiffTest, LinesAddDirectionAndArrows)
{
    Pair<TzelLineView> p;
    p.copy.ArrowWidth = 7;
    p.copy.ArrowStart = true;
    p.copy.ArrowLength = 30;
    p.copy.Diagonal = true;
    EXPECT_EQ(p.diff(), R"( Diagonal="1" ArrowLength="30" ArrowStart="1" ArrowWidth="7")");
    p.copy.SetColor(0xFF);
    EXPECT_EQ(p.diff(), R"( Fill.BackColor="255" Diagonal="1" ArrowLength="30" ArrowStart="1")"
                        R"( ArrowWidth="7" Color="255")");
}

TEST_F(DiffTest, PicturesAreStoredOncePerChangeAndAlwaysCarryTheirIndex)
{
    TzelCountingPictureStore store;
    TzelReport report;
    TzelPictureView original;
    auto *picture = new TzelPictureView(&report);
    picture->Picture().LoadFromData(zelTestPng(2, 2));
    ASSERT_TRUE(picture->PictureChanged);

    // Without a store the picture waits for one.
    EXPECT_EQ(picture->Diff(&original), R"(  ImageIndex="0")");
    EXPECT_TRUE(picture->PictureChanged);

    report.SetPictureStore(&store);
    EXPECT_EQ(picture->Diff(&original), R"(  ImageIndex="7")");
    EXPECT_FALSE(picture->PictureChanged);
    picture->Transparent = true;
    picture->TransparentColor = 255;
    picture->SetLeft(5);
    EXPECT_EQ(picture->Diff(&original), R"(  l="5" ImageIndex="7" Transparent="1" TransparentColor="255")");
    EXPECT_EQ(store.Calls, 1);

    picture->Picture().LoadFromData(zelTestPng(3, 2));
    picture->Diff(&original);
    EXPECT_EQ(store.Calls, 2);
    EXPECT_EQ(picture->ImageIndex, 8);
}

TEST_F(DiffTest, GroupHeadersAddTheirDrillNameWhenTheyDrillDown)
{
    Pair<TzelGroupHeader> p([](TzelGroupHeader &g) { g.SetTop(12); });
    p.copy.DrillName = QStringLiteral("Group \"<1>\"");
    EXPECT_EQ(p.diff(), R"( t="12")");
    p.copy.DrillDown = true;
    EXPECT_EQ(p.diff(), R"( t="12" DrillName="Group &#34;&#60;1&#62;&#34;")");
}


TEST_F(DiffTest, EveryPrintedClassReadsItsDifferencesBack)
{
    QStringList covered;
    for (const TzelClassInfo *cls : TzelClassRegistry::Classes()) {
        if (!cls->InheritsFrom(TzelView::StaticClassInfo()) && !cls->InheritsFrom(TzelBand::StaticClassInfo())
            && !cls->InheritsFrom(TzelPage::StaticClassInfo()))
            continue;
        SCOPED_TRACE(cls->ClassName().toStdString());
        const auto make = [cls] {
            return std::unique_ptr<TzelComponent>(dynamic_cast<TzelComponent *>(cls->Create()));
        };
        std::unique_ptr<TzelComponent> original = make(), copy = make(), read = make();
        ASSERT_NE(original, nullptr);
        original->SetBounds(10, 20, 150, 40);
        if (auto *g = dynamic_cast<TzelGroupHeader *>(original.get()))
            g->DrillDown = true;
        copy->Assign(original.get());
        zelChangePrintedCopy(*copy);

        TzelXMLSerializer writer;
        const QString expected = writer.WriteComponentStr(copy.get());
        const QString diff = copy->Diff(original.get());
        read->Assign(original.get());
        TzelXMLSerializer reader;
        reader.XMLToObj(diff, read.get());
        EXPECT_EQ(reader.Errors.Items(), QStringList()) << diff.toStdString();
        EXPECT_EQ(writer.WriteComponentStr(read.get()), expected) << diff.toStdString();
        covered << cls->ClassName();
    }
    for (const char *name : {"TzelMemoView", "TzelPictureView", "TzelGroupHeader", "TzelNullBand", "TzelReportPage"})
        EXPECT_TRUE(covered.contains(QLatin1StringView(name))) << name;
}

// A null band is always placed, yet each attribute appears once: a repeated
// name makes the element malformed XML.
TEST_F(DiffTest, NullBandsNameEachPlaceOnce)
{
    TzelNullBand original;
    TzelNullBand moved;
    moved.SetBounds(5, 7, 100, 100);
    const QString text = moved.AllDiff(&original);
    EXPECT_EQ(text.count(QStringLiteral(" l=\"")), 1) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral(" t=\"")), 1) << text.toStdString();
    TzelNullBand still;
    EXPECT_TRUE(still.AllDiff(&original).contains(QStringLiteral(" l=\"0\"")));
}
