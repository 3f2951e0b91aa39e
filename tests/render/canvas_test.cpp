// The canvas back ends: the pixel convention, replaying a recording, text
// placed by explicit advances, and the faces that stand in for template fonts.
#include "engine/render/canvas/zelfontresolver.h"
#include "engine/render/canvas/zelqpaintercanvas.h"
#include "engine/render/canvas/zelrecordingcanvas.h"
#include "pixels.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Columns of Image holding any ink.
std::vector<int> inkedColumns(const QImage &image)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                columns.push_back(x);
                break;
            }
    return columns;
}

TEST(Canvas, FillsCoverTheirPixelsAndLinesRunThroughPixelCentres)
{
    struct Case {
        const char *name;
        std::function<void(Canvas &)> draw;
        std::vector<QPoint> expected;
    };
    const TzelCanvasPen pen;
    const TzelCanvasBrush black{clBlack, bsSolid};
    const std::vector<Case> cases = {
        {"fill", [&](Canvas &c) { c.FillRect(QRectF(1, 1, 2, 2), black); }, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
        {"line, both ends", [&](Canvas &c) { c.DrawLine(QPointF(1, 1), QPointF(4, 1), pen); },
         {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"outline on the outermost pixels", [&](Canvas &c) { c.DrawRect(QRectF(0, 0, 3, 3), pen, {}); },
         {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
        {"clear pen, no colour", [&](Canvas &c) {
             c.DrawLine(QPointF(0, 0), QPointF(4, 0), TzelCanvasPen{.Color = clBlack, .Style = TzelPenStyle::Clear});
             c.FillRect(QRectF(0, 0, 4, 4), TzelCanvasBrush{clNone, bsSolid});
         }, {}},
    };
    for (const Case &c : cases) {
        QImage image = zelWhiteImage(6, 6);
        {
            QPainterCanvas canvas(image);
            c.draw(canvas);
        }
        EXPECT_EQ(zelInkedPixels(image), c.expected) << c.name;
    }
}

TEST(Canvas, ModelColoursAreBlueGreenRed)
{
    QImage image = zelWhiteImage(2, 1);
    {
        QPainterCanvas canvas(image);
        canvas.FillRect(QRectF(0, 0, 1, 1), TzelCanvasBrush{0x0000FF, bsSolid});
        canvas.FillRect(QRectF(1, 0, 1, 1), TzelCanvasBrush{0xFF0000, bsSolid});
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
}

TEST(Canvas, TextIsPlacedByTheGivenAdvances)
{
    TzelCanvasText run;
    run.Origin = QPointF(2, 0);
    run.Text = QStringLiteral("||||");
    run.Font = TzelCanvasFont{QStringLiteral("Arial"), 20, {}, clBlack};
    run.Advances = {10, 10, 10, 10};
    QImage image = zelWhiteImage(60, 24);
    {
        QPainterCanvas canvas(image);
        canvas.DrawText(run);
    }
    // Each bar sits in its own 10-pixel slot, whatever the face's own width.
    const std::vector<int> columns = inkedColumns(image);
    ASSERT_FALSE(columns.empty());
    std::vector<int> places;
    for (int x : columns)
        if (places.empty() || places.back() != (x - 2) / 10)
            places.push_back((x - 2) / 10);
    EXPECT_EQ(places, (std::vector<int>{0, 1, 2, 3}));

    // Right to left, the first character takes the last slot.
    run.Text = QStringLiteral("|...");
    run.Flags = tfRTLReading;
    QImage rtl = zelWhiteImage(60, 24);
    {
        QPainterCanvas canvas(rtl);
        canvas.DrawText(run);
    }
    EXPECT_GE(inkedColumns(rtl).back(), 32);
}

TEST(Canvas, ARecordingReplaysToTheSamePixelsAndListsItsText)
{
    const auto scene = [](Canvas &c) {
        c.Save();
        c.IntersectClip(QRectF(0, 0, 50, 40));
        c.DrawEllipse(QRectF(5, 5, 40, 30), TzelCanvasPen{.Color = 0x0000FF, .Width = 3}, TzelCanvasBrush{0xCCFFCC, bsDiagCross});
        c.DrawPolygon(QPolygonF({QPointF(10, 60), QPointF(50, 60), QPointF(30, 20)}), TzelCanvasPen{},
                      TzelCanvasBrush{0x00FF00, bsSolid});
        c.Restore();
        c.Translate(10, 45);
        c.Rotate(90);
        c.DrawText(TzelCanvasText{.Text = QStringLiteral("Total"),
                                  .Font = TzelCanvasFont{QStringLiteral("Arial"), 12, {}, clBlack}});
    };
    QImage direct = zelWhiteImage(80, 80);
    QImage replayed = zelWhiteImage(80, 80);
    RecordingCanvas recording;
    scene(recording);
    {
        QPainterCanvas canvas(direct);
        scene(canvas);
        QPainterCanvas target(replayed);
        recording.Replay(target);
    }
    EXPECT_EQ(direct, replayed);

    std::vector<QString> texts;
    for (const TzelCanvasRecord &record : recording.Records())
        if (const auto *text = std::get_if<TzelCanvasRecords::Text>(&record))
            texts.push_back(text->Run.Text);
    EXPECT_EQ(texts, std::vector<QString>{QStringLiteral("Total")});
}

TEST(FontResolver, TemplateFacesResolveToFacesOfTheSameWidths)
{
    // Design advances per 1000 of the em: a face that is not metric-compatible
    // moves every line break of every template.
    struct Case {
        const char *name;
        const char *family;
        const char16_t *chars;
        std::vector<double> advances;
    };
    const std::vector<Case> cases = {
        {"Arial", "Liberation Sans", u"Aa W", {667, 556, 278, 944}},
        {"Times New Roman", "Liberation Serif", u"a ", {444, 250}},
        {"Courier New", "Liberation Mono", u"iW", {600, 600}},
        {"No Such Face", "Liberation Sans", u"a", {556}},
    };
    for (const Case &c : cases) {
        const QString name = QString::fromLatin1(c.name);
        EXPECT_EQ(TzelFontResolver::Family(name), QString::fromLatin1(c.family)) << c.name;
        const auto face = TzelFontResolver::Face(name, 1000, {});
        EXPECT_EQ(face->RawFont().familyName(), QString::fromLatin1(c.family)) << c.name;
        const QString chars = QString::fromUtf16(c.chars);
        for (qsizetype i = 0; i < chars.size(); ++i)
            EXPECT_NEAR(face->Advance(chars[i].unicode()), c.advances[size_t(i)], 0.5) << c.name << " " << i;
    }
    const QString tahoma = TzelFontResolver::Family(QStringLiteral("Tahoma"));
    EXPECT_TRUE(tahoma == QLatin1StringView("Tahoma") || tahoma == QLatin1StringView("DejaVu Sans")) << qPrintable(tahoma);
}

TEST(FontResolver, FacesAreSharedAndMeasureWholeStrings)
{
    const auto a = TzelFontResolver::Face(QStringLiteral("Arial"), 83, TzelFontStyles{fsBold});
    const auto b = TzelFontResolver::Face(QStringLiteral("arial"), 83, TzelFontStyles{fsBold});
    EXPECT_EQ(a.get(), b.get());
    const QString text = QStringLiteral("Gr\u00FC\u00DFe \U0001F600");
    std::vector<double> advances(size_t(text.size()));
    a->Advances(text, advances.data());
    double sum = 0;
    for (double v : advances)
        sum += v;
    EXPECT_DOUBLE_EQ(sum, a->Width(text));
    EXPECT_EQ(advances.back(), 0); // the second half of the pair
    EXPECT_GT(a->CellHeight(), 83);
}

} // namespace
