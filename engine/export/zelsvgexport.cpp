#include "engine/export/zelsvgexport.h"

#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelreport.h"

#include <QPainter>
#include <QSvgGenerator>

TzelSVGExport::TzelSVGExport(Registration registration) : TzelDrawingExport(registration)
{
    DefaultExt = QStringLiteral(".svg");
    FilterDesc = QStringLiteral("SVG drawing");
    ExportTitle = QStringLiteral("Export to SVG");
}

TzelSVGExport::~TzelSVGExport() = default;

void TzelSVGExport::StartPage(TzelReportPage *page, int index)
{
    const QSizeF size(page->PaperWidth() * qz01cm, page->PaperHeight() * qz01cm);
    FBuffer.setData(QByteArray());
    FBuffer.open(QIODevice::WriteOnly);
    FGenerator = std::make_unique<QSvgGenerator>();
    FGenerator->setOutputDevice(&FBuffer);
    FGenerator->setResolution(96);
    FGenerator->setSize(size.toSize());
    FGenerator->setViewBox(QRectF(QPointF(0, 0), size));
    FGenerator->setTitle(Report ? Report->ReportOptions().Name : QString());
    FGenerator->setDescription(QStringLiteral("Page %1").arg(index + 1));
    FPainter = std::make_unique<QPainter>(FGenerator.get());
    FPainter->setRenderHint(QPainter::Antialiasing);
    FPainter->fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    BeginPageDrawing(*FPainter, 96);
}

void TzelSVGExport::FinishPage(TzelReportPage *, int index)
{
    if (!FPainter)
        return;
    EndPageDrawing();
    FPainter.reset();
    FGenerator.reset();
    FBuffer.close();
    WritePageFile(index, FBuffer.data());
    FBuffer.setData(QByteArray());
}
