// Text layout without pixels: line breaks, measures, splitting, and the text
// runs and lines drawn, read back from a recording canvas.
#include "engine/render/canvas/zelfontresolver.h"
#include "engine/render/canvas/zelrecordingcanvas.h"
#include "engine/render/draw/zelviewdrawstate.h"
#include "engine/render/text/zeldrawtext.h"
#include "engine/render/text/zelmemotext.h"
#include "model/component/zelfont.h"
#include "model/view/zelmemoview.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <atomic>
#include <thread>

namespace {

constexpr int red = 0x0000FF;

TzelFont makeFont(const char *name, int size = 10, TzelFontStyles style = {})
{
    TzelFont font;
    font.SetName(QLatin1StringView(name));
    font.SetSize(size);
    font.SetStyle(style);
    return font;
}

// Every character of this face is as wide as every other.
TzelFont mono()
{
    return makeFont("Courier New");
}

struct Options
{
    bool WordWrap = true;
    bool Tags = false;
    bool WordBreak = false;
    bool Rtl = false;
    bool Wysiwyg = true;
    int Rotation = 0;
    double LineSpacing = 2;
    double ParagraphGap = 0;
};

// Layout of Font in a Width x Height rectangle drawn at Scale from (Left, Top).
void setUp(TzelDrawText &layout, double width, const Options &o = {}, const TzelFont &font = mono(),
           double height = 1000, double scale = 1, QPoint topLeft = {})
{
    layout.SetFont(font);
    layout.SetOptions(o.WordWrap, o.Tags, o.Rotation, o.Wysiwyg, true, o.WordBreak, o.Rtl);
    layout.SetGaps(o.LineSpacing, 0, o.ParagraphGap);
    const QRect device(topLeft, QSize(qRound(width * scale), qRound(height * scale)));
    layout.SetDimensions(QRectF(0, 0, width, height), device, 1, scale, scale);
}

// Width in units of one character of the fixed-pitch face.
double charWidth()
{
    static const double width = [] {
        TzelDrawText layout;
        setUp(layout, 1000);
        layout.SetText(QStringLiteral("a"));
        return layout.CalcWidth();
    }();
    return width;
}

// A line width that holds Chars characters of the fixed-pitch face, not one more.
double widthFor(double chars)
{
    return (chars + 0.5) * charWidth();
}

QString wrapped(const QString &text, double chars, const Options &o = {}, bool firstParaBreak = false)
{
    TzelDrawText layout;
    setUp(layout, widthFor(chars), o);
    layout.SetText(text, firstParaBreak);
    return layout.GetWrappedText();
}

QString bars(const char16_t *text)
{
    return QString::fromUtf16(text).replace(u'|', QLatin1StringView("\r\n"));
}

std::vector<TzelCanvasText> runsOf(const RecordingCanvas &canvas)
{
    std::vector<TzelCanvasText> runs;
    for (const TzelCanvasRecord &record : canvas.Records())
        if (const auto *text = std::get_if<TzelCanvasRecords::Text>(&record))
            runs.push_back(text->Run);
    return runs;
}

std::vector<double> underlinesOf(const RecordingCanvas &canvas)
{
    std::vector<double> ys;
    for (const TzelCanvasRecord &record : canvas.Records())
        if (const auto *line = std::get_if<TzelCanvasRecords::Line>(&record))
            ys.push_back(line->From.y());
    return ys;
}

double widthOf(const TzelCanvasText &run)
{
    double width = 0;
    for (double a : run.Advances)
        width += a;
    return width;
}

// Runs of unrotated text gathered into lines by their top.
struct DrawnLine
{
    double Left;
    double Top;
    double Width;
    QString Text;
    std::vector<TzelCanvasText> Runs;
};

std::vector<DrawnLine> linesOf(const RecordingCanvas &canvas)
{
    std::vector<DrawnLine> lines;
    for (const TzelCanvasText &run : runsOf(canvas)) {
        if (lines.empty() || lines.back().Top != run.Origin.y())
            lines.push_back({run.Origin.x(), run.Origin.y(), 0, QString(), {}});
        DrawnLine &line = lines.back();
        line.Left = std::min(line.Left, run.Origin.x());
        line.Width += widthOf(run);
        line.Text += run.Text;
        line.Runs.push_back(run);
    }
    return lines;
}

// Draws Text laid out in a box Chars characters wide at (10, 20), 100 units high.
RecordingCanvas draw(const QString &text, double chars, const Options &o = {}, TzelHAlign hAlign = haLeft,
                     TzelVAlign vAlign = vaTop, const TzelFont &font = mono())
{
    TzelDrawText layout;
    setUp(layout, widthFor(chars), o, font, 100, 1, QPoint(10, 20));
    layout.SetText(text);
    RecordingCanvas canvas;
    layout.DrawText(canvas, hAlign, ulmNone, vAlign);
    return canvas;
}

} // namespace

TEST(DrawTextLayout, WrapsAtBlanksCutsLongWordsAndHyphenates)
{
    Options tags;
    tags.Tags = true;
    Options noWrap;
    noWrap.WordWrap = false;
    Options hyphens;
    hyphens.WordBreak = true;
    const struct
    {
        const char16_t *Text;
        double Chars;
        Options Opts;
        const char16_t *Lines;
    } cases[] = {
        {u"aaa bbb ccc", 7, {}, u"aaa bbb|ccc"},
        {u"aaa bbb ccc", 11, {}, u"aaa bbb ccc"},
        {u"aaa bbb ccc", 5, noWrap, u"aaa bbb ccc"},
        {u"abcdefghijkl", 5, {}, u"abcde|fghij|kl"},
        {u"ab", -0.2, {}, u"a|b"},
        {u"aaa bbb ", 7, {}, u"aaa bbb"},
        {u"aaa  bbb", 4, {}, u"aaa |bbb"},
        {u"a\r\n\nb\rc", 5, {}, u"a| |b|c"},
        {u"\r\n", 5, {}, u" | "},
        {u"aaa <nowrap>bbb ccc</nowrap>", 9, tags, u"aaa|bbb ccc"},
        {u"<b>aa</b> <i>bb</i>", 3, tags, u"aa|bb"},
        {u"<q>aa</q>", 3, tags, u"<q>|aa<|/q>"},
        {u"abcdefghijkl", 5, hyphens, u"abcde|fghij|kl"},
        {u"да молоко", 7, hyphens, u"да мо-|локо"},
        {u"молокомолоко", 5, hyphens, u"моло-|комо-|локо"},
        {u"ванна ванна", 10, hyphens, u"ванна ван-|на"},
        // A doubled consonant before a vowel keeps the vowel before it.
        {u"ванна ванна", 9, hyphens, u"ванна|ванна"},
        // No break after a vowel followed by Й.
        {u"да майка", 7, hyphens, u"да май-|ка"},
        {u"да майка", 6, hyphens, u"да|майка"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wrapped(QString::fromUtf16(c.Text), c.Chars, c.Opts), bars(c.Lines))
            << QString::fromUtf16(c.Text).toStdString() << " in " << c.Chars;
    EXPECT_EQ(wrapped(QString(), 5), QString());
}

TEST(DrawTextLayout, ParagraphGapNarrowsFirstLinesUnlessTheParagraphGoesOn)
{
    const QString text = QStringLiteral("aa bb cc dd\r\naa bb cc dd");
    const struct
    {
        double Gap;
        bool FirstParaBreak;
        const char16_t *Lines;
        double WidestChars;
    } cases[] = {
        {0, false, u"aa bb cc|dd|aa bb cc|dd", 8},
        {3, false, u"aa bb|cc dd|aa bb|cc dd", 8},
        {3, true, u"aa bb cc|dd|aa bb|cc dd", 8},
        {1, true, u"aa bb cc|dd|aa bb|cc dd", 8},
        {1, false, u"aa bb|cc dd|aa bb|cc dd", 6},
    };
    for (const auto &c : cases) {
        Options o;
        o.ParagraphGap = c.Gap * charWidth();
        TzelDrawText layout;
        setUp(layout, widthFor(8), o);
        layout.SetText(text, c.FirstParaBreak);
        EXPECT_EQ(layout.GetWrappedText(), bars(c.Lines)) << c.Gap << " " << c.FirstParaBreak;
        EXPECT_NEAR(layout.CalcWidth(), c.WidestChars * charWidth(), 1e-9) << c.Gap << " " << c.FirstParaBreak;
    }
}

TEST(DrawTextLayout, HeightsFollowLinesSpacingAndTheFontCell)
{
    TzelDrawText layout;
    setUp(layout, widthFor(7));
    layout.SetText(QString());
    EXPECT_EQ(layout.CalcHeight(), 0);
    EXPECT_EQ(layout.CalcWidth(), 0);

    layout.SetText(QStringLiteral("aaa bbb ccc\r\n"));
    EXPECT_NEAR(layout.CalcHeight(), 3 * layout.LineHeight(), 1e-9);

    // A negative spacing is given back once, so the last line is not cut.
    Options tight;
    tight.LineSpacing = -2;
    setUp(layout, widthFor(7), tight);
    layout.SetText(QStringLiteral("aaa bbb ccc\r\n"));
    EXPECT_NEAR(layout.CalcHeight(), 3 * layout.LineHeight() + 2, 1e-9);

    // Lines as high as the em: large fonts get the rest of their cell once.
    const auto face = TzelFontResolver::Face(QStringLiteral("Courier New"), 117, {});
    for (int size : {12, 14}) {
        setUp(layout, 1000, {}, makeFont("Courier New", size));
        layout.SetUseOldLineHeight(true);
        layout.SetText(QStringLiteral("a\r\nb"));
        EXPECT_NEAR(layout.LineHeight(), layout.TextHeight() + 2, 1e-9);
        const double cellRest = size > 12 ? (face->CellHeight() - 117) / 6.25 : 0;
        EXPECT_NEAR(layout.CalcHeight(), 2 * layout.LineHeight() + cellRest, 1e-9) << size;
    }
}

TEST(DrawTextLayout, TurnedTextWrapsAtTheRectangleHeight)
{
    for (int rotation : {90, 270}) {
        TzelDrawText layout;
        layout.SetFont(mono());
        layout.SetOptions(true, false, rotation, true, true, false, false);
        layout.SetGaps(2, 0, 0);
        layout.SetDimensions(QRectF(0, 0, 1000, widthFor(7)), QRect(0, 0, 1000, 100), 1, 1, 1);
        layout.SetText(QStringLiteral("aaa bbb ccc"));
        EXPECT_EQ(layout.GetWrappedText(), bars(u"aaa bbb|ccc")) << rotation;
    }
}

TEST(DrawTextSplit, KeptAndRestRejoinToTheTextAtEveryHeight)
{
    const QString text = QStringLiteral("aaa bbb ccc ddd\r\neee\r\n\r\nfff ggg hhh");
    TzelDrawText layout;
    setUp(layout, widthFor(7));
    layout.SetText(text);
    const QStringList all = layout.GetWrappedText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(all.size(), 6);
    const double lineHeight = layout.LineHeight();

    for (int fit = 0; fit <= 6; ++fit) {
        SCOPED_TRACE(fit);
        const double height = fit * lineHeight + 0.25;
        setUp(layout, widthFor(7), {}, mono(), height);
        layout.SetText(text);
        bool paraBreak = true;
        const QString kept = layout.GetInBoundsText();
        const QString rest = layout.GetOutBoundsText(paraBreak);
        EXPECT_NEAR(layout.UnusedSpace(), fit == 0 ? 0 : 0.25, 1e-9);
        if (fit == 0) {
            EXPECT_EQ(kept, QString());
            EXPECT_EQ(rest, text);
            continue;
        }
        if (fit == 6) {
            EXPECT_EQ(kept, text);
            EXPECT_EQ(rest, QString());
            EXPECT_FALSE(paraBreak);
            continue;
        }
        // A cut inside a paragraph drops the blank it broke at.
        EXPECT_EQ(kept + (paraBreak ? QStringLiteral(" ") : QStringLiteral("\r\n")) + rest, text);

        // Each part laid out again gives exactly its own lines.
        TzelDrawText part;
        setUp(part, widthFor(7));
        part.SetText(kept);
        EXPECT_EQ(part.GetWrappedText(), all.mid(0, fit).join(QStringLiteral("\r\n")));
        part.SetText(rest, paraBreak);
        EXPECT_EQ(part.GetWrappedText(), all.mid(fit).join(QStringLiteral("\r\n")));
    }

    // Lines that fill the rectangle exactly still leave a little room.
    setUp(layout, widthFor(7), {}, mono(), 2 * lineHeight);
    layout.SetText(text);
    EXPECT_DOUBLE_EQ(layout.UnusedSpace(), 1e-4);
}

TEST(DrawTextSplit, HyphensTagsAndParagraphEnds)
{
    Options hyphens;
    hyphens.WordBreak = true;
    Options tags;
    tags.Tags = true;
    const struct
    {
        const char16_t *Text;
        Options Opts;
        const char16_t *Kept;
        const char16_t *Rest;
        bool ParaBreak;
    } cases[] = {
        {u"да молоко", hyphens, u"да мо-", u"локо", true},
        {u"<b>aaa bbb</b> <font color=\"#FF0000\">ccc ddd</font>", tags, u"<b>aaa bbb",
         u"<font color=\"#FF0000\">ccc ddd</font>", true},
        {u"<b>aaa\r\nbbb</b>", tags, u"<b>aaa", u"<b><font color=\"#000000\">bbb</b>", false},
        {u"aaa bbb\r\nccc", {}, u"aaa bbb", u"ccc", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        TzelDrawText layout;
        setUp(layout, widthFor(7), c.Opts, mono());
        const double lineHeight = layout.LineHeight();
        setUp(layout, widthFor(7), c.Opts, mono(), lineHeight);
        layout.SetText(QString::fromUtf16(c.Text));
        bool paraBreak = !c.ParaBreak;
        EXPECT_EQ(layout.GetInBoundsText(), QString::fromUtf16(c.Kept));
        EXPECT_EQ(layout.GetOutBoundsText(paraBreak), QString::fromUtf16(c.Rest));
        EXPECT_EQ(paraBreak, c.ParaBreak);
    }

    // A text whose last paragraph goes on in a later part ends inside it.
    TzelDrawText layout;
    setUp(layout, widthFor(7));
    layout.SetText(QStringLiteral("aaa"));
    layout.SetParaBreaks(false, true);
    bool paraBreak = false;
    EXPECT_EQ(layout.GetOutBoundsText(paraBreak), QString());
    EXPECT_TRUE(paraBreak);
}

TEST(DrawTextDrawing, EveryLineTakesItsLaidOutWidthOnEveryDevice)
{
    const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog. Pack my box with five dozen "
                                        "liquor jugs.\r\nSphinx of black quartz, judge my vow!");
    const double width = 150;
    const struct
    {
        double Dpi;
        bool Printer;
    } devices[] = {{96, false}, {300, false}, {600, false}, {300, true}, {600, true}};
    for (const auto &d : devices) {
        SCOPED_TRACE(d.Dpi);
        SCOPED_TRACE(d.Printer);
        const double scale = d.Dpi / 96;
        TzelDrawText layout;
        setUp(layout, width, {}, makeFont("Arial"), 400, scale);
        layout.SetText(text);
        const QStringList expected = layout.GetWrappedText().split(QStringLiteral("\r\n"));
        RecordingCanvas canvas(d.Dpi, d.Dpi, d.Printer);
        layout.DrawText(canvas, haLeft, ulmNone, vaTop);
        const std::vector<DrawnLine> lines = linesOf(canvas);
        ASSERT_EQ(lines.size(), size_t(expected.size()));
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].Text, expected[int(i)]);
            TzelDrawText alone;
            setUp(alone, 1000, {}, makeFont("Arial"));
            alone.SetText(expected[int(i)]);
            EXPECT_EQ(lines[i].Width, qRound(alone.CalcWidth() * scale)) << expected[int(i)].toStdString();
        }
        // The block is as tall as laid out, scaled.
        const double span = lines.back().Top - lines.front().Top;
        EXPECT_NEAR(span, (lines.size() - 1) * layout.LineHeight() * scale, 1.5);
        EXPECT_EQ(layout.GetFontHeight(canvas), qRound(10 * d.Dpi / 72));
    }
}

TEST(DrawTextDrawing, LinesAlignInsideTheRectangle)
{
    Options rtl;
    rtl.Rtl = true;
    const double box = qRound(widthFor(12));
    const struct
    {
        TzelHAlign Align;
        Options Opts;
        TzelFontStyles Style;
        double Right;  // where the line ends, or 0 when it starts at the left
    } cases[] = {
        {haLeft, {}, {}, 0},
        {haBlock, {}, {}, 0},
        {haRight, {}, {}, 10 + box},
        {haRight, {}, {fsBold}, 10 + box - 1},
        {haRight, rtl, {}, 10 + box},
        {haBlock, rtl, {}, 10 + box},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.Align));
        const TzelFont font = makeFont("Courier New", 10, c.Style);
        const std::vector<DrawnLine> lines =
            linesOf(draw(QStringLiteral("ab cd"), 12, c.Opts, c.Align, vaTop, font));
        ASSERT_EQ(lines.size(), 1u);
        if (c.Right == 0)
            EXPECT_EQ(lines[0].Left, 10);
        else
            EXPECT_EQ(lines[0].Left + lines[0].Width, c.Right);
    }
    const DrawnLine centred = linesOf(draw(QStringLiteral("ab cd"), 12, {}, haCenter))[0];
    EXPECT_EQ(centred.Left, 10 + std::floor((box - centred.Width) / 2));

    const double top = linesOf(draw(QStringLiteral("ab"), 12, {}, haLeft, vaTop))[0].Top;
    const double bottom = linesOf(draw(QStringLiteral("ab"), 12, {}, haLeft, vaBottom))[0].Top;
    const double centre = linesOf(draw(QStringLiteral("ab"), 12, {}, haLeft, vaCenter))[0].Top;
    EXPECT_EQ(top, 20);
    EXPECT_GT(bottom, 100);
    EXPECT_EQ(centre - top, std::trunc((bottom - top) / 2));

    // Negative spacing at the bottom moves the text up by twice its size.
    Options tight;
    tight.LineSpacing = -3;
    const double tightBottom = linesOf(draw(QStringLiteral("ab"), 12, tight, haLeft, vaBottom))[0].Top;
    // The line is 5 pixels less high, and its block rises by 6.
    EXPECT_EQ(tightBottom, bottom - 1);
}

TEST(DrawTextDrawing, JustifiedLinesFillTheWidthExceptParagraphEnds)
{
    const QString text = QStringLiteral("aa bb cc dd ee ff gg hh ii jj kk");
    const double box = qRound(widthFor(10));
    const std::vector<DrawnLine> lines = linesOf(draw(text, 10, {}, haBlock));
    ASSERT_EQ(lines.size(), 4u);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].Left, 10);
        EXPECT_EQ(lines[i].Width, box);
        // The extra room goes evenly to the blanks.
        std::vector<double> blanks;
        const TzelCanvasText &run = lines[i].Runs[0];
        for (qsizetype k = 0; k < run.Text.size(); ++k)
            if (run.Text[k] == u' ')
                blanks.push_back(run.Advances[k]);
        EXPECT_LE(*std::max_element(blanks.begin(), blanks.end()) - *std::min_element(blanks.begin(), blanks.end()),
                  1);
    }
    EXPECT_EQ(lines.back().Left, 10);
    EXPECT_LT(lines.back().Width, box - 10);

    // Without blanks a line stays left-aligned at its own width.
    for (const DrawnLine &line : linesOf(draw(QStringLiteral("abcdefghijklmnopqrstuvwxy"), 10, {}, haBlock))) {
        EXPECT_EQ(line.Left, 10);
        EXPECT_EQ(line.Runs[0].Advances.size(), line.Text.size());
    }

    // A paragraph that goes on in the next part is justified to its end.
    TzelDrawText layout;
    setUp(layout, widthFor(10), {}, mono(), 100, 1, QPoint(10, 20));
    layout.SetText(text);
    layout.SetParaBreaks(false, true);
    RecordingCanvas canvas;
    layout.DrawText(canvas, haBlock, ulmNone, vaTop);
    EXPECT_EQ(linesOf(canvas).back().Width, box);
}

TEST(DrawTextDrawing, TurnedTextStartsAtItsCornerAndStacksLinesAcross)
{
    const struct
    {
        int Rotation;
        QPointF First;
        QPointF Step;  // sign of the move to the second line
    } cases[] = {
        {0, {10, 20}, {0, 1}},
        {90, {10, 80}, {1, 0}},
        {180, {90, 80}, {0, -1}},
        {270, {90, 20}, {-1, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Rotation);
        TzelDrawText layout;
        layout.SetFont(mono());
        layout.SetOptions(true, false, c.Rotation, true, true, false, false);
        layout.SetGaps(2, 0, 0);
        layout.SetDimensions(QRectF(0, 0, 80, 60), QRect(10, 20, 80, 60), 1, 1, 1);
        layout.SetText(QStringLiteral("a\r\nb"));
        RecordingCanvas canvas;
        layout.DrawText(canvas, haLeft, ulmUnderlinesAll, vaTop);
        const std::vector<TzelCanvasText> runs = runsOf(canvas);
        ASSERT_EQ(runs.size(), 2u);
        EXPECT_EQ(runs[0].Origin, c.First);
        EXPECT_EQ(runs[0].Angle, c.Rotation);
        const QPointF step = runs[1].Origin - runs[0].Origin;
        EXPECT_EQ(QPointF(std::clamp(step.x(), -1.0, 1.0), std::clamp(step.y(), -1.0, 1.0)), c.Step);
        // Only unturned text is underlined.
        EXPECT_EQ(underlinesOf(canvas).empty(), c.Rotation != 0);
    }

    // At other angles the turned block stays inside the rectangle.
    TzelDrawText layout;
    layout.SetFont(mono());
    layout.SetOptions(true, false, 30, true, true, false, false);
    layout.SetGaps(2, 0, 0);
    layout.SetDimensions(QRectF(0, 0, 80, 80), QRect(10, 20, 80, 80), 1, 1, 1);
    layout.SetText(QStringLiteral("abc\r\ndef"));
    RecordingCanvas canvas;
    layout.DrawText(canvas, haLeft, ulmNone, vaTop);
    for (const TzelCanvasText &run : runsOf(canvas)) {
        EXPECT_EQ(run.Angle, 30);
        EXPECT_TRUE(QRectF(10, 20, 80, 80).contains(run.Origin)) << run.Origin.x() << "," << run.Origin.y();
    }
}

TEST(DrawTextDrawing, TagsMakeRunsWithTheirOwnLook)
{
    Options tags;
    tags.Tags = true;
    for (bool mono : {false, true}) {
        SCOPED_TRACE(mono);
        TzelDrawText layout;
        setUp(layout, 1000, tags, makeFont("Arial"), 100, 2, QPoint(0, 0));
        layout.SetMonoFont(mono);
        layout.SetText(QStringLiteral("<b>bold</b> <font color=\"#FF0000\">red</font> x<sub>2</sub>y<sup>3</sup>"));
        RecordingCanvas canvas;
        RecordingCanvas vector;
        layout.SetVC(&vector);
        layout.DrawText(canvas, haLeft, ulmNone, vaTop);
        const std::vector<TzelCanvasText> runs = runsOf(canvas);
        ASSERT_EQ(runs.size(), 7u);
        const struct
        {
            const char *Text;
            TzelFontStyles Style;
            int Color;
            double PixelSize;
            double Y;
        } expected[] = {
            {"bold", {fsBold}, clBlack, 27, 0}, {" ", {}, clBlack, 27, 0}, {"red", {}, red, 27, 0},
            {" x", {}, clBlack, 27, 0},         {"2", {}, clBlack, 19, 14}, {"y", {}, clBlack, 27, 0},
            {"3", {}, clBlack, 19, 0},
        };
        double x = 0;
        for (size_t i = 0; i < runs.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(runs[i].Text, QLatin1StringView(expected[i].Text));
            EXPECT_EQ(runs[i].Font.Style, expected[i].Style);
            EXPECT_EQ(runs[i].Font.Color, mono ? clBlack : expected[i].Color);
            EXPECT_EQ(runs[i].Font.PixelSize, expected[i].PixelSize);
            EXPECT_EQ(runs[i].Origin, QPointF(x, expected[i].Y));
            EXPECT_EQ(runs[i].Flags, tfClipped);
            x += widthOf(runs[i]);
        }
        EXPECT_EQ(runsOf(vector), runs);
    }
}

TEST(DrawTextDrawing, UnparsableTagsAreDrawnAsText)
{
    Options tags;
    tags.Tags = true;
    const char16_t *texts[] = {
        u"<b>never closed",     u"</b></i></font> closing only", u"<font color=", u"<font color=\"#zzzzzz\">x",
        u"<<<>>>",              u"a<b",                         u"<sub><sup></sub>x</sup>",  u"<",
        u"<nowrap>a b c d e f g h i j k l m n o p",
    };
    for (const char16_t *t : texts) {
        const QString text = QString::fromUtf16(t);
        SCOPED_TRACE(text.toStdString());
        TzelDrawText layout;
        setUp(layout, widthFor(6), tags, mono(), 1000, 1, QPoint(10, 20));
        layout.SetText(text);
        RecordingCanvas canvas;
        layout.DrawText(canvas, haBlock, ulmUnderlinesText, vaCenter);
        QStringList drawn;
        for (const DrawnLine &line : linesOf(canvas))
            drawn << line.Text;
        EXPECT_EQ(drawn.join(QString()), QString(layout.GetWrappedText()).remove(QStringLiteral("\r\n")));
        EXPECT_EQ(layout.GetWrappedText().remove(QStringLiteral("\r\n")).remove(u' '),
                  TzelDrawText::DeleteTags(text).remove(u' '));
    }
}

TEST(DrawTextDrawing, RightToLeftPutsTheFirstRunAtTheRight)
{
    Options rtl;
    rtl.Rtl = true;
    rtl.Tags = true;
    const std::vector<DrawnLine> lines = linesOf(draw(QStringLiteral("<b>ab</b>cd"), 12, rtl));
    ASSERT_EQ(lines.size(), 1u);
    const std::vector<TzelCanvasText> &runs = lines[0].Runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Text, QStringLiteral("ab"));
    EXPECT_EQ(runs[0].Flags, tfClipped | tfRTLReading);
    EXPECT_EQ(runs[1].Origin.x(), 10);
    EXPECT_EQ(runs[0].Origin.x(), 10 + widthOf(runs[1]));
}

TEST(DrawTextDrawing, WithoutWysiwygTheFontsOwnWidthsAreUsed)
{
    Options plain;
    plain.Wysiwyg = false;
    for (const DrawnLine &line : linesOf(draw(QStringLiteral("aa bb cc dd ee"), 6, plain)))
        EXPECT_TRUE(line.Runs[0].Advances.isEmpty());
    const std::vector<DrawnLine> justified = linesOf(draw(QStringLiteral("aa bb cc dd ee"), 6, plain, haBlock));
    EXPECT_EQ(justified[0].Width, qRound(widthFor(6)));
}

TEST(DrawTextDrawing, UnderlinesByMode)
{
    // Lines of text: "a", blank, "b"; the rectangle holds more.
    TzelDrawText probe;
    setUp(probe, widthFor(6));
    probe.SetText(QStringLiteral("a"));
    RecordingCanvas one;
    probe.DrawText(one, haLeft, ulmUnderlinesTextAndEmptyLines, vaTop);
    const double step = underlinesOf(one).at(0);  // one line advance below the top at 0

    const struct
    {
        const char16_t *Text;
        TzelUnderlinesTextMode Mode;
        TzelVAlign VAlign;
        std::vector<double> Steps;  // multiples of the line advance from the top
    } cases[] = {
        {u"a\r\n\r\nb", ulmUnderlinesText, vaTop, {1, 3}},
        {u"a\r\n\r\nb", ulmUnderlinesTextAndEmptyLines, vaTop, {1, 2, 3}},
        {u"a\r\n\r\nb", ulmUnderlinesAll, vaTop, {1, 2, 3, 4, 5, 6}},
        {u"", ulmUnderlinesAll, vaTop, {1, 2, 3, 4, 5, 6}},
        {u"", ulmUnderlinesText, vaTop, {}},
        {u"a\r\n\r\nb", ulmNone, vaTop, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.Mode));
        TzelDrawText layout;
        setUp(layout, widthFor(6), {}, mono(), 6 * step + step / 2);
        layout.SetText(QString::fromUtf16(c.Text));
        RecordingCanvas canvas;
        TzelCanvasPen pen;
        pen.Color = red;
        pen.Width = 2;
        layout.DrawText(canvas, haLeft, c.Mode, c.VAlign, pen);
        std::vector<double> expected;
        for (double s : c.Steps)
            expected.push_back(s * step);
        EXPECT_EQ(underlinesOf(canvas), expected);
        for (const TzelCanvasRecord &record : canvas.Records())
            if (const auto *line = std::get_if<TzelCanvasRecords::Line>(&record)) {
                EXPECT_EQ(line->Pen, pen);
                EXPECT_EQ(line->From.x(), 0);
                EXPECT_EQ(line->To.x(), qRound(widthFor(6)) - 1);
            }
    }

    // Bottom-aligned, the lines go on above the text up to the top.
    TzelDrawText layout;
    setUp(layout, widthFor(6), {}, mono(), 4 * step);
    layout.SetText(QStringLiteral("a"));
    RecordingCanvas canvas;
    layout.DrawText(canvas, haLeft, ulmUnderlinesAll, vaBottom);
    EXPECT_EQ(underlinesOf(canvas), (std::vector<double>{3 * step, 2 * step, step, 0}));
}

namespace {

std::unique_ptr<TzelMemoView> memoAt(const QRectF &bounds, const QString &text)
{
    auto memo = std::make_unique<TzelMemoView>();
    memo->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    memo->SetText(text);
    return memo;
}

double lineHeightOfArial10()
{
    TzelDrawText layout;
    setUp(layout, 1000, {}, makeFont("Arial"));
    return layout.LineHeight();
}

double widthInArial10(const QString &line)
{
    TzelDrawText layout;
    setUp(layout, 10000, {}, makeFont("Arial"));
    layout.SetText(line);
    return layout.CalcWidth();
}

} // namespace

TEST(MemoText, TextRectangleLeavesGapsFrameAndShadow)
{
    const auto memo = memoAt(QRectF(10, 20, 100, 50), QStringLiteral("ab"));
    memo->Frame().Typ = {ftLeft, ftRight, ftTop, ftBottom};
    memo->Frame().SetWidth(2);
    const struct
    {
        TzelHAlign Align;
        bool Shadow;
        double Edge;  // left edge for haLeft, right edge for haRight
    } cases[] = {{haLeft, false, 31}, {haRight, false, 220}, {haRight, true, 212}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.Align));
        memo->HAlign = c.Align;
        memo->Frame().DropShadow = c.Shadow;
        RecordingCanvas canvas;
        TzelViewDrawState state;
        state.Target = &canvas;
        state.ScaleX = state.ScaleY = 2;
        state.OffsetX = 5;
        state.OffsetY = 7;
        state.FrameWidth = 4;
        zelDrawMemoText(*memo, state);
        const std::vector<DrawnLine> lines = linesOf(canvas);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].Top, 51);
        EXPECT_EQ(c.Align == haLeft ? lines[0].Left : lines[0].Left + lines[0].Width, c.Edge);
    }
}

TEST(MemoText, MeasuresIncludeGapsFramesAndShadow)
{
    const QString line = QStringLiteral("Hello wide world");
    const double lineHeight = lineHeightOfArial10();
    const double width = widthInArial10(line);

    auto memo = memoAt(QRectF(0, 0, 200, 50), QStringLiteral("a\r\nb"));
    memo->Frame().Typ = {ftTop, ftBottom, ftLeft};
    memo->Frame().SetWidth(2);
    memo->Frame().DropShadow = true;
    EXPECT_EQ(zelMemoCalcHeight(*memo), qRound(2 * lineHeight + 2 * 1 + 0.5 + 1 + 4));

    // A width that follows the text measures it on one line.
    memo = memoAt(QRectF(0, 0, 20, 50), line);
    memo->AutoWidth = true;
    EXPECT_EQ(zelMemoCalcWidth(*memo), qRound(width + 2 * 2));
    memo->AutoWidth = false;
    EXPECT_LT(zelMemoCalcWidth(*memo), width);

    // Turned a quarter, the height is the length of the line.
    memo->SetRotation(90);
    EXPECT_EQ(zelMemoCalcHeight(*memo), qRound(width + 2 * 1));
    EXPECT_EQ(zelMemoCalcWidth(*memo), qRound(lineHeight + 2 * 2));
}

TEST(MemoText, LayoutsFromSeveralThreadsDoNotInterleave)
{
    const auto narrow = memoAt(QRectF(0, 0, 40, 50), QStringLiteral("one two three four five six seven"));
    const auto wide = memoAt(QRectF(0, 0, 400, 50), QStringLiteral("one two three four five six seven"));
    wide->Font().SetSize(14);
    const double narrowHeight = zelMemoCalcHeight(*narrow);
    const double wideHeight = zelMemoCalcHeight(*wide);
    ASSERT_NE(narrowHeight, wideHeight);

    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                wrong += zelMemoCalcHeight(*narrow) != narrowHeight ? 1 : 0;
                wrong += zelMemoCalcHeight(*wide) != wideHeight ? 1 : 0;
            }
        });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}
