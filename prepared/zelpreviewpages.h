#pragma once
/// \file

#include "base/core/zelsortedstrings.h"
#include "base/stream/zeltextposition.h"
#include "base/xml/zelxmldocument.h"
#include "model/report/zelcustompreviewpages.h"
#include "prepared/zeldictionary.h"

#include <QHash>
#include <QList>
#include <memory>
#include <unordered_map>
#include <vector>

class TzelClassInfo;
class TzelCustomMemoView;
class TzelPictureCache;
class TzelPostProcessor;
class TzelXMLItem;
class TzelXMLSerializer;

/// Prepared pages kept as one XML document: every template page used by a
/// build is copied once as a source page, every object of it gets a short
/// unique name, and a prepared page stores per printed object only that name
/// and what differs from the source object. Finished pages can be swapped to
/// a temporary file; pages are rebuilt into objects on demand and kept in a
/// small most-recently-used cache.
class TzelPreviewPages : public TzelCustomPreviewPages
{
public:
    /// Empty pages of Report.
    explicit TzelPreviewPages(TzelReport *report);
    ~TzelPreviewPages() override;

    int Count() const override;
    TzelReportPage *GetPage(int index) override;
    QPoint GetPageSize(int index) override;
    void Clear() override;
    void Initialize() override;
    void AddObject(TzelComponent *obj) override;
    void AddPage(TzelReportPage *page) override;
    void AddSourcePage(TzelReportPage *page) override;
    void AddToSourcePage(TzelComponent *obj) override;
    void BeginPass() override;
    void ClearFirstPassPages() override;
    void CutObjects(int position) override;
    void DeleteObjects(int position) override;
    void DeleteAnchors(int from) override;
    void Finish() override;
    void IncLogicalPageNumber() override;
    void ResetLogicalPageNumber() override;
    void PasteObjects(double x, double y) override;
    void ShiftAnchors(int from, int newTop) override;
    void AddPicture(TzelPictureView *picture) override;
    bool BandExists(TzelBand *band) override;
    int GetCurPosition() override;
    int GetAnchorCurPosition() override;
    double GetLastY(double columnPosition = 0) override;
    int GetLogicalPageNo() override;
    int GetLogicalTotalPages() override;
    void AddEmptyPage(int index) override;
    void DeletePage(int index) override;
    void ModifyPage(int index, TzelReportPage *page) override;
    void ModifyObject(TzelComponent *component) override;
    void LoadFromStream(QIODevice *stream, bool allowPartialLoading = false) override;
    void SaveToStream(QIODevice *stream) override;
    bool SaveToFilter(TzelCustomIOTransport *filter, const QString &fileName) override;
    bool LoadFromFile(const QString &fileName, bool exceptionIfNotFound = false) override;
    void SaveToFile(const QString &fileName) override;

    /// Appends the pages of Other, each stored whole, with its anchors and
    /// outline; the next band continues below Other's last one.
    void AddFrom(TzelPreviewPages &other);
    /// Appends an anchor named Text on the current page at the engine's position.
    void AddAnchor(const QString &text) override;
    /// The last anchor named Text (case ignored), or nullptr.
    TzelXMLItem *FindAnchor(const QString &text);
    /// The "anchors" element.
    TzelXMLItem *FindAnchorRoot();
    /// 1-based page of the anchor named Text; 1 when there is none.
    int GetAnchorPage(const QString &text) override;
    bool Export(TzelCustomExportFilter *filter) override;
    void UpdatePageDimensions(TzelReportPage *page, double width, double height) override;
    void UpdatePageDimension(int index, double width, double height) override;
    void UpdatePageLastColumn(int column, double columnPos, bool reset = false) override;
    void GetLastColumnPos(int &column, double &columnPos) override;
    /// Keeps the page at the front of the cache from being evicted.
    void LockPage();
    /// Lets the locked page be evicted again.
    void UnlockPage();
    /// The source pages (copies of the template pages), in order.
    const QList<TzelReportPage *> &SourcePages() const { return FSourcePages; }
    /// The pictures shared by all pages.
    TzelPictureCache &PictureCache() const { return *FPictureCache; }
    TzelPostProcessor &PostProcessor() const override { return *FPostProcessor; }
    TzelCustomPostProcessor &CustomPostProcessor() const override;
    /// The unique names of the source objects.
    const TzelDictionary &Dictionary() const { return FDictionary; }
    /// The whole prepared report.
    TzelXMLDocument &XMLDocument() { return FXMLDoc; }
    /// Whether the last load read a whole prepared report (non-fatal errors aside).
    bool StreamLoaded() const { return FStreamLoaded; }
    /// Whether a loaded file's pages are read when first needed.
    bool AllowPartialLoading() const { return FAllowPartialLoading; }

private:
    struct CachedPage;
    using ElementMap = std::unordered_map<const TzelComponent *, int>; // object -> element position

    TzelXMLItem *Section(const QString &name);
    TzelXMLItem *ExistingSection(const QString &name) const;
    TzelXMLItem *PageItem(int index);
    TzelXMLItem *CurrentPageItem();
    TzelXMLItem *WritablePageItem();
    TzelXMLItem *LogicalPageItem(int index);
    void EnsureLoaded(TzelXMLItem *item);
    void SwapOutFinishedPages();
    void Unload(TzelXMLItem *item);
    void StoreObject(TzelComponent *obj, TzelXMLItem *parentItem, bool wholePage);
    // ObjectDiff, with a deferred memo stored as the index of its content.
    QString DeferredAwareDiff(TzelComponent *obj, TzelComponent *source, bool wholePage);
    QString ObjectDiff(TzelComponent *obj, TzelComponent *source, bool wholePage);
    // Whether this is the first of two passes, which stores geometry only.
    bool StoresGeometryOnly() const;
    TzelComponent *DefaultObject(const TzelClassInfo &cls);
    TzelComponent *SourceOf(const TzelComponent *obj) const;
    void RegisterSourceObject(TzelComponent *original, TzelComponent *copy, int pageIndex, const QString &base);
    QString ReferenceText(const TzelComponent *copy) const;
    void StoreReferenceText(const TzelComponent *copy);
    void ComputeReferenceTexts(TzelReportPage *page);
    TzelReportPage *SourcePageOf(const TzelXMLItem *pageItem) const;
    int SourceIndex(const TzelReportPage *page) const;
    TzelReportPage *RebuildPage(TzelXMLItem *item, TzelXMLSerializer &serializer);
    CachedPage *CachedEntry(int index);
    QList<CachedPage *> CachedEntries();
    static void WriteRootName(TzelXMLItem *item, const TzelComponent *root);
    // The last run of equal values of each memo name on the page being rebuilt.
    struct DuplicateRun
    {
        int Index = -1;
        TzelCustomMemoView *First = nullptr;
    };
    using DuplicateRuns = QHash<QString, DuplicateRun>;
    void RebuildObjects(TzelXMLItem *item, TzelComponent *parent, TzelXMLSerializer &serializer,
                        ElementMap &elements, int &position, DuplicateRuns &runs);
    // Gives Obj its post-processed text; False when it must not stand on the page.
    bool LoadPostProcessedValue(TzelComponent *obj, DuplicateRuns &runs) const;
    void StoreWholePage(TzelXMLItem *item, TzelReportPage *page);
    void ClearPageCache();
    // The page pass of Export and its pages and objects.
    void ExportPages(TzelCustomExportFilter &filter, const QStringList &pages);
    void ExportPage(TzelCustomExportFilter &filter, int index, bool firstPage, bool lastPage);
    void ExportObject(TzelCustomExportFilter &filter, TzelComponent *object);
    double BandBottom(const TzelXMLItem *item) const;
    void WriteReportSection();
    void ReadReportSection();
    void ReadSourcePages(TzelSortedStrings &errors);
    void ReadDictionary();
    void LoadDocument(QIODevice *stream, bool allowPartialLoading);
    void ReportLoadError(const QString &message, TzelTextPosition place = {});

    std::unique_ptr<QIODevice> FFile; // a loaded file whose pages are read on demand
    QString FLoadFile;                // the file being loaded, named in its errors
    TzelXMLDocument FXMLDoc;
    TzelDictionary FDictionary;
    std::unique_ptr<TzelPostProcessor> FPostProcessor;
    std::unique_ptr<TzelPictureCache> FPictureCache;
    QList<TzelReportPage *> FSourcePages;
    QList<const TzelReportPage *> FSourceTemplates; // template page of each source page; nullptr after its build
    std::unordered_map<const TzelComponent *, QString> FReferenceTexts;
    std::unordered_map<const TzelClassInfo *, std::unique_ptr<TzelComponent>> FDefaultObjects;
    std::vector<CachedPage> FPageCache;         // most recently used first
    std::unique_ptr<CachedPage> FLocked;        // kept out of the cache until unlocked
    bool FAllowPartialLoading = false;
    bool FStreamLoaded = false;
    int FFirstObjectIndex = 0;
    int FFirstPageIndex = -1;
    int FFirstOutlineIndex = 0;
    int FLogicalPageN = 0;
    qint64 FXMLSize = 0;
    double FLastY = 0;
};
