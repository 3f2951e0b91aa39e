#include "script/gui/kvgraphics.h"

#include "base/stream/zelsafefile.h"
#include "script/engine/kvobjects.h"
#include "script/engine/kvrunerror.h"
#include "script/gui/kvguiobjects.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QScopeGuard>

QColor kvColor(int color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int kvColorValue(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

TkvGraphicsObject::~TkvGraphicsObject() = default;

namespace {

class GraphicsType final : public TkvObjectType
{
public:
    QString ClassName(const void *object) const override
    {
        return static_cast<const TkvGraphicsObject *>(object)->ClassName();
    }
};

const GraphicsType &graphicsType()
{
    static const GraphicsType type;
    return type;
}

} // namespace

Variant kvAdoptGraphics(const std::shared_ptr<TkvGraphicsObject> &object)
{
    return TkvObjects::Adopt(object, &graphicsType());
}

Variant kvGraphicsRef(TkvGraphicsObject *object)
{
    if (!object)
        return Variant(0);
    return TkvObjects::Ref(object, &graphicsType(), [alive = object->weak_from_this()] { return !alive.expired(); });
}

TkvGraphicsObject *kvGraphicsOf(const Variant &value)
{
    return TkvObjects::Get<TkvGraphicsObject>(value);
}

void kvNilDrawing()
{
    TkvRunError::Raise("SInvalidObject");
}

void kvGraphicsMismatch(const TkvGraphicsObject *object)
{
    kvGuiError("SGuiWrongObject", {object->ClassName()});
}

QFont TkvFont::ToQFont() const
{
    QFont font(Name);
    font.setPointSize(qMax(1, Size));
    font.setBold(Style & kvfsBold);
    font.setItalic(Style & kvfsItalic);
    font.setUnderline(Style & kvfsUnderline);
    font.setStrikeOut(Style & kvfsStrikeout);
    if (Pitch == 2)
        font.setFixedPitch(true);
    return font;
}

void TkvFont::Assign(const TkvFont &other)
{
    Name = other.Name;
    Size = other.Size;
    Style = other.Style;
    Color = other.Color;
    Pitch = other.Pitch;
}

void TkvPen::Assign(const TkvPen &other)
{
    Color = other.Color;
    Width = other.Width;
    Style = other.Style;
    Mode = other.Mode;
}

QPen TkvPen::ToQPen() const
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    const Qt::PenStyle style = Style >= 0 && Style < int(std::size(styles)) ? styles[Style] : Qt::SolidLine;
    QPen pen(kvColor(Color), qMax(0, Width), style);
    // Corners and ends as a pixel pen makes them.
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void TkvBrush::Assign(const TkvBrush &other)
{
    Color = other.Color;
    Style = other.Style;
}

QBrush TkvBrush::ToQBrush() const
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern,  Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    const Qt::BrushStyle style = Style >= 0 && Style < int(std::size(styles)) ? styles[Style] : Qt::SolidPattern;
    return QBrush(kvColor(Color), style);
}

namespace {

// The raster operation of each pen mode, in the order of TPenMode.
QPainter::CompositionMode compositionOf(int mode)
{
    static const QPainter::CompositionMode modes[] = {
        QPainter::RasterOp_ClearDestination,          // pmBlack
        QPainter::RasterOp_SetDestination,            // pmWhite
        QPainter::CompositionMode_Destination,        // pmNop
        QPainter::RasterOp_NotDestination,            // pmNot
        QPainter::CompositionMode_SourceOver,         // pmCopy
        QPainter::RasterOp_NotSource,                 // pmNotCopy
        QPainter::RasterOp_SourceOrNotDestination,    // pmMergePenNot
        QPainter::RasterOp_SourceAndNotDestination,   // pmMaskPenNot
        QPainter::RasterOp_NotSourceOrDestination,    // pmMergeNotPen
        QPainter::RasterOp_NotSourceAndDestination,   // pmMaskNotPen
        QPainter::RasterOp_SourceOrDestination,       // pmMerge
        QPainter::RasterOp_NotSourceAndNotDestination, // pmNotMerge
        QPainter::RasterOp_SourceAndDestination,      // pmMask
        QPainter::RasterOp_NotSourceOrNotDestination, // pmNotMask
        QPainter::RasterOp_SourceXorDestination,      // pmXor
        QPainter::RasterOp_NotSourceXorDestination,   // pmNotXor
    };
    return mode >= 0 && mode < int(std::size(modes)) ? modes[mode] : QPainter::CompositionMode_SourceOver;
}

} // namespace

TkvCanvas::TkvCanvas(std::function<QImage *()> image, QString className)
    : TkvGraphicsObject(std::move(className)), FImage(std::move(image))
{
}

TkvCanvas::~TkvCanvas() = default;

QPainter *TkvCanvas::Begin()
{
    QImage *image = FImage ? FImage() : nullptr;
    if (!image)
        kvGuiError("SGuiNoDrawing");
    if (image->isNull() || !FPainter.begin(image))
        return nullptr; // an empty bitmap: nothing to draw on
    return &FPainter;
}

void TkvCanvas::End(QPainter *painter)
{
    painter->end();
}

QPaintDevice *TkvCanvas::Device()
{
    return FImage ? FImage() : nullptr;
}

void TkvCanvas::Paint(const std::function<void(QPainter &)> &draw)
{
    QPainter *painter = Begin();
    if (!painter)
        return;
    {
        const auto end = qScopeGuard([this, painter] { End(painter); });
        painter->setPen(Pen->ToQPen());
        painter->setBrush(Brush->ToQBrush());
        painter->setCompositionMode(compositionOf(Pen->Mode));
        painter->setRenderHint(QPainter::Antialiasing, false);
        draw(*painter);
    }
    if (OnChange)
        OnChange();
}

int TkvCanvas::Pixel(int x, int y)
{
    const QImage *image = FImage ? FImage() : nullptr;
    if (!image || !image->valid(x, y))
        return -1;
    return kvColorValue(QColor(image->pixel(x, y)));
}

void TkvCanvas::SetPixel(int x, int y, int color)
{
    QImage *image = FImage ? FImage() : nullptr;
    if (!image || !image->valid(x, y))
        return;
    image->setPixel(x, y, kvColor(color).rgb());
    if (OnChange)
        OnChange();
}

QSize TkvCanvas::TextExtent(const QString &text)
{
    const QFontMetrics metrics(Font->ToQFont(), Device());
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void TkvGraphic::SetSize(int width, int height)
{
    FSize = QSize(qMax(0, width), qMax(0, height));
    if (FSize == Image.size())
        return;
    QImage resized(FSize, Image.isNull() ? QImage::Format_RGB32 : Image.format());
    resized.fill(Qt::white);
    if (!Image.isNull() && !resized.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, Image);
    }
    Image = resized;
}

void TkvGraphic::Draw(QPainter &painter, const QRect &target) const
{
    if (Image.isNull())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(target, Image);
    painter.restore();
}

void TkvGraphic::LoadFromFile(const QString &fileName)
{
    QImage image;
    if (!image.load(fileName))
        kvGuiError("SGuiCannotLoad", {fileName});
    Image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    FSize = Image.size();
}

void TkvGraphic::SaveToFile(const QString &fileName) const
{
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    const QByteArray format = suffix.isEmpty() ? QByteArray("BMP") : suffix.toLatin1();
    zelSaveFile(fileName, [&](QIODevice *stream) {
        if (!Image.save(stream, format.constData()))
            kvGuiError("SGuiCannotSave", {fileName});
    });
}

bool TkvGraphic::Assign(const TkvGraphic &other)
{
    if (dynamic_cast<const TkvMetafile *>(&other))
        return false;
    Image = other.Image;
    FSize = QSize(other.Width(), other.Height());
    return true;
}

TkvBitmap::TkvBitmap() : TkvGraphic(QStringLiteral("TBitmap")), Canvas(std::make_shared<TkvCanvas>([this] { return &Image; }))
{
}

int TkvMetafile::Width() const
{
    return Extent.isEmpty() ? qMax(0, Picture.boundingRect().right() + 1) : Extent.width();
}

int TkvMetafile::Height() const
{
    return Extent.isEmpty() ? qMax(0, Picture.boundingRect().bottom() + 1) : Extent.height();
}

void TkvMetafile::SetSize(int width, int height)
{
    Extent = QSize(qMax(0, width), qMax(0, height));
}

void TkvMetafile::Draw(QPainter &painter, const QRect &target) const
{
    const int width = Width();
    const int height = Height();
    if (width <= 0 || height <= 0)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / width, double(target.height()) / height);
    painter.drawPicture(0, 0, Picture);
    painter.restore();
}

void TkvMetafile::LoadFromFile(const QString &fileName)
{
    kvGuiError("SGuiNoMetafileRead", {fileName});
}

void TkvMetafile::SaveToFile(const QString &fileName) const
{
    kvGuiError("SGuiNoMetafileWrite", {fileName});
}

bool TkvMetafile::Assign(const TkvGraphic &other)
{
    const auto *metafile = dynamic_cast<const TkvMetafile *>(&other);
    if (!metafile)
        return false;
    Picture = metafile->Picture;
    Extent = metafile->Extent;
    return true;
}

TkvMetafileCanvas::TkvMetafileCanvas(const std::shared_ptr<TkvMetafile> &metafile)
    : TkvCanvas(nullptr, QStringLiteral("TMetafileCanvas")), FMetafile(metafile)
{
}

TkvMetafileCanvas::~TkvMetafileCanvas()
{
    if (FRecorder.isActive())
        FRecorder.end();
    if (const std::shared_ptr<TkvMetafile> metafile = FMetafile.lock())
        metafile->Picture = FRecording;
}

QPainter *TkvMetafileCanvas::Begin()
{
    if (!FRecorder.isActive() && !FRecorder.begin(&FRecording))
        return nullptr;
    return &FRecorder;
}

void TkvMetafileCanvas::End(QPainter *)
{
    // The recording goes on until the canvas is freed.
}

QPaintDevice *TkvMetafileCanvas::Device()
{
    return &FRecording;
}

namespace {

bool isMetafileName(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QLatin1String("emf") || suffix == QLatin1String("wmf");
}

} // namespace

void TkvPicture::LoadFromFile(const QString &fileName)
{
    std::shared_ptr<TkvGraphic> graphic;
    if (isMetafileName(fileName))
        graphic = std::make_shared<TkvMetafile>();
    else
        graphic = std::make_shared<TkvBitmap>();
    graphic->LoadFromFile(fileName);
    Graphic = std::move(graphic);
}

void TkvPicture::SaveToFile(const QString &fileName) const
{
    if (!Graphic)
        kvGuiError("SGuiEmptyPicture");
    Graphic->SaveToFile(fileName);
}
