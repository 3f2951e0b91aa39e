#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>

// The drawing objects scripts use: fonts, pens, brushes, canvases, pictures.
// Scripts own those they create (kvAdoptGraphics) and free them with Free;
// the parts of an object (a canvas's font, a bitmap's canvas) live with it
// and are handed out by reference (kvGraphicsRef).

/// Set bits of a font style.
enum TkvFontStyle { kvfsBold = 1, kvfsItalic = 2, kvfsUnderline = 4, kvfsStrikeout = 8 };

/// A colour as scripts write it, 0x00BBGGRR.
QColor kvColor(int color);
/// The script form of Color.
int kvColorValue(const QColor &color);

/// The base of the drawing objects: one static type, so any of them can be
/// looked up from a script value and told apart by its class name.
class TkvGraphicsObject : public std::enable_shared_from_this<TkvGraphicsObject>
{
public:
    /// A drawing object scripts know as ClassName.
    explicit TkvGraphicsObject(QString className) : FClassName(std::move(className)) {}
    virtual ~TkvGraphicsObject();
    TkvGraphicsObject(const TkvGraphicsObject &) = delete;
    TkvGraphicsObject &operator=(const TkvGraphicsObject &) = delete;

    /// The script class.
    const QString &ClassName() const { return FClassName; }

private:
    QString FClassName;
};

/// The script value of an object the script owns from now on.
Variant kvAdoptGraphics(const std::shared_ptr<TkvGraphicsObject> &object);
/// The script value of an object another one holds; it lives while that one does.
Variant kvGraphicsRef(TkvGraphicsObject *object);
/// The drawing object of Value; nullptr for nil. Raises for anything else.
TkvGraphicsObject *kvGraphicsOf(const Variant &value);
/// The drawing object of Value as a T; nullptr for nil. Raises for anything else.
template <class T>
T *kvGraphicsAs(const Variant &value);
/// The drawing object of Value as a T; raises for nil too.
template <class T>
T &kvDrawing(const Variant &value);

/// A font of a script canvas (TFont).
class TkvFont final : public TkvGraphicsObject
{
public:
    /// A font with the defaults: Arial, 10 points, black.
    TkvFont() : TkvGraphicsObject(QStringLiteral("TFont")) {}
    QString Name = QStringLiteral("Arial"); ///< family name
    int Size = 10;     ///< points
    int Style = 0;     ///< TkvFontStyle bits
    int Color = 0; ///< colour, as a script colour value
    int Pitch = 0;     ///< fpDefault, fpVariable, fpFixed
    /// The font to draw with.
    QFont ToQFont() const;
    /// Copies every setting of Other.
    void Assign(const TkvFont &other);
};

/// A pen of a script canvas (TPen).
class TkvPen final : public TkvGraphicsObject
{
public:
    /// A pen with the defaults: black, 1 pixel, solid.
    TkvPen() : TkvGraphicsObject(QStringLiteral("TPen")) {}
    int Color = 0; ///< colour, as a script colour value
    int Width = 1; ///< width in pixels
    int Style = 0; ///< TPenStyle ordinal
    int Mode = 4;  ///< TPenMode ordinal; pmCopy
    /// Copies every setting of Other.
    void Assign(const TkvPen &other);
    /// The pen to draw with.
    QPen ToQPen() const;
};

/// A brush of a script canvas (TBrush).
class TkvBrush final : public TkvGraphicsObject
{
public:
    /// A brush with the defaults: white, solid.
    TkvBrush() : TkvGraphicsObject(QStringLiteral("TBrush")) {}
    int Color = 0xFFFFFF; ///< colour, as a script colour value
    int Style = 0; ///< TBrushStyle ordinal
    /// Copies every setting of Other.
    void Assign(const TkvBrush &other);
    /// The brush to fill with.
    QBrush ToQBrush() const;
};

class TkvGraphic;

/// A surface to draw on with the current font, pen and brush. Drawing goes to
/// an image (a bitmap, a window's surface) through the Image function; a
/// canvas without one refuses to draw.
class TkvCanvas : public TkvGraphicsObject
{
public:
    /// A canvas drawing into the image Image returns (nullptr: none).
    explicit TkvCanvas(std::function<QImage *()> image, QString className = QStringLiteral("TCanvas"));
    ~TkvCanvas() override;

    std::shared_ptr<TkvFont> Font = std::make_shared<TkvFont>(); ///< the font text is drawn in
    std::shared_ptr<TkvPen> Pen = std::make_shared<TkvPen>(); ///< the pen lines are drawn with
    std::shared_ptr<TkvBrush> Brush = std::make_shared<TkvBrush>(); ///< the brush shapes are filled with
    QPoint PenPos; ///< where MoveTo and LineTo left the pen
    /// Called after each drawing (a window repaints).
    std::function<void()> OnChange;

    /// Runs Draw with a painter set up with the pen, brush and font.
    void Paint(const std::function<void(QPainter &)> &draw);
    /// The pixel at X, Y; -1 when outside or when there is no image.
    int Pixel(int x, int y);
    /// Sets the pixel at X, Y; ignored when outside.
    void SetPixel(int x, int y, int color);
    /// The width and height Text takes in the font.
    QSize TextExtent(const QString &text);

protected:
    /// The painter of one drawing; nullptr when there is nothing to draw on.
    virtual QPainter *Begin();
    /// Ends what Begin began.
    virtual void End(QPainter *painter);
    /// The resolution text is measured at.
    virtual QPaintDevice *Device();

private:
    std::function<QImage *()> FImage;
    QPainter FPainter;
};

/// Any picture: a raster image by default.
class TkvGraphic : public TkvGraphicsObject
{
public:
    /// A picture scripts know as ClassName, empty.
    explicit TkvGraphic(QString className = QStringLiteral("TGraphic")) : TkvGraphicsObject(std::move(className)) {}
    /// The pixels; null while a side is 0.
    QImage Image;

    /// Width in pixels.
    virtual int Width() const { return FSize.width(); }
    /// Height in pixels.
    virtual int Height() const { return FSize.height(); }
    /// Resizes, keeping what fits. Scripts give one side after the other,
    /// so a size with a side of 0 is kept until the other comes.
    virtual void SetSize(int width, int height);
    /// Draws the picture into Target.
    virtual void Draw(QPainter &painter, const QRect &target) const;
    /// Reads FileName; raises when it cannot.
    virtual void LoadFromFile(const QString &fileName);
    /// Writes FileName in the format its extension names (BMP by default).
    virtual void SaveToFile(const QString &fileName) const;
    /// Copies the picture of Other; False when the kinds differ.
    virtual bool Assign(const TkvGraphic &other);

private:
    QSize FSize{0, 0};
};

/// A raster picture with a canvas to draw on it (TBitmap).
class TkvBitmap final : public TkvGraphic
{
public:
    /// An empty bitmap with its canvas.
    TkvBitmap();
    /// The canvas drawing on the image.
    std::shared_ptr<TkvCanvas> Canvas;
};

/// A recorded drawing. This system has no decoder or encoder of metafile
/// files, so they are refused; a TMetafileCanvas records into it.
class TkvMetafile final : public TkvGraphic
{
public:
    TkvMetafile() : TkvGraphic(QStringLiteral("TMetafile")) {}
    QPicture Picture; ///< the recording
    QSize Extent; ///< the size a script gave; the recording's bounds while empty

    /// Width: Extent's, or the recording's bounds while Extent is empty.
    int Width() const override;
    /// Height: Extent's, or the recording's bounds while Extent is empty.
    int Height() const override;
    void SetSize(int width, int height) override;
    void Draw(QPainter &painter, const QRect &target) const override;
    void LoadFromFile(const QString &fileName) override;
    void SaveToFile(const QString &fileName) const override;
    bool Assign(const TkvGraphic &other) override;
};

/// Records drawing into a metafile, which gets it when the canvas is freed.
class TkvMetafileCanvas final : public TkvCanvas
{
public:
    /// A canvas recording into Metafile.
    explicit TkvMetafileCanvas(const std::shared_ptr<TkvMetafile> &metafile);
    ~TkvMetafileCanvas() override;

protected:
    QPainter *Begin() override;
    void End(QPainter *painter) override;
    QPaintDevice *Device() override;

private:
    std::weak_ptr<TkvMetafile> FMetafile;
    QPicture FRecording;
    QPainter FRecorder;
};

/// A holder of one graphic, chosen by the file it is loaded from.
class TkvPicture final : public TkvGraphicsObject
{
public:
    TkvPicture() : TkvGraphicsObject(QStringLiteral("TPicture")) {}
    std::shared_ptr<TkvGraphic> Graphic; ///< the picture held; nullptr when empty
    /// Loads FileName into a graphic of the kind its extension names.
    void LoadFromFile(const QString &fileName);
    /// Writes the graphic to FileName.
    void SaveToFile(const QString &fileName) const;
};

/// Raises the error of a drawing object used where it does not fit.
[[noreturn]] void kvGraphicsMismatch(const TkvGraphicsObject *object);

template <class T>
T *kvGraphicsAs(const Variant &value)
{
    TkvGraphicsObject *object = kvGraphicsOf(value);
    T *typed = dynamic_cast<T *>(object);
    if (object && !typed)
        kvGraphicsMismatch(object);
    return typed;
}

/// Raises "Invalid object reference".
[[noreturn]] void kvNilDrawing();

template <class T>
T &kvDrawing(const Variant &value)
{
    T *object = kvGraphicsAs<T>(value);
    if (!object)
        kvNilDrawing();
    return *object;
}
