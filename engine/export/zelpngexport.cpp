#include "engine/export/zelpngexport.h"

#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"

#include <QBuffer>
#include <QPainter>
#include <cmath>

TzelPNGExport::TzelPNGExport(Registration registration) : TzelDrawingExport(registration)
{
    DefaultExt = QStringLiteral(".png");
    FilterDesc = QStringLiteral("PNG image");
    ExportTitle = QStringLiteral("Export to PNG");
}

TzelPNGExport::~TzelPNGExport() = default;

void TzelPNGExport::StartPage(TzelReportPage *page, int)
{
    const QSize size(int(std::lround(page->PaperWidth() * qz01cm * Scale())),
                     int(std::lround(page->PaperHeight() * qz01cm * Scale())));
    if (size.width() <= 0 || size.height() <= 0 || size.width() > 30000 || size.height() > 30000)
        throw TzelException(QStringLiteral("A page of %1 × %2 pixels cannot be written as an image")
                                .arg(size.width())
                                .arg(size.height()));
    FImage = QImage(size, QImage::Format_RGB32);
    FImage.setDotsPerMeterX(int(std::lround(Resolution / 0.0254)));
    FImage.setDotsPerMeterY(int(std::lround(Resolution / 0.0254)));
    FImage.fill(Qt::white);
    FPainter = std::make_unique<QPainter>(&FImage);
    FPainter->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    BeginPageDrawing(*FPainter, Resolution);
}

void TzelPNGExport::FinishPage(TzelReportPage *, int index)
{
    if (!FPainter)
        return;
    EndPageDrawing();
    FPainter.reset();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!FImage.save(&buffer, "PNG"))
        throw TzelException(QStringLiteral("Page %1 could not be encoded as PNG").arg(index + 1));
    FImage = QImage();
    WritePageFile(index, buffer.data());
}
