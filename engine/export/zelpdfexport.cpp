#include "engine/export/zelpdfexport.h"

#include "model/component/zelunits.h"
#include "model/io/zelcustomiotransport.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustomoutline.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/view/zelview.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>

namespace {

// PDF units (1/72 inch) per report unit (1/96 inch).
constexpr double pointsPerUnit = 72.0 / 96.0;

} // namespace

TzelPDFExport::TzelPDFExport(Registration registration) : TzelDrawingExport(registration)
{
    DefaultExt = QStringLiteral(".pdf");
    FilterDesc = QStringLiteral("PDF document");
    ExportTitle = QStringLiteral("Export to PDF");
}

TzelPDFExport::~TzelPDFExport() = default;

bool TzelPDFExport::Start()
{
    // Qt writes the document into a temporary file, which then goes through
    // qpdf into the output.
    FFile = std::make_unique<QTemporaryFile>(QDir(QDir::tempPath()).filePath(QStringLiteral("zelpdfXXXXXX.pdf")));
    if (!FFile->open())
        throw TzelException(QStringLiteral("Could not make a temporary file for the PDF document: %1")
                                .arg(FFile->errorString()));
    FWriter = std::make_unique<QPdfWriter>(FFile.get());
    FWriter->setResolution(Resolution);
    FWriter->setCreator(QStringLiteral("ZelReport"));
    FWriter->setPageMargins(QMarginsF(0, 0, 0, 0));
    FExtras = TzelPdfExtras{};
    FPages.clear();
    FPageHeights.clear();
    FLinks.clear();
    if (Report) {
        const TzelReportOptions &options = Report->ReportOptions();
        FExtras.Title = options.Name;
        FExtras.Author = options.Author;
        FExtras.Subject = options.Description.join(QLatin1Char('\n')).trimmed();
        FWriter->setTitle(options.Name);
    }
    FExtras.Creator = QStringLiteral("ZelReport");
    return true;
}

void TzelPDFExport::StartPage(TzelReportPage *page, int index)
{
    const QSizeF size(page->PaperWidth(), page->PaperHeight());
    FWriter->setPageSize(QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    FWriter->setPageMargins(QMarginsF(0, 0, 0, 0));
    if (!FPainter) {
        FPainter = std::make_unique<QPainter>();
        if (!FPainter->begin(FWriter.get()))
            throw TzelException(QStringLiteral("The PDF writer could not start"));
    } else if (!FWriter->newPage()) {
        throw TzelException(QStringLiteral("The PDF writer could not start page %1").arg(index + 1));
    }
    BeginPageDrawing(*FPainter, Resolution);
    FPages.append(index);
    // The writer's page is whole points high: places are measured from its top.
    FPageHeights.append(FWriter->pageLayout().fullRectPoints().height());
}

void TzelPDFExport::ExportObject(TzelComponent *object)
{
    TzelDrawingExport::ExportObject(object);
    if (auto *view = zelAs<TzelView>(object); view && view->Visible())
        AddLink(*view);
}

void TzelPDFExport::FinishPage(TzelReportPage *, int)
{
    EndPageDrawing();
}

TzelPdfExtras::Target TzelPDFExport::TargetOf(int index, double left, double top) const
{
    // Pages not exported lead to the nearest one before them.
    int page = 0;
    for (int i = 0; i < FPages.size() && FPages[i] <= index; ++i)
        page = i;
    const double height = FPageHeights.value(page);
    return {page, left * pointsPerUnit, height - top * pointsPerUnit};
}

void TzelPDFExport::AddLink(const TzelView &view)
{
    const TzelHyperlink &link = view.Hyperlink();
    if (link.Value.isEmpty())
        return;
    PendingLink pending;
    TzelPdfExtras::Link &l = pending.Link;
    l.Page = int(FPages.size()) - 1;
    const double height = FPageHeights.value(l.Page);
    l.Rect = QRectF(view.AbsLeft() * pointsPerUnit, height - (view.AbsTop() + view.Height()) * pointsPerUnit,
                    view.Width() * pointsPerUnit, view.Height() * pointsPerUnit);
    TzelCustomPreviewPages *pages = Report ? Report->PreviewPages() : nullptr;
    switch (link.Kind) {
    case hkURL:
        l.Uri = link.Value;
        break;
    case hkPageNumber:
        pending.TargetPage = link.Value.toInt() - 1;
        break;
    case hkAnchor:
        if (!pages)
            return;
        pending.TargetPage = pages->GetAnchorPage(link.Value) - 1;
        break;
    default:
        return; // detail reports open in the preview only
    }
    FLinks.append(pending);
}

void TzelPDFExport::PlaceLinks()
{
    FExtras.Links.clear();
    for (PendingLink &pending : FLinks) {
        if (pending.TargetPage >= 0)
            pending.Link.Destination = TargetOf(pending.TargetPage, 0, 0);
        FExtras.Links.append(pending.Link);
    }
}

void TzelPDFExport::AddBookmarks()
{
    TzelCustomPreviewPages *pages = Report ? Report->PreviewPages() : nullptr;
    if (!pages)
        return;
    TzelCustomOutline &outline = pages->Outline();
    const std::function<QList<TzelPdfExtras::Bookmark>()> level = [&] {
        QList<TzelPdfExtras::Bookmark> items;
        for (int i = 0; i < outline.Count(); ++i) {
            TzelPdfExtras::Bookmark b;
            int page = 0, top = 0;
            outline.GetItem(i, b.Title, page, top);
            TzelReportPage *source = pages->GetPage(page);
            const double margin = source ? source->TopMargin * qz01cm : 0;
            b.Destination = TargetOf(page, 0, margin + top);
            outline.LevelDown(i);
            b.Children = level();
            outline.LevelUp();
            items.append(b);
        }
        return items;
    };
    outline.LevelRoot();
    FExtras.Bookmarks = level();
    outline.LevelRoot();
}

void TzelPDFExport::Finish()
{
    EndPageDrawing();
    const bool painted = FPainter && FPainter->end();
    FPainter.reset();
    FWriter.reset();
    if (!FFile)
        return;
    const auto drop = qScopeGuard([this] { FFile.reset(); });
    if (!painted || FPages.isEmpty())
        return;
    FFile->close();
    PlaceLinks();
    AddBookmarks();
    QIODevice *stream = IOTransport->GetStream(FileName);
    FExtras.Apply(FFile->fileName(), *stream);
    IOTransport->FreeStream(stream, FileName);
    Files << FileName;
}
