#pragma once
/// \file

#include "model/report/zelcustomoutline.h"
#include "model/report/zelpreviewpagestypes.h"

#include <QPoint>
#include <QString>
#include <memory>

class QIODevice;
class TzelComponent;
class TzelCustomIOTransport;
class TzelPagesEngine;
class TzelPictureView;
class TzelCustomExportFilter;
class TzelCustomPostProcessor;
class TzelPostProcessor;
class TzelReport;
class TzelReportPage;
class TzelBand;

/// The output of a report build: prepared pages written band by band by the
/// engine, read back as object trees by the preview, saved and loaded as
/// prepared-report files. This is the interface the engine and the preview
/// see; TzelPreviewPages implements it.
class TzelCustomPreviewPages
{
public:
    /// Pages of Report.
    explicit TzelCustomPreviewPages(TzelReport *report);
    virtual ~TzelCustomPreviewPages();
    TzelCustomPreviewPages(const TzelCustomPreviewPages &) = delete;
    TzelCustomPreviewPages &operator=(const TzelCustomPreviewPages &) = delete;

    /// Number of prepared pages.
    virtual int Count() const = 0;
    /// Page Index rebuilt as an object tree (owned by the pages' cache), or
    /// nullptr when there are no pages.
    virtual TzelReportPage *GetPage(int index) = 0;
    /// Size of page Index in report units, rounded; (0, 0) when out of range.
    virtual QPoint GetPageSize(int index) = 0;
    /// Forgets every page, the outline, the pictures and the source pages.
    virtual void Clear() = 0;
    /// Prepares the start of a build.
    virtual void Initialize() = 0;
    /// Stores Obj and its visible children on the current page.
    virtual void AddObject(TzelComponent *obj) = 0;
    /// Starts a new page made from the template page Page (or writes over
    /// the next one, see AddPageAction).
    virtual void AddPage(TzelReportPage *page) = 0;
    /// Copies the template page Page as a source page.
    virtual void AddSourcePage(TzelReportPage *page) = 0;
    /// Registers an object made during the build so that it is stored by reference.
    virtual void AddToSourcePage(TzelComponent *obj) = 0;
    /// Marks the start of a pass.
    virtual void BeginPass() = 0;
    /// Throws away what the first of two passes added.
    virtual void ClearFirstPassPages() = 0;
    /// Moves the objects of the current page from Position on aside.
    virtual void CutObjects(int position) = 0;
    /// Frees the objects of the current page from Position on.
    virtual void DeleteObjects(int position) = 0;
    /// Deletes the anchors after position From.
    virtual void DeleteAnchors(int from) = 0;
    /// Ends a build.
    virtual void Finish() = 0;
    /// Counts a page of the current logical run.
    virtual void IncLogicalPageNumber() = 0;
    /// Closes the current logical run of pages.
    virtual void ResetLogicalPageNumber() = 0;
    /// Puts the objects set aside by CutObjects on the current page at X, Y.
    virtual void PasteObjects(double x, double y) = 0;
    /// Moves the anchors after position From to the next page.
    virtual void ShiftAnchors(int from, int newTop) = 0;
    /// Stores Picture's picture in the picture cache.
    virtual void AddPicture(TzelPictureView *picture) = 0;
    /// Whether the current page holds Band already.
    virtual bool BandExists(TzelBand *band) = 0;
    /// Number of objects on the current page.
    virtual int GetCurPosition() = 0;
    /// Index of the last anchor, -1 when none.
    virtual int GetAnchorCurPosition() = 0;
    /// Bottom of the lowest band on the current page (see the .cpp).
    virtual double GetLastY(double columnPosition = 0) = 0;
    /// Logical number of the current page.
    virtual int GetLogicalPageNo() = 0;
    /// Logical page count of the current page's run (0 while unknown).
    virtual int GetLogicalTotalPages() = 0;
    /// Inserts an empty page before page Index.
    virtual void AddEmptyPage(int index) = 0;
    /// Removes page Index unless it is the only one.
    virtual void DeletePage(int index) = 0;
    /// Replaces page Index by Page, stored whole.
    virtual void ModifyPage(int index, TzelReportPage *page) = 0;
    /// Stores again an object of a rebuilt page after it was edited.
    virtual void ModifyObject(TzelComponent *component) = 0;
    /// Makes the pages made from template page Page Width × Height units.
    virtual void UpdatePageDimensions(TzelReportPage *page, double width, double height) = 0;
    /// Gives page Index a custom size of Width × Height millimetres.
    virtual void UpdatePageDimension(int index, double width, double height) = 0;
    /// Records the last column used on the current page and its left edge.
    virtual void UpdatePageLastColumn(int column, double columnPos, bool reset = false) = 0;
    /// Reads what UpdatePageLastColumn recorded; missing values leave the arguments.
    virtual void GetLastColumnPos(int &column, double &columnPos) = 0;
    /// Reads a prepared report; with partial loading pages are read when
    /// first needed and Stream must stay open.
    virtual void LoadFromStream(QIODevice *stream, bool allowPartialLoading = false) = 0;
    /// Writes the prepared report.
    virtual void SaveToStream(QIODevice *stream) = 0;
    /// Saves through Filter; False when the transport did not open.
    virtual bool SaveToFilter(TzelCustomIOTransport *filter, const QString &fileName) = 0;
    /// Loads FileName; False when it does not exist (raises instead when ExceptionIfNotFound).
    virtual bool LoadFromFile(const QString &fileName, bool exceptionIfNotFound = false) = 0;
    /// Saves to FileName.
    virtual void SaveToFile(const QString &fileName) = 0;

    /// What AddPage does on an existing page.
    TzelAddPageAction AddPageAction = apWriteOver;
    /// Index of the page being written or read; -1 when empty.
    int CurPage() const { return FCurPage; }
    /// Sets CurPage.
    void SetCurPage(int value) { FCurPage = value; }
    /// Index of the page the preview shows.
    int CurPreviewPage = 0;
    /// Index of the first page of the current build.
    int FirstPage = 0;
    /// The copy being printed.
    int PrintCopyNo = 0;
    /// Scale of the print being made.
    double PrintScale = 1;
    /// The engine filling the pages, or nullptr.
    TzelPagesEngine *Engine = nullptr;
    /// The outline.
    TzelCustomOutline &Outline() const { return *FOutline; }
    /// Deferred values of objects completed after they were stored.
    virtual TzelPostProcessor &PostProcessor() const = 0;
    /// The post-processor as scripts reach it.
    virtual TzelCustomPostProcessor &CustomPostProcessor() const = 0;
    /// Records an anchor named Text at the cursor of the page being built.
    virtual void AddAnchor(const QString &text) = 0;
    /// The 1-based page of the last anchor named Text (case ignored); 1
    /// when there is none.
    virtual int GetAnchorPage(const QString &text) = 0;
    /// Exports the chosen pages through Filter; False when the transport did
    /// not open, the options dialog was cancelled or an error ended the
    /// export (its message then is among the report's errors, and nothing
    /// is left of the output).
    virtual bool Export(TzelCustomExportFilter *filter) = 0;
    /// The report the pages belong to.
    TzelReport *Report() const { return FReport; }

protected:
    int FCurPage = -1; ///< backs CurPage
    TzelReport *FReport; ///< backs Report
    std::unique_ptr<TzelCustomOutline> FOutline; ///< the outline built with the pages
};
