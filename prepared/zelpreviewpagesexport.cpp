// The prepared pages: exporting them through an export filter.
#include "prepared/zelpreviewpagesprivate.h"

#include "model/band/zeldataband.h"
#include "model/io/zelcustomiotransport.h"
#include "model/report/zelcustomexportfilter.h"
#include "model/report/zelpagenumbers.h"
#include "model/view/zelsettledtext.h"

#include <QCoreApplication>
#include <QSet>

using namespace zelpages;

namespace {

// Detaches the filter's own transport after an export, so that the next
// export makes a fresh one.
void releaseTransport(TzelCustomExportFilter &filter, TzelCustomIOTransport *own)
{
    if (filter.IOTransport == own)
        filter.IOTransport = nullptr;
}

} // namespace

bool TzelPreviewPages::Export(TzelCustomExportFilter *filter)
{
    PrintCopyNo = 0;
    if (!filter)
        return false;
    filter->CreationTime = QDateTime::currentDateTime();
    filter->Report = FReport;
    filter->ResetDefaultIOTransport();
    filter->Files.clear();
    if (filter->OnBeforeExport)
        filter->OnBeforeExport(filter);
    if (filter->ShowDialog && !filter->ShowModal())
        return false;

    filter->ResolveFileName();
    TzelCustomIOTransport *own = nullptr;
    if (!filter->IOTransport)
        filter->IOTransport = own = filter->GetDefaultIOTransport();
    TzelCustomIOTransport &transport = *filter->IOTransport;
    TzelCustomIOTransport::ExportTarget target;
    target.Report = FReport;
    target.FileName = filter->FileName;
    target.DefaultPath = filter->DefaultPath;
    target.DefaultExt = filter->DefaultExt;
    target.FilterString = filter->FilterString();
    target.OverwritePrompt = filter->OverwritePrompt;
    transport.InitFromExport(target);
    if (!transport.OpenFilter()) {
        transport.CloseFilter();
        releaseTransport(*filter, own);
        return false;
    }
    filter->FileName = transport.FileName();
    if (filter->CurPage)
        filter->PageNumbers = QString::number(CurPreviewPage + 1);
    bool result = true;
    if (FReport)
        FReport->Terminated = false;
    try {
        if (zelNamesNoPage(filter->PageNumbers, Count()))
            throw TzelException(zelFormat(zelRes("clNoPagesInRange"), {filter->PageNumbers, QString::number(Count())}));
        ExportPages(*filter, zelParsePageNumbers(filter->PageNumbers, Count()));
        transport.CloseFilter();
    } catch (const TzelExportTerminated &) {
        transport.CloseFilter();
    } catch (const std::exception &e) {
        // Nothing of a failed export stays: open streams are dropped and
        // the files already complete are removed.
        result = false;
        transport.CancelAllStreams();
        try {
            transport.CloseFilter();
        } catch (const std::exception &) {
            // the export's own error is the one reported
        }
        for (const QString &file : std::as_const(filter->Files))
            QFile::remove(file);
        filter->Files.clear();
        if (FReport) {
            FReport->Errors().Add(QString::fromUtf8(e.what()));
            FReport->ReportErrors();
        }
    }
    releaseTransport(*filter, own);
    return result;
}

void TzelPreviewPages::ExportPages(TzelCustomExportFilter &filter, const QStringList &pages)
{
    if (filter.OnBeginExport)
        filter.OnBeginExport(&filter);
    if (!filter.DoStart())
        return;
    const bool progress = filter.ShowProgress && FReport;
    if (progress)
        FReport->InternalOnProgressStart(TzelProgress{ptExporting, 0, 0});
    std::exception_ptr failure;
    try {
        const bool threadSafe = FReport && FReport->EngineOptions().EnableThreadSafe;
        QSet<int> numbers;
        for (const QString &page : pages)
            numbers.insert(page.toInt());
        const auto chosen = [&](int i) { return pages.isEmpty() || numbers.contains(i + 1); };
        int first = 0, last = Count() - 1;
        while (first < Count() && !chosen(first))
            ++first;
        while (last >= 0 && !chosen(last))
            --last;
        for (int i = 0; i < Count(); ++i) {
            if (!chosen(i))
                continue;
            ExportPage(filter, i, i == first, i == last);
            if (!threadSafe && QCoreApplication::instance())
                QCoreApplication::processEvents();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // Whatever ended the pages, progress stops and the filter completes;
    // after an error its output is dropped, and what it says is not heard.
    if (progress)
        FReport->InternalOnProgressStop(TzelProgress{ptExporting, 0, 0});
    if (failure) {
        try {
            filter.DoFinish();
        } catch (const std::exception &) {
        }
        std::rethrow_exception(failure);
    }
    filter.DoFinish();
}

void TzelPreviewPages::ExportPage(TzelCustomExportFilter &filter, int index, bool firstPage, bool lastPage)
{
    TzelReportPage *page = GetPage(index);
    if (!page)
        return;
    LockPage();
    if (filter.ShowProgress && FReport)
        FReport->InternalOnProgress(TzelProgress{ptExporting, index + 1, 0});
    // The page is finished and unlocked also when exporting an object fails;
    // an error of the filter's own page end then is not heard.
    bool finished = false;
    const auto unlock = qScopeGuard([&] {
        if (!finished) {
            try {
                filter.FinishPage(page, index);
            } catch (const std::exception &) {
            }
        }
        page->SetLeft(0);
        page->SetTop(0);
        UnlockPage();
        ClearPageCache();
    });
    filter.StartPage(page, index);
    page->SetLeft(page->LeftMarginAt(index) * qz01cm);
    page->SetTop(page->TopMargin * qz01cm);

    // The page's colour, frame and picture over its printable area.
    TzelPictureView background;
    background.SetName(QStringLiteral("_pagebackground"));
    background.Assign(&page->BackPictureView());
    background.Stretched = true;
    background.KeepAspectRatio = false;
    const QSizeF printable = page->PrintableSize() * qz01cm;
    background.SetBounds(page->Left(), page->Top(), printable.width(), printable.height());
    ExportObject(filter, &background);

    for (TzelComponent *c : page->Objects()) {
        if (filter.SuppressPageHeadersFooters &&
            ((zelAs<TzelPageHeader>(c) && !firstPage) || (zelAs<TzelPageFooter>(c) && !lastPage)))
            continue;
        ExportObject(filter, c);
        for (TzelComponent *child : c->Objects())
            ExportObject(filter, child);
    }
    finished = true;
    filter.FinishPage(page, index);
}

void TzelPreviewPages::ExportObject(TzelCustomExportFilter &filter, TzelComponent *object)
{
    auto *view = zelAs<TzelView>(object);
    if ((filter.DataOnly && !zelAs<TzelDataBand>(object->Parent())) || (view && !view->Visibility.Contains(vsExport)))
        return;
    {
        const TzelSettledText settled(object, Count(), 1);
        filter.ExportObject(object);
    }
    if (FReport && FReport->Terminated)
        throw TzelExportTerminated();
}
