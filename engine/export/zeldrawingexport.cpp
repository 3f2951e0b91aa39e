#include "engine/export/zeldrawingexport.h"

#include "engine/render/canvas/zelqpaintercanvas.h"
#include "engine/render/draw/zelviewpainter.h"
#include "model/io/zelcustomiotransport.h"
#include "model/io/zeliotransportfile.h"
#include "model/view/zelview.h"

#include <QFileInfo>
#include <QIODevice>

TzelDrawingExport::TzelDrawingExport(Registration registration) : TzelCustomExportFilter(registration) {}

TzelDrawingExport::~TzelDrawingExport() = default;

void TzelDrawingExport::ExportObject(TzelComponent *object)
{
    auto *view = zelAs<TzelView>(object);
    if (!view || !view->Visible() || !FCanvas)
        return;
    zelDrawView(*view, *FCanvas, Scale(), Scale(), 0, 0, false);
}

void TzelDrawingExport::BeginPageDrawing(QPainter &painter, double dpi)
{
    FCanvas = std::make_unique<QPainterCanvas>(painter, dpi, dpi, false);
}

void TzelDrawingExport::EndPageDrawing()
{
    FCanvas.reset();
}

QString TzelDrawingExport::PageFileName(int index) const
{
    const QString number = QString::number(index + 1);
    if (FileName.contains(QLatin1String("%d")))
        return QString(FileName).replace(QLatin1String("%d"), number);
    const QFileInfo info(FileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return FileName.left(FileName.size() - suffix.size()) + QLatin1Char('-') + number + suffix;
}

void TzelDrawingExport::WritePageFile(int index, const QByteArray &data)
{
    const QString name = PageFileName(index);
    QIODevice *stream = IOTransport->GetStream(name);
    if (stream->write(data) != data.size())
        throw TzelException(QStringLiteral("Could not write %1: %2").arg(name, stream->errorString()));
    IOTransport->FreeStream(stream, name);
    const auto *file = dynamic_cast<const TzelIOTransportFile *>(IOTransport);
    Files << (file ? file->FileSystemPath(name) : name);
}
