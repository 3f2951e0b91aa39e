#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/imaging/zelimagecodec.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelsafefile.h"
#include "engine/render/canvas/zelqpaintercanvas.h"
#include "engine/render/draw/zeldesignpage.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelreport.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

#include <QImage>
#include <QImageWriter>
#include <optional>

namespace {

int draw(const TzelCommandArgs &args)
{
    const QString &input = args.Positional.at(0);
    const QString &output = args.Positional.at(1);
    if (!zelOutputOfKind(output, "png"))
        return 2;
    const std::optional<int> pageNo = zelNumberOption(args, "--page", 1, 1, 100000);
    const std::optional<int> dpi = zelNumberOption(args, "--dpi", 96, 10, 1200);
    if (!pageNo || !dpi)
        return 2;

    TzelReport report;
    if (!zelTemplateInput(input))
        return 2;
    if (!zelLoadTemplate(report, input, args))
        return zelFinish(report, input, 1);
    const QList<TzelReportPage *> pages = report.ReportPages();
    if (*pageNo > pages.size()) {
        zelSay(zelFormat(zelRes("clNoSuchPage"), {QString::number(*pageNo), QString::number(pages.size())}));
        zelFinish(report, input);
        return 2;
    }
    const TzelReportPage &page = *pages.at(*pageNo - 1);
    const double scale = *dpi / 96.0;
    const QSize size = zelDesignPageSize(page, scale);
    if (size.isEmpty() || double(size.width()) * size.height() > double(zelMaxImagePixels)) {
        zelSay(zelFormat(zelRes("clImageTooLarge"), {QString::number(size.width()), QString::number(size.height()),
                                                    QString::number(zelMaxImagePixels)}));
        zelFinish(report, input);
        return 2;
    }
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(*dpi / 0.0254));
    image.setDotsPerMeterY(qRound(*dpi / 0.0254));
    {
        QPainterCanvas canvas(image, *dpi, *dpi);
        zelDrawDesignPage(page, canvas, scale);
    }
    return zelWriteOutput(report, input, [&] {
        zelSaveFile(output, [&](QIODevice *stream) {
            QImageWriter writer(stream, "png");
            if (!writer.write(image))
                throw TzelException(writer.errorString());
        });
    });
}

} // namespace

TzelCommand zelDrawCommand()
{
    return {"draw",
            "IN.zt3 OUT.png",
            "Draw a page of a template as the designer shows it (bands at their places, objects with their frames "
            "and fills, text as written) into a PNG picture.",
            {{"--page", "N", "the page to draw, from 1 (1)"},
             {"--dpi", "N", "pixels per inch of the picture (96)"},
             zelPasswordOption()},
            draw};
}
