// Laid-out text drawn at scale 1 and 2 and compared with golden images:
// wrapping, justification, turned text, tags, right-to-left and underlines.
#include "support/golden.h"
#include "pixels.h"

#include "engine/render/canvas/zelqpaintercanvas.h"
#include "engine/render/text/zeldrawtext.h"
#include "model/component/zelfont.h"

#include <gtest/gtest.h>

namespace {

struct TextCase
{
    const char *Name;
    const char16_t *Text;
    TzelHAlign HAlign = haLeft;
    TzelVAlign VAlign = vaTop;
    int Rotation = 0;
    bool Tags = false;
    bool Rtl = false;
    double ParagraphGap = 0;
    TzelUnderlinesTextMode Underlines = ulmNone;
};

const TextCase cases[] = {
    {.Name = "wrap",
     .Text = u"Text is laid out at 600 dpi, so its lines break alike at every zoom. "
             u"Averyveryverylongwordwiderthantheline is cut."},
    {.Name = "justify",
     .Text = u"Justified lines reach both edges; the last line of a paragraph does not.\r\n"
             u"A second paragraph, indented like the first one.",
     .HAlign = haBlock,
     .ParagraphGap = 16},
    {.Name = "rot90", .Text = u"Turned a quarter\r\nto the left", .VAlign = vaBottom, .Rotation = 90},
    {.Name = "rot180", .Text = u"Upside down\r\nand centred", .HAlign = haCenter, .Rotation = 180},
    {.Name = "rot270", .Text = u"Turned a quarter\r\nto the right", .HAlign = haRight, .Rotation = 270},
    {.Name = "tags",
     .Text = u"<b>Bold</b>, <i>italic</i>, <u>underlined</u>, <s>struck</s>, <font color=\"#FF0000\">red</font>, "
             u"<font color=blue>blue</font>, H<sub>2</sub>O and x<sup>2</sup>; <bogus> and "
             u"<font color=nosuch>this</font> stay text.",
     .Tags = true},
    {.Name = "rtl",
     .Text = u"שלום עולם, זהו טקסט מימין לשמאל שנשבר לשורות אחדות.",
     .HAlign = haRight,
     .Rtl = true},
    {.Name = "underlines",
     .Text = u"Underlined text\r\n\r\nwith an empty line",
     .VAlign = vaCenter,
     .Underlines = ulmUnderlinesAll},
};

constexpr double scales[] = {1, 2};

// The case drawn in a 192 x 112 rectangle, outlined, on a white 200 x 120 image.
QImage render(const TextCase &c, double scale)
{
    QImage image = zelWhiteImage(int(200 * scale), int(120 * scale));
    QPainterCanvas canvas(image);
    const QRectF area(4, 4, 192, 112);
    const QRect device(qRound(4 * scale), qRound(4 * scale), qRound(192 * scale), qRound(112 * scale));
    canvas.DrawRect(QRectF(device).adjusted(-1, -1, 0, 0), TzelCanvasPen{.Color = 0xC0C0C0},
                    TzelCanvasBrush{.Color = clNone});

    TzelDrawText layout;
    TzelFont font;
    layout.SetFont(font);
    layout.SetOptions(true, c.Tags, c.Rotation, true, true, false, c.Rtl);
    layout.SetGaps(2, 0, c.ParagraphGap);
    layout.SetDimensions(area, device, 1, scale, scale);
    layout.SetText(QString::fromUtf16(c.Text));
    layout.DrawText(canvas, c.HAlign, c.Underlines, c.VAlign, TzelCanvasPen{.Color = 0x808080});
    return image;
}

} // namespace

TEST(TextGolden, LaidOutTextLooksAsBefore)
{
    for (const TextCase &c : cases)
        for (double scale : scales) {
            const QString name = QStringLiteral("text_%1_scale%2").arg(QLatin1StringView(c.Name)).arg(scale);
            EXPECT_TRUE(zelMatchesGolden(render(c, scale), QStringLiteral("render/golden/") + name));
        }
}
