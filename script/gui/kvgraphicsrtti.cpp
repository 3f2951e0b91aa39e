#include "script/gui/kvgraphicsrtti.h"

#include "script/engine/kvobjects.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvscript.h"
#include "script/gui/kvgraphics.h"
#include "script/gui/kvguibinder.h"
#include "script/gui/kvguiobjects.h"

#include <QFontMetrics>

namespace {

using Call = TkvMethodCall;

// A property backed by a field of a drawing object.
template <class T, class Field>
void field(TkvBinder &b, const char *name, const char *type, Field T::*member, bool isSet = false)
{
    b.Prop(
        name, type, [member](const Variant &self) { return Variant(kvDrawing<T>(self).*member); },
        [member, isSet](const Variant &self, const Variant &value) {
            T &object = kvDrawing<T>(self);
            if constexpr (std::is_same_v<Field, QString>) {
                (void)isSet; // texts are never sets
                object.*member = value.ToString();
            } else {
                object.*member = isSet ? kvSetOf(value) : value.ToInt();
            }
        });
}

// A tool of a canvas (its font, pen or brush): reading gives the canvas's
// own, writing copies another object's settings into it.
template <class T>
void tool(TkvBinder &b, const char *name, const char *type, std::shared_ptr<T> TkvCanvas::*member)
{
    b.Prop(
        name, type, [member](const Variant &self) { return kvGraphicsRef((kvDrawing<TkvCanvas>(self).*member).get()); },
        [member](const Variant &self, const Variant &value) {
            if (const T *source = kvGraphicsAs<T>(value))
                (kvDrawing<TkvCanvas>(self).*member)->Assign(*source);
        });
}

TkvCanvas &canvasOf(const Call &call)
{
    return kvDrawing<TkvCanvas>(call.Instance);
}

// The rectangle GDI-style coordinates describe: right and bottom excluded.
QRect boxOf(const Call &call, int from = 0)
{
    const std::span<Variant> p = call.Params;
    return QRect(QPoint(p[from].ToInt(), p[from + 1].ToInt()), QPoint(p[from + 2].ToInt() - 1, p[from + 3].ToInt() - 1))
        .normalized();
}

// A stroked figure covers its rectangle when the pen outlines it.
QRect outlineOf(const QRect &box, const QPainter &painter)
{
    return painter.pen().style() == Qt::NoPen ? box : box.adjusted(0, 0, -1, -1);
}

Variant done()
{
    return Variant::Null();
}

void graphicFile(TkvBinder &b, const char *owner, const std::function<void(const Call &, const QString &)> &load,
                 const std::function<void(const Call &, const QString &)> &save)
{
    const QString cls = QString::fromLatin1(owner);
    b.Method("procedure LoadFromFile(const FileName: String)", [cls, load](Call &call) {
        call.Script.CheckAllowed(cls + QStringLiteral(".LoadFromFile"));
        load(call, call.Params[0].ToString());
        return done();
    });
    b.Method("procedure SaveToFile(const FileName: String)", [cls, save](Call &call) {
        call.Script.CheckAllowed(cls + QStringLiteral(".SaveToFile"));
        save(call, call.Params[0].ToString());
        return done();
    });
}

// TPersistent.Assign between drawing objects of fitting kinds.
bool assignGraphics(const Variant &target, const Variant &source)
{
    auto *to = TkvObjects::TryGet<TkvGraphicsObject>(target);
    auto *from = TkvObjects::TryGet<TkvGraphicsObject>(source);
    if (!to || !from)
        return false;
    if (auto *font = dynamic_cast<TkvFont *>(to); font && dynamic_cast<TkvFont *>(from))
        return font->Assign(*static_cast<TkvFont *>(from)), true;
    if (auto *pen = dynamic_cast<TkvPen *>(to); pen && dynamic_cast<TkvPen *>(from))
        return pen->Assign(*static_cast<TkvPen *>(from)), true;
    if (auto *brush = dynamic_cast<TkvBrush *>(to); brush && dynamic_cast<TkvBrush *>(from))
        return brush->Assign(*static_cast<TkvBrush *>(from)), true;
    const auto *fromPicture = dynamic_cast<TkvPicture *>(from);
    const TkvGraphic *graphic = fromPicture ? fromPicture->Graphic.get() : dynamic_cast<TkvGraphic *>(from);
    if (auto *picture = dynamic_cast<TkvPicture *>(to)) {
        if (!graphic) {
            if (!fromPicture)
                return false;
            picture->Graphic.reset();
            return true;
        }
        std::shared_ptr<TkvGraphic> copy;
        if (dynamic_cast<const TkvMetafile *>(graphic))
            copy = std::make_shared<TkvMetafile>();
        else
            copy = std::make_shared<TkvBitmap>();
        copy->Assign(*graphic);
        picture->Graphic = std::move(copy);
        return true;
    }
    if (auto *graphicTarget = dynamic_cast<TkvGraphic *>(to); graphicTarget && graphic)
        return graphicTarget->Assign(*graphic);
    return false;
}

} // namespace

TkvGraphicsRTTI::TkvGraphicsRTTI(TkvScript *script) : TkvRTTIModule(script)
{
    TkvScript &s = *script;
    kvAddEnum(s, QStringLiteral("TFontStyles"), QStringLiteral("fsBold, fsItalic, fsUnderline, fsStrikeout"), true);
    kvAddEnum(s, QStringLiteral("TFontPitch"), QStringLiteral("fpDefault, fpVariable, fpFixed"));
    kvAddEnum(s, QStringLiteral("TPenStyle"),
              QStringLiteral("psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame"));
    kvAddEnum(s, QStringLiteral("TPenMode"),
              QStringLiteral("pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, "
                             "pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor"));
    kvAddEnum(s, QStringLiteral("TBrushStyle"),
              QStringLiteral("bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, "
                             "bsDiagCross"));

    TkvBinder font(s, QStringLiteral("TFont"), QStringLiteral("TPersistent"));
    kvAddPersistentMembers(font, assignGraphics);
    font.Constructor("constructor Create", [](Call &) { return kvAdoptGraphics(std::make_shared<TkvFont>()); });
    field(font, "Name", "String", &TkvFont::Name);
    field(font, "Size", "Integer", &TkvFont::Size);
    field(font, "Style", "TFontStyles", &TkvFont::Style, true);
    field(font, "Color", "TColor", &TkvFont::Color);
    field(font, "Pitch", "TFontPitch", &TkvFont::Pitch);

    TkvBinder pen(s, QStringLiteral("TPen"), QStringLiteral("TPersistent"));
    kvAddPersistentMembers(pen, assignGraphics);
    pen.Constructor("constructor Create", [](Call &) { return kvAdoptGraphics(std::make_shared<TkvPen>()); });
    field(pen, "Color", "TColor", &TkvPen::Color);
    field(pen, "Width", "Integer", &TkvPen::Width);
    field(pen, "Style", "TPenStyle", &TkvPen::Style);
    field(pen, "Mode", "TPenMode", &TkvPen::Mode);

    TkvBinder brush(s, QStringLiteral("TBrush"), QStringLiteral("TPersistent"));
    kvAddPersistentMembers(brush, assignGraphics);
    brush.Constructor("constructor Create", [](Call &) { return kvAdoptGraphics(std::make_shared<TkvBrush>()); });
    field(brush, "Color", "TColor", &TkvBrush::Color);
    field(brush, "Style", "TBrushStyle", &TkvBrush::Style);

    TkvBinder graphic(s, QStringLiteral("TGraphic"), QStringLiteral("TPersistent"));
    kvAddPersistentMembers(graphic, assignGraphics);
    graphic.Constructor("constructor Create", [](Call &) { return kvAdoptGraphics(std::make_shared<TkvGraphic>()); });
    graphicFile(
        graphic, "TGraphic", [](const Call &call, const QString &name) { kvDrawing<TkvGraphic>(call.Instance).LoadFromFile(name); },
        [](const Call &call, const QString &name) { kvDrawing<TkvGraphic>(call.Instance).SaveToFile(name); });
    graphic.Prop(
        "Width", "Integer", [](const Variant &self) { return Variant(kvDrawing<TkvGraphic>(self).Width()); },
        [](const Variant &self, const Variant &value) {
            TkvGraphic &g = kvDrawing<TkvGraphic>(self);
            g.SetSize(value.ToInt(), g.Height());
        });
    graphic.Prop(
        "Height", "Integer", [](const Variant &self) { return Variant(kvDrawing<TkvGraphic>(self).Height()); },
        [](const Variant &self, const Variant &value) {
            TkvGraphic &g = kvDrawing<TkvGraphic>(self);
            g.SetSize(g.Width(), value.ToInt());
        });
    graphic.Prop("Empty", "Boolean", [](const Variant &self) {
        const TkvGraphic &g = kvDrawing<TkvGraphic>(self);
        return Variant(g.Width() == 0 || g.Height() == 0);
    });

    TkvBinder metafile(s, QStringLiteral("TMetafile"), QStringLiteral("TGraphic"));
    metafile.Constructor("constructor Create", [](Call &) { return kvAdoptGraphics(std::make_shared<TkvMetafile>()); });

    TkvBinder bitmap(s, QStringLiteral("TBitmap"), QStringLiteral("TGraphic"));
    bitmap.Constructor("constructor Create", [](Call &) { return kvAdoptGraphics(std::make_shared<TkvBitmap>()); });
    bitmap.Prop("Canvas", "TCanvas",
                [](const Variant &self) { return kvGraphicsRef(kvDrawing<TkvBitmap>(self).Canvas.get()); });

    TkvBinder picture(s, QStringLiteral("TPicture"), QStringLiteral("TPersistent"));
    kvAddPersistentMembers(picture, assignGraphics);
    picture.Constructor("constructor Create", [](Call &) { return kvAdoptGraphics(std::make_shared<TkvPicture>()); });
    graphicFile(
        picture, "TPicture", [](const Call &call, const QString &name) { kvDrawing<TkvPicture>(call.Instance).LoadFromFile(name); },
        [](const Call &call, const QString &name) { kvDrawing<TkvPicture>(call.Instance).SaveToFile(name); });
    picture.Prop("Width", "Integer", [](const Variant &self) {
        const TkvPicture *p = &kvDrawing<TkvPicture>(self);
        return Variant(p->Graphic ? p->Graphic->Width() : 0);
    });
    picture.Prop("Height", "Integer", [](const Variant &self) {
        const TkvPicture *p = &kvDrawing<TkvPicture>(self);
        return Variant(p->Graphic ? p->Graphic->Height() : 0);
    });
    picture.Prop(
        "Graphic", "TGraphic", [](const Variant &self) { return kvGraphicsRef(kvDrawing<TkvPicture>(self).Graphic.get()); },
        [](const Variant &self, const Variant &value) {
            if (!assignGraphics(self, value) && TkvObjects::IsNil(value))
                kvDrawing<TkvPicture>(self).Graphic.reset();
        });
    // Asking a picture for its bitmap makes it hold one, as drawing on it needs.
    picture.Prop("Bitmap", "TBitmap", [](const Variant &self) {
        TkvPicture *p = &kvDrawing<TkvPicture>(self);
        if (!dynamic_cast<TkvBitmap *>(p->Graphic.get())) {
            auto raster = std::make_shared<TkvBitmap>();
            if (p->Graphic && p->Graphic->Width() > 0 && p->Graphic->Height() > 0) {
                raster->SetSize(p->Graphic->Width(), p->Graphic->Height());
                QPainter painter(&raster->Image);
                p->Graphic->Draw(painter, raster->Image.rect());
            }
            p->Graphic = std::move(raster);
        }
        return kvGraphicsRef(p->Graphic.get());
    });

    TkvBinder canvas(s, QStringLiteral("TCanvas"), QStringLiteral("TPersistent"));
    kvAddPersistentMembers(canvas, assignGraphics);
    canvas.Constructor("constructor Create",
                       [](Call &) { return kvAdoptGraphics(std::make_shared<TkvCanvas>(nullptr)); });
    tool(canvas, "Font", "TFont", &TkvCanvas::Font);
    tool(canvas, "Pen", "TPen", &TkvCanvas::Pen);
    tool(canvas, "Brush", "TBrush", &TkvCanvas::Brush);
    canvas.Method("procedure MoveTo(X, Y: Integer)", [](Call &call) {
        canvasOf(call).PenPos = QPoint(call.Params[0].ToInt(), call.Params[1].ToInt());
        return done();
    });
    canvas.Method("procedure LineTo(X, Y: Integer)", [](Call &call) {
        TkvCanvas &c = canvasOf(call);
        const QPoint to(call.Params[0].ToInt(), call.Params[1].ToInt());
        c.Paint([&](QPainter &p) { p.drawLine(c.PenPos, to); });
        c.PenPos = to;
        return done();
    });
    canvas.Method("procedure Rectangle(X1, Y1, X2, Y2: Integer)", [](Call &call) {
        canvasOf(call).Paint([&](QPainter &p) { p.drawRect(outlineOf(boxOf(call), p)); });
        return done();
    });
    canvas.Method("procedure Ellipse(X1, Y1, X2, Y2: Integer)", [](Call &call) {
        canvasOf(call).Paint([&](QPainter &p) { p.drawEllipse(outlineOf(boxOf(call), p)); });
        return done();
    });
    canvas.Method("procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)", [](Call &call) {
        canvasOf(call).Paint([&](QPainter &p) {
            p.drawRoundedRect(outlineOf(boxOf(call), p), call.Params[4].ToInt() / 2.0, call.Params[5].ToInt() / 2.0);
        });
        return done();
    });
    canvas.Method("procedure Draw(X, Y: Integer; Graphic: TGraphic)", [](Call &call) {
        if (const TkvGraphic *g = kvGraphicsAs<TkvGraphic>(call.Params[2]))
            canvasOf(call).Paint([&](QPainter &p) {
                g->Draw(p, QRect(call.Params[0].ToInt(), call.Params[1].ToInt(), g->Width(), g->Height()));
            });
        return done();
    });
    canvas.Method("procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)", [](Call &call) {
        if (const TkvGraphic *g = kvGraphicsAs<TkvGraphic>(call.Params[4]))
            canvasOf(call).Paint([&](QPainter &p) { g->Draw(p, boxOf(call)); });
        return done();
    });
    canvas.Method("procedure TextOut(X, Y: Integer; const Text: String)", [](Call &call) {
        kvCheckFonts(QStringLiteral("TCanvas.TextOut"));
        TkvCanvas &c = canvasOf(call);
        const QPoint at(call.Params[0].ToInt(), call.Params[1].ToInt());
        const QString text = call.Params[2].ToString();
        int width = 0;
        c.Paint([&](QPainter &p) {
            const QFont qfont = c.Font->ToQFont();
            p.setFont(qfont);
            const QFontMetrics metrics(qfont, p.device());
            width = metrics.horizontalAdvance(text);
            // An opaque brush fills behind the text, a clear one leaves it.
            if (c.Brush->Style != 1)
                p.fillRect(QRect(at, QSize(width, metrics.height())), kvColor(c.Brush->Color));
            p.setPen(kvColor(c.Font->Color));
            p.drawText(at.x(), at.y() + metrics.ascent(), text);
        });
        c.PenPos = QPoint(at.x() + width, at.y());
        return done();
    });
    canvas.Method("function TextWidth(const Text: String): Integer", [](Call &call) {
        kvCheckFonts(QStringLiteral("TCanvas.TextWidth"));
        return Variant(canvasOf(call).TextExtent(call.Params[0].ToString()).width());
    });
    canvas.Method("function TextHeight(const Text: String): Integer", [](Call &call) {
        kvCheckFonts(QStringLiteral("TCanvas.TextHeight"));
        return Variant(canvasOf(call).TextExtent(call.Params[0].ToString()).height());
    });
    canvas.Indexed("Pixels", "Integer, Integer", "TColor", [](Call &call) {
        TkvCanvas &c = canvasOf(call);
        const int x = call.Params[0].ToInt();
        const int y = call.Params[1].ToInt();
        if (call.Name.endsWith(QLatin1String(".SET")))
            c.SetPixel(x, y, call.Params[2].ToInt());
        return Variant(c.Pixel(x, y));
    });

    TkvBinder metafileCanvas(s, QStringLiteral("TMetafileCanvas"), QStringLiteral("TCanvas"));
    metafileCanvas.Constructor(
        "constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)", [](Call &call) {
            TkvMetafile &target = kvDrawing<TkvMetafile>(call.Params[0]);
            const auto shared = std::static_pointer_cast<TkvMetafile>(target.shared_from_this());
            return kvAdoptGraphics(std::make_shared<TkvMetafileCanvas>(shared));
        });
}
