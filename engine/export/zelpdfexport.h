#pragma once
/// \file

#include "engine/export/zeldrawingexport.h"
#include "engine/export/zelpdfextras.h"

#include <QTemporaryFile>
#include <memory>

class QPainter;
class QPdfWriter;
class TzelView;

/// Writes the pages as one PDF document: text stays text (fonts embedded as
/// subsets that map back to Unicode), lines, frames, shapes and fills are
/// vectors, each picture is embedded once. The report's outline becomes the
/// bookmarks, objects' hyperlinks become links, and the report's name, author
/// and description the document information.
class TzelPDFExport : public TzelDrawingExport
{
public:
    /// A PDF filter; it enters the list of export filters unless made with NoRegister.
    explicit TzelPDFExport(Registration registration = Register);
    ~TzelPDFExport() override;

    bool Start() override;
    void StartPage(TzelReportPage *page, int index) override;
    void ExportObject(TzelComponent *object) override;
    void FinishPage(TzelReportPage *page, int index) override;
    void Finish() override;

    int Resolution = 600; ///< positions are rounded to this many dots per inch

protected:
    double Scale() const override { return Resolution / 96.0; }

private:
    // Where a report position of page Index lies in the document.
    TzelPdfExtras::Target TargetOf(int index, double left, double top) const;
    void AddLink(const TzelView &view);
    // Links lead to pages written later too: they are placed once all are.
    void PlaceLinks();
    void AddBookmarks();

    std::unique_ptr<QTemporaryFile> FFile;
    std::unique_ptr<QPdfWriter> FWriter;
    std::unique_ptr<QPainter> FPainter;
    TzelPdfExtras FExtras;
    // A link until every page is written: the report's page it leads to.
    struct PendingLink
    {
        TzelPdfExtras::Link Link;
        int TargetPage = -1; ///< report page index; -1 for an address
    };
    QList<PendingLink> FLinks;
    QList<int> FPages;          // the report's page index of each page written
    QList<double> FPageHeights; // in PDF units, per page written
};
