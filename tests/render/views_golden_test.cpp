// Views drawn at scale 1 and 2 and compared with golden images (fills,
// frame styles, shadows, shapes, lines with arrows, pictures, memos), and
// the pixel rules checked pixel by pixel.
#include "support/golden.h"
#include "pixels.h"

#include "engine/render/canvas/zelqpaintercanvas.h"
#include "engine/render/canvas/zelrecordingcanvas.h"
#include "engine/render/draw/zelviewpainter.h"
#include "model/page/zeldatapage.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"
#include "model/view/zellineview.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelshapeview.h"

#include <QBuffer>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int testRed = 0x0000FF;
constexpr int testGreen = 0x00FF00;
constexpr int testBlue = 0xFF0000;
constexpr int testYellow = 0x00FFFF;
constexpr int testGrey = 0x808080;

QRgb rgbOf(int color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

template <class T>
std::unique_ptr<T> testView(const QRectF &bounds = QRectF(10, 10, 40, 20))
{
    auto view = std::make_unique<T>();
    view->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    return view;
}

// View drawn on a white image of Size units at Scale.
QImage render(const TzelView &view, double scale, bool designing = false, QSize size = {60, 40})
{
    QImage image = zelWhiteImage(size.width() * scale, size.height() * scale);
    QPainterCanvas canvas(image);
    zelDrawView(view, canvas, scale, scale, 0, 0, designing);
    return image;
}

// A 10 x 10 picture: red left half, green right half, a blue 2 x 2 corner
// at the top left to show which way round it is.
QByteArray picturePng()
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(rgbOf(testRed));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            if (x >= 5)
                image.setPixel(x, y, rgbOf(testGreen));
            else if (x < 2 && y < 2)
                image.setPixel(x, y, rgbOf(testBlue));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Every golden image is drawn at these scales.
constexpr double scales[] = {1, 2};

struct GoldenCase
{
    QString Name;
    std::function<std::unique_ptr<TzelView>()> Make;
    bool Designing = false;
};

void expectGoldens(const std::vector<GoldenCase> &cases)
{
    for (const GoldenCase &c : cases) {
        const std::unique_ptr<TzelView> view = c.Make();
        for (const double scale : scales) {
            const QString name = c.Name + QStringLiteral("_s%1").arg(scale);
            SCOPED_TRACE(name.toStdString());
            EXPECT_TRUE(zelMatchesGolden(render(*view, scale, c.Designing), QStringLiteral("render/golden/") + name));
        }
    }
}

std::unique_ptr<TzelView> framedBox(TzelFrameStyle style, double width)
{
    auto view = testView<TzelView>();
    view->Frame().Typ = {ftLeft, ftRight, ftTop, ftBottom};
    view->Frame().SetStyle(style);
    view->Frame().SetWidth(width);
    view->Frame().SetColor(testBlue);
    view->SetColor(testYellow);
    return view;
}

template <class Fill>
std::unique_ptr<TzelView> filledBox(TzelFillType type, const std::function<void(Fill &)> &set)
{
    auto view = testView<TzelView>();
    view->SetFillType(type);
    set(static_cast<Fill &>(view->Fill()));
    return view;
}

std::unique_ptr<TzelView> gradient(TzelGradientStyle style)
{
    return filledBox<TzelGradientFill>(ftGradient, [style](TzelGradientFill &f) {
        f.StartColor = testYellow;
        f.EndColor = testBlue;
        f.GradientStyle = style;
    });
}

std::unique_ptr<TzelView> glass(TzelFillOrientation orientation, bool hatch)
{
    return filledBox<TzelGlassFill>(ftGlass, [=](TzelGlassFill &f) {
        f.Color = testBlue;
        f.Orientation = orientation;
        f.Hatch = hatch;
    });
}

std::unique_ptr<TzelView> shape(TzelShapeKind kind, const std::function<void(TzelShapeView &)> &set = {})
{
    auto view = testView<TzelShapeView>();
    view->Shape = kind;
    view->Frame().SetColor(testBlue);
    view->SetColor(testYellow);
    if (set)
        set(*view);
    return view;
}

std::unique_ptr<TzelView> diagonal(bool start, bool end, bool solid, const QRectF &bounds)
{
    auto view = testView<TzelLineView>(bounds);
    view->Diagonal = true;
    view->ArrowStart = start;
    view->ArrowEnd = end;
    view->ArrowSolid = solid;
    view->ArrowLength = 8;
    view->ArrowWidth = 3;
    view->Frame().SetColor(testBlue);
    return view;
}

std::unique_ptr<TzelView> picture(const std::function<void(TzelPictureView &)> &set)
{
    auto view = testView<TzelPictureView>();
    view->Picture().LoadFromData(picturePng());
    view->SetColor(testYellow);
    set(*view);
    return view;
}

TEST(ViewsGolden, Fills)
{
    expectGoldens({
        {"view_fill_brush_solid",
         [] { return filledBox<TzelBrushFill>(ftBrush, [](TzelBrushFill &f) { f.BackColor = testYellow; }); }},
        {"view_fill_brush_hatch",
         [] {
             return filledBox<TzelBrushFill>(ftBrush, [](TzelBrushFill &f) {
                 f.BackColor = testYellow;
                 f.ForeColor = testBlue;
                 f.Style = bsDiagCross;
             });
         }},
        {"view_fill_brush_hatch_no_back",
         [] {
             return filledBox<TzelBrushFill>(ftBrush, [](TzelBrushFill &f) {
                 f.ForeColor = testBlue;
                 f.Style = bsHorizontal;
             });
         }},
        {"view_fill_gradient_horizontal", [] { return gradient(gsHorizontal); }},
        {"view_fill_gradient_vertical", [] { return gradient(gsVertical); }},
        {"view_fill_gradient_elliptic", [] { return gradient(gsElliptic); }},
        {"view_fill_gradient_rectangle", [] { return gradient(gsRectangle); }},
        {"view_fill_gradient_vertcenter", [] { return gradient(gsVertCenter); }},
        {"view_fill_gradient_horizcenter", [] { return gradient(gsHorizCenter); }},
        {"view_fill_glass_vertical", [] { return glass(foVertical, false); }},
        {"view_fill_glass_horizontal", [] { return glass(foHorizontal, false); }},
        {"view_fill_glass_vertical_mirror", [] { return glass(foVerticalMirror, false); }},
        {"view_fill_glass_horizontal_mirror_hatch", [] { return glass(foHorizontalMirror, true); }},
    });
}

TEST(ViewsGolden, FrameStyles)
{
    const std::pair<TzelFrameStyle, const char *> styles[] = {
        {fsSolid, "solid"},   {fsDash, "dash"},     {fsDot, "dot"},       {fsDashDot, "dashdot"},
        {fsDashDotDot, "dashdotdot"}, {fsDouble, "double"}, {fsAltDot, "altdot"}, {fsSquare, "square"},
    };
    std::vector<GoldenCase> cases;
    for (const auto &[style, name] : styles)
        for (const int width : {1, 3})
            cases.push_back({QStringLiteral("view_frame_%1_w%2").arg(QLatin1StringView(name)).arg(width),
                             [style = style, width] { return framedBox(style, width); }});
    expectGoldens(cases);
}

TEST(ViewsGolden, FrameSidesShadowAndMarks)
{
    expectGoldens({
        {"view_frame_sides",
         [] {
             auto view = framedBox(fsSolid, 1);
             TzelFrame &frame = view->Frame();
             frame.Typ = {ftLeft, ftTop, ftBottom};
             frame.LeftLine().SetWidth(4);
             frame.LeftLine().SetColor(testRed);
             frame.TopLine().SetStyle(fsDash);
             frame.BottomLine().SetStyle(fsDouble);
             frame.BottomLine().SetWidth(2);
             return view;
         }},
        {"view_frame_shadow",
         [] {
             auto view = framedBox(fsSolid, 1);
             view->Frame().DropShadow = true;
             view->Frame().ShadowColor = testGrey;
             return view;
         }},
        {"view_marks", [] { return testView<TzelView>(); }, true},
    });
}

TEST(ViewsGolden, Shapes)
{
    expectGoldens({
        {"view_shape_rectangle", [] { return shape(skRectangle); }},
        {"view_shape_roundrect", [] { return shape(skRoundRectangle); }},
        {"view_shape_roundrect_curve", [] { return shape(skRoundRectangle, [](TzelShapeView &s) { s.Curve = 1; }); }},
        {"view_shape_ellipse", [] { return shape(skEllipse); }},
        {"view_shape_triangle", [] { return shape(skTriangle); }},
        {"view_shape_diamond", [] { return shape(skDiamond); }},
        {"view_shape_diagonal1", [] { return shape(skDiagonal1, [](TzelShapeView &s) { s.Frame().SetWidth(3); }); }},
        {"view_shape_diagonal2", [] { return shape(skDiagonal2); }},
        {"view_shape_ellipse_gradient",
         [] {
             return shape(skEllipse, [](TzelShapeView &s) {
                 s.SetFillType(ftGradient);
                 static_cast<TzelGradientFill &>(s.Fill()).GradientStyle = gsVertical;
             });
         }},
        {"view_shape_rectangle_double", [] { return shape(skRectangle, [](TzelShapeView &s) { s.Frame().SetStyle(fsDouble); }); }},
        {"view_shape_triangle_double", [] { return shape(skTriangle, [](TzelShapeView &s) { s.Frame().SetStyle(fsDouble); }); }},
        {"view_shape_diamond_double", [] { return shape(skDiamond, [](TzelShapeView &s) { s.Frame().SetStyle(fsDouble); }); }},
        {"view_shape_ellipse_dash", [] { return shape(skEllipse, [](TzelShapeView &s) { s.Frame().SetStyle(fsDash); }); }},
        {"view_shape_diamond_hatch",
         [] { return shape(skDiamond, [](TzelShapeView &s) { s.SetBrushStyle(bsFDiagonal); }); }},
    });
}

TEST(ViewsGolden, Lines)
{
    expectGoldens({
        {"view_line_arrows_solid", [] { return diagonal(true, true, true, QRectF(8, 8, 44, 24)); }},
        {"view_line_arrows_open", [] { return diagonal(true, true, false, QRectF(8, 32, 44, -24)); }},
        {"view_line_arrow_steep", [] { return diagonal(false, true, true, QRectF(28, 6, 6, 28)); }},
        {"view_line_dash_thick",
         [] {
             auto line = diagonal(false, false, false, QRectF(8, 8, 44, 24));
             line->Frame().SetStyle(fsDash);
             line->Frame().SetWidth(2);
             return line;
         }},
        {"view_line_straight",
         [] {
             auto line = testView<TzelLineView>(QRectF(8, 20, 44, 0));
             line->Frame().SetWidth(2);
             return line;
         }},
    });
}

TEST(ViewsGolden, Pictures)
{
    expectGoldens({
        {"view_picture_stretched", [] { return picture([](TzelPictureView &p) { p.KeepAspectRatio = false; }); }},
        {"view_picture_keepratio", [] { return picture([](TzelPictureView &) {}); }},
        {"view_picture_keepratio_center", [] { return picture([](TzelPictureView &p) { p.Center = true; }); }},
        {"view_picture_ownsize", [] { return picture([](TzelPictureView &p) { p.Stretched = false; }); }},
        {"view_picture_ownsize_center",
         [] {
             return picture([](TzelPictureView &p) {
                 p.Stretched = false;
                 p.Center = true;
             });
         }},
        {"view_picture_transparent",
         [] {
             return picture([](TzelPictureView &p) {
                 p.KeepAspectRatio = false;
                 p.Transparent = true;
                 p.TransparentColor = testGreen;
             });
         }},
        {"view_picture_smooth",
         [] {
             return picture([](TzelPictureView &p) {
                 p.KeepAspectRatio = false;
                 p.HightQuality = true;
             });
         }},
        {"view_picture_framed",
         [] {
             return picture([](TzelPictureView &p) {
                 p.Frame().Typ = {ftLeft, ftRight, ftTop, ftBottom};
                 p.Frame().SetWidth(2);
             });
         }},
        {"view_picture_ownsize_clipped",
         [] {
             auto view = picture([](TzelPictureView &p) { p.Stretched = false; });
             view->SetBounds(10, 10, 6, 4);
             return view;
         }},
        {"view_picture_empty_designer", [] { return testView<TzelPictureView>(); }, true},
    });
}

TEST(ViewsGolden, MemoBackgroundAndFrame)
{
    expectGoldens({
        {"view_memo_empty",
         [] {
             auto memo = testView<TzelMemoView>();
             memo->Frame().Typ = {ftTop, ftBottom};
             memo->Frame().SetWidth(2);
             memo->SetColor(testYellow);
             return memo;
         }},
    });
}

// Colours of single pixels of an image.
struct PixelCase
{
    QPoint At;
    int Color;
};

void expectPixels(const QImage &image, const std::vector<PixelCase> &cases)
{
    for (const PixelCase &c : cases)
        EXPECT_EQ(image.pixel(c.At), rgbOf(c.Color)) << "at " << c.At.x() << "," << c.At.y();
}


template <class Record>
std::vector<Record> recordsOf(const RecordingCanvas &canvas)
{
    std::vector<Record> found;
    for (const TzelCanvasRecord &record : canvas.Records())
        if (const auto *r = std::get_if<Record>(&record))
            found.push_back(*r);
    return found;
}

TEST(ViewPixels, TwoUnitFrameCoversOneUnitOutsideAndOneInside)
{
    // The object spans x 10..50 and y 10..30.
    const auto view = framedBox(fsSolid, 2);
    expectPixels(render(*view, 1), {
        {{8, 20}, clWhite}, {{9, 20}, testBlue}, {{10, 20}, testBlue}, {{11, 20}, testYellow},
        {{48, 20}, testYellow}, {{49, 20}, testBlue}, {{50, 20}, testBlue}, {{51, 20}, clWhite},
        {{30, 8}, clWhite}, {{30, 9}, testBlue}, {{30, 10}, testBlue}, {{30, 11}, testYellow},
        {{30, 28}, testYellow}, {{30, 29}, testBlue}, {{30, 30}, testBlue}, {{30, 31}, clWhite},
        {{9, 9}, testBlue}, {{50, 30}, testBlue}, {{8, 8}, clWhite}, {{51, 31}, clWhite},
    });
}

TEST(ViewPixels, BackgroundReachesTheMiddleOfTheFrameLines)
{
    struct Case
    {
        double Width, Scale;
        TzelFrameTypes Sides;
        QRectF Fill;
    };
    const TzelFrameTypes all{ftLeft, ftRight, ftTop, ftBottom};
    const Case cases[] = {
        {1, 1, {}, QRectF(10, 10, 40, 20)},
        // Odd widths cover the middle pixel on the right and bottom.
        {1, 1, all, QRectF(10, 10, 41, 21)},
        {2, 1, all, QRectF(9, 9, 42, 22)},
        {3, 1, all, QRectF(9, 9, 43, 23)},
        {1, 2, all, QRectF(19, 19, 82, 42)},
        {2, 1, {ftLeft, ftBottom}, QRectF(9, 10, 41, 21)},
    };
    for (const Case &c : cases) {
        auto view = framedBox(fsSolid, c.Width);
        view->Frame().Typ = c.Sides;
        RecordingCanvas canvas;
        zelDrawView(*view, canvas, c.Scale, c.Scale, 0, 0, false);
        const auto fills = recordsOf<TzelCanvasRecords::FillRect>(canvas);
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills.front().Rect, c.Fill) << "width " << c.Width << " scale " << c.Scale;
    }
}

TEST(ViewPixels, DropShadowShrinksTheFrameAndDrawsBarsOutsideIt)
{
    // 40 x 20 at (10, 10) with a 4-unit shadow: the frame ends at 46 and 26.
    auto view = framedBox(fsSolid, 1);
    view->Frame().DropShadow = true;
    view->Frame().ShadowColor = testGrey;
    view->SetColor(clNone);
    expectPixels(render(*view, 1), {
        {{46, 20}, testBlue}, {{45, 20}, clWhite}, {{20, 26}, testBlue}, {{20, 25}, clWhite},
        // The right bar starts one shadow width below the top.
        {{48, 13}, clWhite}, {{48, 14}, testGrey}, {{47, 20}, testGrey}, {{49, 29}, testGrey}, {{50, 20}, clWhite},
        // The bottom bar starts one shadow width right of the left edge.
        {{13, 28}, clWhite}, {{14, 28}, testGrey}, {{30, 27}, testGrey}, {{30, 30}, clWhite},
    });
}

TEST(ViewPixels, HorizontalGradientStepsThrough256StripesFromStartToEnd)
{
    struct Case
    {
        int Width;
        QRgb First, Last;
    };
    const Case cases[] = {
        // One stripe per column: exactly the start colour, then the end colour.
        {256, rgbOf(testRed), rgbOf(testBlue)},
        // Stripes 0 to 2 all begin at column 0 and the first two are empty,
        // so the third's colour shows there; the last stripe has the end colour.
        {100, qRgb(253, 0, 2), rgbOf(testBlue)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Width);
        auto view = testView<TzelView>(QRectF(0, 0, c.Width, 10));
        view->SetFillType(ftGradient);
        auto &fill = static_cast<TzelGradientFill &>(view->Fill());
        fill.StartColor = testRed;
        fill.EndColor = testBlue;
        const QImage image = render(*view, 1, false, {c.Width, 10});
        EXPECT_EQ(image.pixel(0, 5), c.First);
        EXPECT_EQ(image.pixel(c.Width - 1, 5), c.Last);
        // Fewer columns than stripes: each column has a colour of its own.
        for (int x = 1; x < c.Width; ++x) {
            EXPECT_LT(qRed(image.pixel(x, 5)), qRed(image.pixel(x - 1, 5))) << "column " << x;
            EXPECT_GT(qBlue(image.pixel(x, 5)), qBlue(image.pixel(x - 1, 5))) << "column " << x;
            EXPECT_EQ(image.pixel(x, 0), image.pixel(x, 9)) << "column " << x;
        }
    }
}

TEST(ViewPixels, StraightLineRunsAlongItsLongerSide)
{
    struct Case
    {
        QRectF Bounds;
        QPoint From, To;
    };
    const Case cases[] = {
        {QRectF(10, 5, 30, 20), {10, 5}, {40, 5}},
        // Taller than wide: vertical at the left edge, whatever the width.
        {QRectF(10, 5, 20, 30), {10, 5}, {10, 35}},
        {QRectF(10, 5, 20, 20), {10, 5}, {10, 25}},
    };
    for (const Case &c : cases) {
        auto line = testView<TzelLineView>(c.Bounds);
        std::vector<QPoint> expected;
        for (int y = c.From.y(); y <= c.To.y(); ++y)
            for (int x = c.From.x(); x <= c.To.x(); ++x)
                expected.emplace_back(x, y);
        EXPECT_EQ(zelInkedPixels(render(*line, 1)), expected) << c.Bounds.width() << " x " << c.Bounds.height();
    }
}

TEST(ViewPixels, ArrowBaseLiesAlongTheLineOrStraightAboveTheTipWhenSteep)
{
    struct Case
    {
        QRectF Bounds;
        QPolygonF Triangle;
    };
    const Case cases[] = {
        // Tip first, then the wings from left to right.
        {QRectF(10, 20, 40, 0), QPolygonF{{50, 20}, {42, 17}, {42, 23}}},
        {QRectF(10, 10, 30, 40), QPolygonF{{40, 50}, {32.8, 45.4}, {37.6, 41.8}}},
        // Less than 9 pixels wide: the base is straight above the tip.
        {QRectF(30, 6, 6, 28), QPolygonF{{36, 34}, {33, 26}, {39, 26}}},
    };
    for (const Case &c : cases) {
        auto line = diagonal(false, true, true, c.Bounds);
        RecordingCanvas canvas;
        zelDrawView(*line, canvas, 1, 1, 0, 0, false);
        const auto polygons = recordsOf<TzelCanvasRecords::Polygon>(canvas);
        ASSERT_EQ(polygons.size(), 1u);
        QPolygonF drawn = polygons[0].Points;
        ASSERT_EQ(drawn.size(), 3);
        if (std::tie(drawn[1].rx(), drawn[1].ry()) > std::tie(drawn[2].rx(), drawn[2].ry()))
            std::swap(drawn[1], drawn[2]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(drawn[i].x(), c.Triangle[i].x(), 1e-9) << "corner " << i;
            EXPECT_NEAR(drawn[i].y(), c.Triangle[i].y(), 1e-9) << "corner " << i;
        }
        EXPECT_EQ(polygons[0].Brush, (TzelCanvasBrush{testBlue, bsSolid}));
    }
}

TEST(ViewPixels, KeepAspectRatioIsLeftAlignedUnlessCentred)
{
    // A square picture in a 40 x 20 box becomes 20 x 20: red, then green.
    struct Case
    {
        bool Center;
        std::vector<PixelCase> Pixels;
    };
    const Case cases[] = {
        {false, {{{12, 20}, testRed}, {{25, 20}, testGreen}, {{31, 20}, testYellow}, {{49, 20}, testYellow}}},
        {true, {{{12, 20}, testYellow}, {{22, 20}, testRed}, {{35, 20}, testGreen}, {{41, 20}, testYellow}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Center ? "centred" : "left-aligned");
        const auto view = picture([&](TzelPictureView &p) { p.Center = c.Center; });
        expectPixels(render(*view, 1), c.Pixels);
    }
}

TEST(ViewPixels, EmptyPictureDrawsOnlyItsBackgroundOutsideTheDesigner)
{
    auto view = testView<TzelPictureView>();
    EXPECT_TRUE(zelInkedPixels(render(*view, 1)).empty());
    EXPECT_FALSE(zelInkedPixels(render(*view, 1, true)).empty());
}

TEST(ViewPixels, CornerMarksOnlyInTheDesignerOffTheDataPageForOpenFrames)
{
    struct Case
    {
        const char *Name;
        bool Designing, OnDataPage, Framed, Marked;
    };
    const Case cases[] = {
        {"designer", true, false, false, true},
        {"preview", false, false, false, false},
        {"data page", true, true, false, false},
        {"framed all round", true, false, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        TzelDataPage page;
        auto view = c.Framed ? framedBox(fsSolid, 1) : testView<TzelView>();
        if (c.OnDataPage)
            view->SetParent(&page);
        const QImage image = render(*view, 1, c.Designing);
        // The top-left mark is 4 pixels along each edge from the corner.
        const QRgb corner = c.Marked ? qRgb(0, 0, 0) : image.pixel(10, 10);
        EXPECT_EQ(image.pixel(13, 10), corner);
        EXPECT_EQ(image.pixel(10, 13), corner);
        EXPECT_EQ(image.pixel(50, 30) == qRgb(0, 0, 0), c.Marked);
        if (c.Marked) {
            EXPECT_EQ(image.pixel(14, 10), qRgb(255, 255, 255));
        }
        if (c.OnDataPage)
            view->SetParent(nullptr);
    }
}

// A view class of its own, drawn by the painter it registers.
class TzelProbeView : public TzelView
{
    ZEL_CLASS(TzelProbeView, TzelView)
};

// A shape class without a painter of its own.
class TzelProbeShape : public TzelShapeView
{
    ZEL_CLASS(TzelProbeShape, TzelShapeView)
};

TEST(ViewPixels, ViewsDrawWithThePainterOfTheirNearestRegisteredClass)
{
    auto derived = testView<TzelProbeShape>();
    derived->Shape = skEllipse;
    auto base = testView<TzelShapeView>();
    base->Shape = skEllipse;
    EXPECT_EQ(render(*derived, 1), render(*base, 1));

    zelRegisterViewPainter(TzelProbeView::StaticClassInfo(), [](const TzelView &, const TzelViewDrawState &state) {
        state.Target->FillRect(QRectF(state.X, state.Y, state.DX(), state.DY()), TzelCanvasBrush{testRed, bsSolid});
    });
    auto probe = testView<TzelProbeView>(QRectF(10, 10, 5, 5));
    std::vector<QPoint> expected;
    for (int y = 20; y < 30; ++y)
        for (int x = 20; x < 30; ++x)
            expected.emplace_back(x, y);
    EXPECT_EQ(zelInkedPixels(render(*probe, 2)), expected);
}

} // namespace
