// The tag parser: which tags are recognised, what stays text, the look it
// gives every character, and the tags that restore a look.
#include "engine/render/text/zelhtmltags.h"

#include "model/component/zelcolors.h"

#include <gtest/gtest.h>

namespace {

constexpr int red = 0x0000FF;

TzelHTMLTagsList parser(bool allowTags = true)
{
    TzelHTMLTagsList list;
    list.SetAllowTags(allowTags);
    list.SetDefaults(clBlack, 12, {});
    return list;
}

} // namespace

TEST(HTMLTags, RecognisedTagsGoAndEverythingElseStaysText)
{
    const struct
    {
        const char16_t *Text;
        const char16_t *Plain;
    } cases[] = {
        {u"<b>a</b><I>b</I><U>c</u>", u"abc"},
        {u"<s>a</s><strike>b</STRIKE><nowrap>c</nowrap><sub>d</sub><sup>e</sup>", u"abcde"},
        {u"<font color=\"#FF0000\">a</font><font color='red'>b</font><FONT COLOR = Navy >c", u"abc"},
        {u"<q>a</q>", u"<q>a</q>"},
        {u"a<b", u"a<b"},
        {u"a < b > c", u"a < b > c"},
        {u"<<b>x", u"<x"},
        {u"<font color=nosuch>x</font>", u"<font color=nosuch>x"},
        {u"<font color=clRed>x", u"<font color=clRed>x"},
        {u"<font color=\"#12345\">x", u"<font color=\"#12345\">x"},
        {u"<font color=\"#GG0000\">x", u"<font color=\"#GG0000\">x"},
        {u"<font color=\"red>x", u"<font color=\"red>x"},
        {u"<fontcolor=red>x", u"<fontcolor=red>x"},
        {u"<font size=3>x", u"<font size=3>x"},
        {u"</>x<>", u"</>x<>"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TzelHTMLTagsList::DeleteTags(QString::fromUtf16(c.Text)), QString::fromUtf16(c.Plain))
            << QString::fromUtf16(c.Text).toStdString();
}

TEST(HTMLTags, EveryCharacterCarriesItsLook)
{
    TzelHTMLTagsList list = parser();
    QString line = QStringLiteral("a<b>b<i>c</b></i><font color=\"#FF0000\">d</font><sub>e</sub><sup>f</sup>"
                                  "<nowrap>g</nowrap><u><s>h");
    std::vector<int> source;
    list.ExpandHTMLTags(line, &source);
    ASSERT_EQ(line, QStringLiteral("abcdefgh"));
    ASSERT_EQ(list.Count(), 1);
    const TzelHTMLTags &tags = list.Items(0);
    ASSERT_EQ(tags.size(), 8u);

    const TzelFontStyles bold{fsBold};
    const struct
    {
        TzelFontStyles Style;
        int Color;
        int Size;
        int AddY;
        TzelSubStyle Sub;
        bool DontWrap;
        bool Default;
    } expected[] = {
        {{}, clBlack, 12, 0, ssNormal, false, true},
        {bold, clBlack, 12, 0, ssNormal, false, false},
        {{fsBold, fsItalic}, clBlack, 12, 0, ssNormal, false, false},
        {{}, red, 12, 0, ssNormal, false, false},
        {{}, clBlack, 8, 1, ssSubscript, false, false},
        {{}, clBlack, 8, 0, ssSuperscript, false, false},
        {{}, clBlack, 12, 0, ssNormal, true, false},
        {{fsUnderline, fsStrikeOut}, clBlack, 12, 0, ssNormal, false, false},
    };
    for (size_t i = 0; i < tags.size(); ++i) {
        SCOPED_TRACE(i);
        const TzelHTMLTag &t = tags[i];
        EXPECT_EQ(t.Position, int(i));
        EXPECT_EQ(t.Style, expected[i].Style);
        EXPECT_EQ(t.Color, expected[i].Color);
        EXPECT_EQ(t.Size, expected[i].Size);
        EXPECT_EQ(t.AddY, expected[i].AddY);
        EXPECT_EQ(t.SubType, expected[i].Sub);
        EXPECT_EQ(t.Small, expected[i].Sub != ssNormal);
        EXPECT_EQ(t.DontWRAP, expected[i].DontWrap);
        EXPECT_EQ(t.Default, expected[i].Default);
    }
    EXPECT_EQ(source, (std::vector<int>{0, 4, 8, 39, 52, 64, 79, 95}));
}

TEST(HTMLTags, LooksGoOnAcrossLinesAndEmptyLinesBecomeABlank)
{
    TzelHTMLTagsList list = parser();
    QString first = QStringLiteral("<b>a");
    QString empty = QStringLiteral("<i></i>");
    QString third = QStringLiteral("b</b>c");
    list.ExpandHTMLTags(first);
    list.ExpandHTMLTags(empty);
    const TzelHTMLTag before = list.State();
    list.ExpandHTMLTags(third);

    EXPECT_EQ(empty, QStringLiteral(" "));
    EXPECT_EQ(third, QStringLiteral("bc"));
    ASSERT_EQ(list.Count(), 3);
    // Positions count the line breaks (two characters) between the lines.
    EXPECT_EQ(list.Items(1)[0].Position, 3);
    EXPECT_EQ(before.Position, 6);
    EXPECT_EQ(list.Items(2)[0].Position, 6);
    EXPECT_EQ(list.Items(2)[0].Style, TzelFontStyles{fsBold});
    EXPECT_EQ(list.Items(2)[1].Style, TzelFontStyles{});
    EXPECT_TRUE(before.Style.Contains(fsBold));
}

TEST(HTMLTags, WithoutTagsEverythingIsTextInTheDefaultLook)
{
    TzelHTMLTagsList list = parser(false);
    QString line = QStringLiteral("<b>a</b>");
    list.ExpandHTMLTags(line);
    EXPECT_EQ(line, QStringLiteral("<b>a</b>"));
    for (const TzelHTMLTag &t : list.Items(0)) {
        EXPECT_TRUE(t.Style.IsEmpty());
        EXPECT_EQ(t.Color, clBlack);
        EXPECT_TRUE(t.Default);
    }
}

TEST(HTMLTags, ColoursByNameAndByHexadecimalRedGreenBlue)
{
    const struct
    {
        const char *Value;
        int Color;
    } cases[] = {{"\"#0080FF\"", 0xFF8000}, {"red", red}, {"NAVY", 0x800000}, {"'btnface'", clBtnFace}};
    for (const auto &c : cases) {
        TzelHTMLTagsList list = parser();
        QString line = QStringLiteral("<font color=%1>x").arg(QLatin1StringView(c.Value));
        list.ExpandHTMLTags(line);
        ASSERT_EQ(line, QStringLiteral("x")) << c.Value;
        EXPECT_EQ(list.Items(0)[0].Color, c.Color) << c.Value;
    }
}

TEST(HTMLTags, OpeningTagsRestoreALook)
{
    TzelHTMLTagsList list = parser();
    QString line = QStringLiteral("<b><u><sub><font color=red>x");
    list.ExpandHTMLTags(line);
    const QString opening = TzelHTMLTagsList::OpeningTags(list.Items(0)[0]);
    EXPECT_EQ(opening, QStringLiteral("<b><u><sub><font color=\"#FF0000\">"));

    // Parsed again from the defaults, the tags give the same look.
    TzelHTMLTagsList again = parser();
    QString restored = opening + u'x';
    again.ExpandHTMLTags(restored);
    EXPECT_EQ(restored, QStringLiteral("x"));
    EXPECT_TRUE(again.Items(0)[0].SameLook(list.Items(0)[0]));
    EXPECT_EQ(again.Items(0)[0].SubType, ssSubscript);
}
