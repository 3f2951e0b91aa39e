#include "prepared/zelpreviewpages.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/xml/zelinvalidxmlexception.h"
#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmlitem.h"
#include "model/band/zelband.h"
#include "model/band/zelcolumnfooter.h"
#include "model/band/zelnullband.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreporttitle.h"
#include "model/component/zelunits.h"
#include "model/io/zeliotransportfile.h"
#include "model/io/zelopentransport.h"
#include "model/page/zelreportpage.h"
#include "model/reflect/zelclassinfo.h"
#include "model/reflect/zelclassregistry.h"
#include "model/report/zelcustomcompressor.h"
#include "model/report/zelreport.h"
#include "model/serial/zelxmlserializer.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelpictureview.h"
#include "prepared/zelcustomoutline.h"
#include "prepared/zelitemattributes.h"
#include "prepared/zeloutline.h"
#include "prepared/zelpagesengine.h"
#include "prepared/zelpicturecache.h"
#include "prepared/zelpostprocessor.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const QString kPreviewPages = QStringLiteral("previewpages");
const QString kAnchors = QStringLiteral("anchors");
const QString kLogicalPages = QStringLiteral("logicalpagenumbers");
const QString kReport = QStringLiteral("report");
const QString kSourcePages = QStringLiteral("sourcepages");
const QString kDictionary = QStringLiteral("dictionary");
const QString kPictureCache = QStringLiteral("picturecache");
const QString kPostProcessing = QStringLiteral("postprocessing");
const QString kCutted = QStringLiteral("cutted");
const QString kPagePrefix = QStringLiteral("page");

// "page" followed by a number: a page stored as differences from source page
// Number. Anything else is a page stored whole, named by its class.
bool numberedPage(const QString &name, int *sourceIndex = nullptr)
{
    if (!name.startsWith(kPagePrefix))
        return false;
    bool ok = false;
    const int n = QStringView(name).mid(kPagePrefix.size()).toInt(&ok);
    if (sourceIndex)
        *sourceIndex = ok ? n : -1;
    return ok;
}


template <class T>
bool is(const TzelComponent *c)
{
    return dynamic_cast<const T *>(c) != nullptr;
}

// The geometry and visibility of Obj that differ from Source: all a page of
// the first of two passes needs, since those pages are thrown away.
QString geometryDiff(const TzelComponent *obj, const TzelComponent *source)
{
    QString s;
    auto add = [&s](const char *name, double value) {
        s += u' ' + QLatin1StringView(name) + QStringLiteral("=\"") + zelFloatToStr(value) + u'"';
    };
    if (!zelSameCoord(obj->Left(), source->Left()))
        add("l", obj->Left());
    if (is<TzelBand>(obj) || !zelSameCoord(obj->Top(), source->Top()))
        add("t", obj->Top()); // bands always: pasting moves them by their top
    if (!zelSameCoord(obj->Width(), source->Width()))
        add("w", obj->Width());
    if (!zelSameCoord(obj->Height(), source->Height()))
        add("h", obj->Height());
    if (obj->Visible() != source->Visible())
        s += obj->Visible() ? QStringLiteral(" Visible=\"1\"") : QStringLiteral(" Visible=\"0\"");
    return s;
}

// Points a report's picture objects at a picture store while they are stored.
class PictureStoreScope
{
public:
    PictureStoreScope(TzelReport *report, TzelPictureStore *store)
        : FReport(report), FSaved(report ? report->PictureStore : nullptr)
    {
        if (FReport)
            FReport->PictureStore = store;
    }
    ~PictureStoreScope()
    {
        if (FReport)
            FReport->PictureStore = FSaved;
    }
    PictureStoreScope(const PictureStoreScope &) = delete;
    PictureStoreScope &operator=(const PictureStoreScope &) = delete;

private:
    TzelReport *FReport;
    TzelPictureStore *FSaved;
};

// Leaves a picture object's picture out of what is written while alive:
// source copies and reference texts never carry pictures, the picture cache
// holds them.
class WithoutPicture
{
public:
    explicit WithoutPicture(const TzelComponent *c) : FPicture(dynamic_cast<TzelPictureView *>(const_cast<TzelComponent *>(c)))
    {
        if (FPicture) {
            FSaved = FPicture->StorePicture;
            FPicture->StorePicture = false;
        }
    }
    ~WithoutPicture()
    {
        if (FPicture)
            FPicture->StorePicture = FSaved;
    }
    WithoutPicture(const WithoutPicture &) = delete;
    WithoutPicture &operator=(const WithoutPicture &) = delete;

private:
    TzelPictureView *FPicture;
    bool FSaved = true;
};

// Number of elements below Item.
int countElements(const TzelXMLItem *item)
{
    int n = item->Count();
    for (int i = 0; i < item->Count(); ++i)
        n += countElements(item->Items(i));
    return n;
}

// The element at Position (depth first, 1 = first child) below Item, or nullptr.
TzelXMLItem *elementAt(TzelXMLItem *item, int position)
{
    for (int i = 0; i < item->Count() && position > 0; ++i) {
        TzelXMLItem *child = item->Items(i);
        if (--position == 0)
            return child;
        const int below = countElements(child);
        if (position <= below)
            return elementAt(child, position);
        position -= below;
    }
    return nullptr;
}

// The page class named Name, or the report page when Name is no page class.
const TzelClassInfo &newPageClass(const QString &name)
{
    const TzelClassInfo *cls = TzelClassRegistry::Find(name);
    return cls && cls->InheritsFrom(TzelReportPage::StaticClassInfo()) && cls->CanCreate()
               ? *cls
               : TzelReportPage::StaticClassInfo();
}

// A page of the class named Name (see newPageClass).
TzelReportPage *newPageOfClass(const QString &name)
{
    return static_cast<TzelReportPage *>(newPageClass(name).Create());
}


} // namespace

// A rebuilt page and, for ModifyObject, the element each of its objects was
// read from.
struct TzelPreviewPages::CachedPage
{
    int Index; ///< -1 once detached from the pages
    std::unique_ptr<TzelReportPage> Page;
    ElementMap Elements;
};

TzelPreviewPages::TzelPreviewPages(TzelReport *report)
    : TzelCustomPreviewPages(report), FPictureCache(std::make_unique<TzelPictureCache>())
{
    FOutline = std::make_unique<TzelOutline>(this, FXMLDoc.Root());
    FXMLDoc.Root()->SetName(QStringLiteral("preparedreport"));
}

TzelPreviewPages::~TzelPreviewPages()
{
    ClearPageCache();
    qDeleteAll(FSourcePages);
}

// Document sections.

TzelXMLItem *TzelPreviewPages::Section(const QString &name)
{
    return FXMLDoc.Root()->FindItem(name);
}

// A section the document holds, or nullptr: reading never creates one.
TzelXMLItem *TzelPreviewPages::ExistingSection(const QString &name) const
{
    const int i = FXMLDoc.Root()->Find(name);
    return i < 0 ? nullptr : FXMLDoc.Root()->Items(i);
}

int TzelPreviewPages::Count() const
{
    const TzelXMLItem *pages = ExistingSection(kPreviewPages);
    return pages ? pages->Count() : 0;
}

TzelXMLItem *TzelPreviewPages::PageItem(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    return Section(kPreviewPages)->Items(index);
}

TzelXMLItem *TzelPreviewPages::CurrentPageItem()
{
    TzelXMLItem *item = PageItem(FCurPage);
    EnsureLoaded(item);
    return item;
}

// The current page, about to change: once changed it can no longer be
// dropped in favour of the copy it was read from.
TzelXMLItem *TzelPreviewPages::WritablePageItem()
{
    TzelXMLItem *item = CurrentPageItem();
    if (item)
        item->SetModified(true);
    return item;
}

TzelXMLItem *TzelPreviewPages::LogicalPageItem(int index)
{
    TzelXMLItem *numbers = ExistingSection(kLogicalPages);
    return numbers && index >= 0 && index < numbers->Count() ? numbers->Items(index) : nullptr;
}

void TzelPreviewPages::EnsureLoaded(TzelXMLItem *item)
{
    if (item && !item->Loaded())
        FXMLDoc.LoadItem(item);
}

// Swapping.

// Every finished page goes to the temporary file, newest first, up to the
// first one that is out already; the page being written stays.
void TzelPreviewPages::SwapOutFinishedPages()
{
    TzelXMLItem *pages = Section(kPreviewPages);
    for (int i = pages->Count() - 2; i >= 0; --i) {
        TzelXMLItem *item = pages->Items(i);
        if (!item->Loaded())
            break;
        Unload(item);
    }
}

// A page read back and not changed since can simply be dropped: the
// temporary file, or the file it was loaded from, still holds it at its
// offset. A changed page of a partially loaded file has nowhere to go (that
// file is only read) and stays; so does a page the temporary file cannot
// take, whose reason is reported once. Nothing is lost either way.
void TzelPreviewPages::Unload(TzelXMLItem *item)
{
    if (!item->Unloadable() || !item->Loaded())
        return;
    if (item->Offset() > 0 && !item->Modified()) {
        item->Clear();
        return;
    }
    if (FAllowPartialLoading) {
        item->SetUnloadable(false);
        return;
    }
    try {
        FXMLDoc.UnloadItem(item);
        item->SetModified(false);
    } catch (const TzelFileError &e) {
        item->SetUnloadable(false);
        if (FReport && !FReport->Errors().Contains(e.message()))
            FReport->Errors().Add(e.message());
    }
}

// Source pages.

TzelComponent *TzelPreviewPages::DefaultObject(const TzelClassInfo &cls)
{
    auto &slot = FDefaultObjects[&cls];
    if (!slot)
        slot.reset(static_cast<TzelComponent *>(cls.Create()));
    return slot.get();
}

TzelComponent *TzelPreviewPages::SourceOf(const TzelComponent *obj) const
{
    return obj->AliasName.isEmpty() ? nullptr : FDictionary.GetObject(obj->AliasName);
}

// A class whose objects are stored as differences from a default object
// keeps no reference text beyond its class: the differences say it all.
QString TzelPreviewPages::ReferenceText(const TzelComponent *copy) const
{
    const auto it = FReferenceTexts.find(copy);
    return it == FReferenceTexts.end() ? QString() : it->second;
}

void TzelPreviewPages::StoreReferenceText(const TzelComponent *copy)
{
    if (copy->qzComponentStyle.Contains(csDefaultDiff)) {
        FReferenceTexts[copy] = QString();
        return;
    }
    TzelXMLSerializer serializer;
    serializer.IgnoreName = true;
    WithoutPicture scope(copy);
    FReferenceTexts[copy] = serializer.ObjToXML(copy);
}

void TzelPreviewPages::ComputeReferenceTexts(TzelReportPage *page)
{
    StoreReferenceText(page);
    for (TzelComponent *c : page->AllObjects())
        StoreReferenceText(c);
}

// The template object finds its copy by its alias through the dictionary;
// it keeps no pointer to the copy, which Clear frees while the template
// lives on (and the copy forgets its template in Finish, since the template
// may go first).
void TzelPreviewPages::RegisterSourceObject(TzelComponent *original, TzelComponent *copy, int pageIndex,
                                            const QString &base)
{
    const QString sourceName = QStringLiteral("Page%1.%2").arg(pageIndex).arg(copy->Name());
    const QString unique = FDictionary.AddUnique(base, sourceName, copy);
    copy->AliasName = unique;
    copy->OriginalComponent = original;
    original->AliasName = unique;
}

namespace {

QString baseLetter(const TzelComponent *c)
{
    if (is<TzelBand>(c))
        return QStringLiteral("b");
    return c->BaseName().left(1).toLower();
}

// A new object of Source's class under Parent with Source's properties,
// its picture aside.
TzelComponent *copyOf(const TzelComponent *source, TzelComponent *parent)
{
    auto *copy = static_cast<TzelComponent *>(source->ClassInfo().Create());
    copy->SetParent(parent);
    WithoutPicture scope(source);
    copy->Assign(source);
    return copy;
}

// Copies the preview-visible part of Source's tree under Parent.
void copyVisibleTree(const TzelComponent *source, TzelComponent *parent,
                     QList<std::pair<TzelComponent *, TzelComponent *>> &pairs)
{
    for (TzelComponent *child : source->Objects()) {
        if (!child->qzComponentStyle.Contains(csPreviewVisible) || !child->ClassInfo().CanCreate())
            continue;
        TzelComponent *copy = copyOf(child, parent);
        copy->SetName(child->Name());
        if (auto *memo = dynamic_cast<TzelCustomMemoView *>(copy)) {
            memo->SetDataSet(nullptr);
            memo->DataField.clear();
        }
        pairs.append(std::make_pair(child, copy));
        copyVisibleTree(child, copy, pairs);
    }
}

} // namespace

void TzelPreviewPages::AddSourcePage(TzelReportPage *page)
{
    auto *copy = static_cast<TzelReportPage *>(page->ClassInfo().Create());
    copy->Assign(page);
    copy->SetName(page->Name());
    QList<std::pair<TzelComponent *, TzelComponent *>> pairs;
    copyVisibleTree(page, copy, pairs);
    const int index = int(FSourcePages.size());
    FSourcePages.append(copy);
    FSourceTemplates.append(page);
    for (const auto &[original, c] : pairs)
        RegisterSourceObject(original, c, index, baseLetter(c));
    ComputeReferenceTexts(copy);
}

void TzelPreviewPages::AddToSourcePage(TzelComponent *obj)
{
    if (FSourcePages.isEmpty() || !obj || !obj->ClassInfo().CanCreate())
        return;
    TzelComponent *copy = copyOf(obj, FSourcePages.last());
    copy->CreateUniqueName();
    RegisterSourceObject(obj, copy, int(FSourcePages.size()) - 1, obj->BaseName().left(1).toLower());
    StoreReferenceText(copy);
}

TzelReportPage *TzelPreviewPages::SourcePageOf(const TzelXMLItem *pageItem) const
{
    int index = -1;
    if (!numberedPage(pageItem->Name(), &index) || index < 0 || index >= FSourcePages.size())
        return nullptr;
    return FSourcePages.at(index);
}

// The source page made from template page Page in the current build, or
// Page itself when it is a source page; -1 when neither.
int TzelPreviewPages::SourceIndex(const TzelReportPage *page) const
{
    const int index = int(FSourceTemplates.lastIndexOf(page));
    return index >= 0 ? index : int(FSourcePages.indexOf(page));
}

// Building.

void TzelPreviewPages::Initialize()
{
    if (!FReport)
        return;
    FPictureCache->SetUseFileCache(FReport->PreviewOptions().PictureCacheInFile);
    FPictureCache->SetTempDir(FReport->EngineOptions().TempDir);
    FXMLDoc.SetTempDir(FReport->EngineOptions().TempDir);
}

void TzelPreviewPages::AddPage(TzelReportPage *page)
{
    TzelXMLItem *pages = Section(kPreviewPages);
    if (FReport && FReport->EngineOptions().UseFileCache
        && FXMLSize > qint64(FReport->EngineOptions().MaxMemSize) * 1048576) {
        SwapOutFinishedPages();
        FXMLSize = 0;
    }
    ++FCurPage;
    if (FCurPage < Count() && AddPageAction != apAdd)
        return;

    TzelXMLItem *item = pages->Add(kPagePrefix + QString::number(SourceIndex(page)));
    if (pages->Count() > 2)
        item->SetUnloadable(true);
    AddPageAction = apWriteOver;
    FCurPage = Count() - 1;
    IncLogicalPageNumber();
}

void TzelPreviewPages::AddObject(TzelComponent *obj)
{
    TzelXMLItem *page = WritablePageItem();
    if (!page || !obj)
        return;
    const bool wholePage = !numberedPage(page->Name());
    PictureStoreScope scope(obj->Report(), FPictureCache.get());
    StoreObject(obj, page, wholePage);
}

QString TzelPreviewPages::ObjectDiff(TzelComponent *obj, TzelComponent *source, bool wholePage)
{
    const bool defaultDiff = obj->qzComponentStyle.Contains(csDefaultDiff);
    if (!source || wholePage || defaultDiff)
        return obj->AllDiff(DefaultObject(obj->ClassInfo()));
    if (Engine && Engine->DoublePass() && !Engine->FinalPass())
        return geometryDiff(obj, source);
    return obj->Diff(source);
}

// Without leading blanks, an element reads back with the same text it was
// written from, so a loaded report saves to the same bytes.
static QString StoredText(QString text)
{
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks) == u' ')
        ++blanks;
    return blanks ? text.remove(0, blanks) : text;
}

void TzelPreviewPages::StoreObject(TzelComponent *obj, TzelXMLItem *parentItem, bool wholePage)
{
    if (!obj->Visible() || !obj->qzComponentStyle.Contains(csPreviewVisible))
        return;
    TzelComponent *source = wholePage ? nullptr : SourceOf(obj);
    TzelXMLItem *item = parentItem->Add(source ? obj->AliasName : obj->ClassName());
    item->SetText(StoredText(ObjectDiff(obj, source, wholePage)));
    FXMLSize += 2 * (item->Name().size() + item->Text().size()) + qint64(sizeof(TzelXMLItem)) + 16;
    for (TzelComponent *child : obj->Objects())
        StoreObject(child, item, wholePage);
}

void TzelPreviewPages::AddPicture(TzelPictureView *picture)
{
    FPictureCache->AddPicture(picture);
}

void TzelPreviewPages::BeginPass()
{
    FFirstPageIndex = Count() - 1;
    if (FFirstPageIndex >= 0) {
        TzelXMLItem *last = PageItem(FFirstPageIndex);
        EnsureLoaded(last);
        FFirstObjectIndex = last->Count();
        FFirstOutlineIndex = FOutline->Root()->Count();
    }
    ResetLogicalPageNumber();
}

void TzelPreviewPages::ClearFirstPassPages()
{
    TzelXMLItem *root = FXMLDoc.Root();
    if (FFirstPageIndex == -1) {
        for (int i = 0; i < root->Count(); ++i) {
            TzelXMLItem *section = root->Items(i);
            if (section->Name() != kAnchors && section->Name() != kLogicalPages)
                section->Clear();
        }
    } else {
        TzelXMLItem *last = PageItem(FFirstPageIndex);
        EnsureLoaded(last);
        last->SetModified(true);
        while (last->Count() > FFirstObjectIndex)
            delete last->Items(last->Count() - 1);
        TzelXMLItem *pages = Section(kPreviewPages);
        while (pages->Count() > FFirstPageIndex + 1)
            delete pages->Items(pages->Count() - 1);
        TzelXMLItem *outline = FOutline->Root();
        while (outline->Count() > FFirstOutlineIndex)
            delete outline->Items(outline->Count() - 1);
    }
    FOutline->LevelRoot();
    ResetLogicalPageNumber();
    FCurPage = FFirstPageIndex;
    FXMLSize = 0;
}

void TzelPreviewPages::Finish()
{
    ClearPageCache();
    std::fill(FSourceTemplates.begin(), FSourceTemplates.end(), nullptr);
    for (TzelReportPage *page : std::as_const(FSourcePages))
        for (TzelComponent *c : page->AllObjects())
            c->OriginalComponent = nullptr;
}

// Cutting and pasting the objects of the current page.

int TzelPreviewPages::GetCurPosition()
{
    TzelXMLItem *page = CurrentPageItem();
    return page ? page->Count() : 0;
}

void TzelPreviewPages::CutObjects(int position)
{
    TzelXMLItem *page = WritablePageItem();
    if (!page)
        return;
    TzelXMLItem *cut = Section(kCutted);
    while (position >= 0 && position < page->Count())
        cut->AddItem(page->Items(position));
}

void TzelPreviewPages::DeleteObjects(int position)
{
    TzelXMLItem *page = WritablePageItem();
    if (!page)
        return;
    while (position >= 0 && position < page->Count())
        delete page->Items(page->Count() - 1);
}

double TzelPreviewPages::BandBottom(const TzelXMLItem *item) const
{
    const TzelComponent *source = FDictionary.GetObject(item->Name());
    bool present;
    double top = zelAttrFloat(item, QStringLiteral("t"), &present);
    if (!present && source)
        top = source->Top();
    double height = zelAttrFloat(item, QStringLiteral("h"), &present);
    if (!present && source)
        height = source->Height();
    return top + height;
}

void TzelPreviewPages::PasteObjects(double x, double y)
{
    TzelXMLItem *page = WritablePageItem();
    TzelXMLItem *cut = ExistingSection(kCutted);
    if (!page || !cut)
        return;
    if (cut->Count() > 0) {
        const TzelXMLItem *first = cut->Items(0);
        double dx = x - zelAttrFloat(first, QStringLiteral("l"));
        const double dy = y - zelAttrFloat(first, QStringLiteral("t"));
        // Objects placed on a page sit in a null band made at run time.
        if (dx < 0 && x == 0 && first->Name() == TzelNullBand::StaticClassInfo().ClassName())
            dx = 0;
        while (cut->Count() > 0) {
            TzelXMLItem *item = cut->Items(0);
            if (dx != 0)
                item->SetProp(QStringLiteral("l"), zelFloatToStr(zelAttrFloat(item, QStringLiteral("l")) + dx));
            item->SetProp(QStringLiteral("t"), zelFloatToStr(zelAttrFloat(item, QStringLiteral("t")) + dy));
            page->AddItem(item);
        }
    }
    delete cut;
}

double TzelPreviewPages::GetLastY(double columnPosition)
{
    double result = 0;
    TzelXMLItem *page = CurrentPageItem();
    for (int i = 0; page && i < page->Count(); ++i) {
        const TzelXMLItem *item = page->Items(i);
        const TzelComponent *source = FDictionary.GetObject(item->Name());
        if (!source || !is<TzelBand>(source) || is<TzelPageFooter>(source) || is<TzelOverlay>(source))
            continue;
        if (columnPosition != 0 && !is<TzelPageHeader>(source) && !is<TzelReportTitle>(source)) {
            bool present;
            double left = zelAttrFloat(item, QStringLiteral("l"), &present);
            if (!present)
                left = source->Left();
            if (std::fabs(left - columnPosition) > 0.001)
                continue;
        }
        result = std::max(result, BandBottom(item));
    }
    return result == 0 && FLastY != 0 ? FLastY : result;
}

bool TzelPreviewPages::BandExists(TzelBand *band)
{
    TzelXMLItem *page = CurrentPageItem();
    for (int i = 0; page && i < page->Count(); ++i) {
        const TzelComponent *source = FDictionary.GetObject(page->Items(i)->Name());
        if (!source)
            continue;
        if (source->OriginalComponent == band || source == band)
            return true;
        if ((is<TzelPageFooter>(band) && is<TzelPageFooter>(source))
            || (is<TzelColumnFooter>(band) && is<TzelColumnFooter>(source)))
            return true;
    }
    return false;
}

// Page columns and sizes.

void TzelPreviewPages::UpdatePageLastColumn(int column, double columnPos, bool reset)
{
    TzelXMLItem *page = WritablePageItem();
    if (!page)
        return;
    if (reset || column > 0)
        page->SetProp(QStringLiteral("c"), QString::number(column));
    if (reset || columnPos != 0)
        page->SetProp(QStringLiteral("cp"), zelFloatToStr(columnPos));
}

void TzelPreviewPages::GetLastColumnPos(int &column, double &columnPos)
{
    TzelXMLItem *page = CurrentPageItem();
    if (!page)
        return;
    if (page->PropExists(QStringLiteral("c")))
        column = zelAttrInt(page, QStringLiteral("c"));
    if (page->PropExists(QStringLiteral("cp")))
        columnPos = zelAttrFloat(page, QStringLiteral("cp"));
}

void TzelPreviewPages::UpdatePageDimension(int index, double width, double height)
{
    TzelXMLItem *page = PageItem(index);
    if (!page)
        return;
    EnsureLoaded(page); // a page read back later would take its stored attributes
    page->SetModified(true);
    page->SetProp(QStringLiteral("PaperSize"), QStringLiteral("256"));
    page->SetProp(QStringLiteral("PaperWidth"), zelFloatToStr(width));
    page->SetProp(QStringLiteral("PaperHeight"), zelFloatToStr(height));
}

void TzelPreviewPages::UpdatePageDimensions(TzelReportPage *page, double width, double height)
{
    const int index = SourceIndex(page);
    if (index < 0)
        return;
    TzelReportPage *source = FSourcePages.at(index);
    source->SetSizeAndDimensions(256, width / qz01cm, height / qz01cm);
    QString &text = FReferenceTexts[source];
    text += QStringLiteral(" PaperSize=\"256\" PaperWidth=\"%1\" PaperHeight=\"%2\"")
                .arg(zelFloatToStr(source->PaperWidth()), zelFloatToStr(source->PaperHeight()));
}

// Read from the element, never by rebuilding the page: a numbered page has
// its source page's size unless it carries its own; a page stored whole
// carries its paper size among its attributes (the class default when not).
QPoint TzelPreviewPages::GetPageSize(int index)
{
    TzelXMLItem *item = PageItem(index);
    if (!item)
        return QPoint(0, 0);
    const TzelReportPage *paper = SourcePageOf(item);
    if (!paper)
        paper = static_cast<const TzelReportPage *>(
            DefaultObject(numberedPage(item->Name()) ? TzelReportPage::StaticClassInfo()
                                                     : newPageClass(item->Name())));
    double width = paper->Width();
    double height = paper->Height();
    bool present;
    const double w = zelAttrFloat(item, QStringLiteral("PaperWidth"), &present);
    if (present)
        width = w * qz01cm;
    const double h = zelAttrFloat(item, QStringLiteral("PaperHeight"), &present);
    if (present)
        height = h * qz01cm;
    auto units = [](double v) { return int(std::nearbyint(std::clamp(v, -1e9, 1e9))); };
    return QPoint(units(width), units(height));
}

// Logical page numbers.

void TzelPreviewPages::IncLogicalPageNumber()
{
    if (Engine && Engine->DoublePass() && Engine->FinalPass())
        return;
    ++FLogicalPageN;
    Section(kLogicalPages)->Add(kPagePrefix)->SetProp(QStringLiteral("n"), QString::number(FLogicalPageN));
}

void TzelPreviewPages::ResetLogicalPageNumber()
{
    if (Engine && Engine->DoublePass() && Engine->FinalPass())
        return;
    for (int i = FCurPage; i > FFirstPageIndex; --i) {
        TzelXMLItem *item = LogicalPageItem(i);
        if (!item)
            continue;
        item->SetProp(QStringLiteral("t"), QString::number(FLogicalPageN));
        if (zelAttr(item, QStringLiteral("n")) == u"1")
            break;
    }
    FLogicalPageN = 0;
}

int TzelPreviewPages::GetLogicalPageNo()
{
    const TzelXMLItem *item = LogicalPageItem(FCurPage);
    return item ? zelAttrInt(item, QStringLiteral("n")) : FCurPage - FirstPage + 1;
}

int TzelPreviewPages::GetLogicalTotalPages()
{
    const TzelXMLItem *item = LogicalPageItem(FCurPage);
    if (item)
        return zelAttrInt(item, QStringLiteral("t"));
    return (Engine ? Engine->TotalPages() : Count()) - FirstPage;
}

// Anchors.

TzelXMLItem *TzelPreviewPages::FindAnchorRoot()
{
    return Section(kAnchors);
}

void TzelPreviewPages::AddAnchor(const QString &text)
{
    TzelXMLItem *item = FindAnchorRoot()->Add(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), text);
    item->SetProp(QStringLiteral("page"), QString::number(FCurPage));
    item->SetProp(QStringLiteral("top"), QString::number(qRound64(Engine ? Engine->CurY() : 0)));
}

TzelXMLItem *TzelPreviewPages::FindAnchor(const QString &text)
{
    TzelXMLItem *anchors = FindAnchorRoot();
    for (int i = anchors->Count() - 1; i >= 0; --i)
        if (zelAttr(anchors->Items(i), QStringLiteral("text")).compare(text, Qt::CaseInsensitive) == 0)
            return anchors->Items(i);
    return nullptr;
}

int TzelPreviewPages::GetAnchorPage(const QString &text)
{
    const TzelXMLItem *anchor = FindAnchor(text);
    return anchor ? zelAttrInt(anchor, QStringLiteral("page")) + 1 : 1;
}

int TzelPreviewPages::GetAnchorCurPosition()
{
    return FindAnchorRoot()->Count() - 1;
}

void TzelPreviewPages::ShiftAnchors(int from, int newTop)
{
    TzelXMLItem *anchors = FindAnchorRoot();
    const int first = std::max(from + 1, 0);
    if (first >= anchors->Count())
        return;
    const int delta = newTop - zelAttrInt(anchors->Items(first), QStringLiteral("top"));
    for (int i = first; i < anchors->Count(); ++i) {
        TzelXMLItem *item = anchors->Items(i);
        item->SetProp(QStringLiteral("page"), QString::number(zelAttrInt(item, QStringLiteral("page")) + 1));
        item->SetProp(QStringLiteral("top"), QString::number(zelAttrInt(item, QStringLiteral("top")) + delta));
    }
}

void TzelPreviewPages::DeleteAnchors(int from)
{
    TzelXMLItem *anchors = FindAnchorRoot();
    while (anchors->Count() > std::max(from + 1, 0))
        delete anchors->Items(anchors->Count() - 1);
}

// Rebuilding pages.

// The locked page outlives the cache: it is only detached (no index, so
// GetPage never hands it out again) and lives until UnlockPage or Clear.
void TzelPreviewPages::ClearPageCache()
{
    FPageCache.clear();
    if (FLocked) {
        FLocked->Index = -1;
        FLocked->Elements.clear();
    }
}

void TzelPreviewPages::LockPage()
{
    if (FPageCache.empty())
        return;
    UnlockPage();
    FLocked = std::make_unique<CachedPage>(std::move(FPageCache.front()));
    FPageCache.erase(FPageCache.begin());
}

void TzelPreviewPages::UnlockPage()
{
    if (FLocked && FLocked->Index >= 0)
        FPageCache.insert(FPageCache.begin(), std::move(*FLocked));
    FLocked.reset();
}

TzelPreviewPages::CachedPage *TzelPreviewPages::CachedEntry(int index)
{
    if (FLocked && FLocked->Index == index)
        return FLocked.get();
    for (CachedPage &cached : FPageCache)
        if (cached.Index == index)
            return &cached;
    return nullptr;
}

// Pages built while the engine runs are rebuilt every time (the page being
// written changes); the one the user holds locked is the exception.
TzelReportPage *TzelPreviewPages::GetPage(int index)
{
    if (Count() == 0 || index < 0 || index >= Count())
        return nullptr;
    const bool running = Engine && Engine->Running();
    if (FLocked && FLocked->Index == index)
        return FLocked->Page.get();
    const auto cached = std::find_if(FPageCache.begin(), FPageCache.end(),
                                     [index](const CachedPage &c) { return c.Index == index; });
    if (cached != FPageCache.end()) {
        if (!running) {
            std::rotate(FPageCache.begin(), cached, cached + 1);
            return FPageCache.front().Page.get();
        }
        FPageCache.erase(cached);
    }

    TzelXMLItem *item = PageItem(index);
    try {
        EnsureLoaded(item);
    } catch (const TzelException &e) {
        // A damaged page of a partially loaded file: shown empty from now on.
        item->Clear();
        item->SetUnloadable(false);
        item->SetLoaded(true);
        if (FReport)
            FReport->Errors().Add(e.message());
    }
    CachedPage entry{index, nullptr, {}};
    TzelXMLSerializer serializer;
    serializer.IgnoreName = true;
    entry.Page.reset(RebuildPage(item, serializer));
    if (numberedPage(item->Name())) {
        int position = 0;
        RebuildObjects(item, entry.Page.get(), serializer, entry.Elements, position);
    } else {
        serializer.ReadRootComponent(entry.Page.get(), item);
    }
    for (const QString &error : serializer.Errors.Items())
        if (FReport)
            FReport->Errors().Add(error);
    entry.Page->AlignChildren();

    FPageCache.insert(FPageCache.begin(), std::move(entry));
    const int limit = std::max(1, FReport ? FReport->PreviewOptions().PagesInCache - (FLocked ? 1 : 0) : 50);
    while (int(FPageCache.size()) > limit) {
        const int evicted = FPageCache.back().Index;
        FPageCache.pop_back();
        if (FReport && FReport->EngineOptions().UseFileCache && !CachedEntry(evicted))
            if (TzelXMLItem *old = PageItem(evicted))
                Unload(old);
    }
    return FPageCache.front().Page.get();
}

TzelReportPage *TzelPreviewPages::RebuildPage(TzelXMLItem *item, TzelXMLSerializer &serializer)
{
    if (!numberedPage(item->Name())) {
        TzelReportPage *page = newPageOfClass(item->Name());
        page->ParentReport = FReport;
        return page;
    }
    const TzelReportPage *source = SourcePageOf(item);
    auto *page = source ? static_cast<TzelReportPage *>(source->ClassInfo().Create()) : new TzelReportPage();
    page->ParentReport = FReport;
    if (source) {
        serializer.XMLToObj(ReferenceText(source), page);
        page->SetName(source->Name());
    }
    if (!item->Text().isEmpty())
        serializer.XMLToObj(item->Text(), page);
    return page;
}

// Objects are remembered by the position of their element in the page
// element (depth first), which survives the element being swapped out and
// read back; Position counts every element, rebuilt or not.
void TzelPreviewPages::RebuildObjects(TzelXMLItem *item, TzelComponent *parent, TzelXMLSerializer &serializer,
                                      ElementMap &elements, int &position)
{
    for (int i = 0; i < item->Count(); ++i) {
        TzelXMLItem *child = item->Items(i);
        const int at = ++position;
        TzelComponent *obj = nullptr;
        if (const TzelComponent *source = FDictionary.GetObject(child->Name())) {
            obj = static_cast<TzelComponent *>(source->ClassInfo().Create());
            obj->SetParent(parent);
            obj->SetIsLoading(true);
            serializer.XMLToObj(ReferenceText(source), obj);
            serializer.XMLToObj(child->Text(), obj);
            obj->SetIsLoading(false);
            obj->SetName(source->Name());
            if (auto *picture = dynamic_cast<TzelPictureView *>(obj); picture && picture->Picture().IsEmpty()) {
                FPictureCache->GetPicture(picture);
                picture->PictureChanged = false; // the cache holds it already
            }
        } else {
            obj = serializer.ReadComponentStr(parent, child->Text().isEmpty() ? child->Name()
                                                                               : child->Name() + u' ' + child->Text(),
                                              true);
            // Only what a build prints may stand on a page (no pages, no reports).
            if (obj && (!obj->qzComponentStyle.Contains(csPreviewVisible) || dynamic_cast<TzelPage *>(obj)
                        || dynamic_cast<TzelReport *>(obj))) {
                serializer.Errors.Add(zelFormat(zelRes("clPreparedBadObject"), {child->Name()}));
                delete obj;
                obj = nullptr;
            }
        }
        if (!obj) {
            position += countElements(child);
            continue;
        }
        LoadPostProcessedValue(obj);
        elements[obj] = at;
        RebuildObjects(child, obj, serializer, elements, position);
    }
}

// A text completed after it was stored holds the index of its final value.
void TzelPreviewPages::LoadPostProcessedValue(TzelComponent *obj) const
{
    auto *memo = dynamic_cast<TzelCustomMemoView *>(obj);
    if (!memo || !FPostProcessor->GetMacroList(memo->Name()))
        return;
    bool ok;
    const int index = memo->Text().trimmed().toInt(&ok);
    if (ok)
        memo->SetText(FPostProcessor->GetValue(memo->Name(), index));
}

// Editing.

void TzelPreviewPages::StoreWholePage(TzelXMLItem *item, TzelReportPage *page)
{
    item->Clear();
    item->SetUnloadable(false);
    item->SetLoaded(true);
    TzelXMLSerializer serializer;
    serializer.WriteRootComponent(page, true, item);
    WriteRootName(item, page);
}

// The serializer leaves the root's name out, as a template's root has none;
// a page keeps it.
void TzelPreviewPages::WriteRootName(TzelXMLItem *item, const TzelComponent *root)
{
    if (!root->Name().isEmpty())
        item->SetProp(QStringLiteral("Name"), root->Name());
}

void TzelPreviewPages::ModifyPage(int index, TzelReportPage *page)
{
    TzelXMLItem *item = PageItem(index);
    if (!item || !page)
        return;
    EnsureLoaded(item);
    StoreWholePage(item, page); // before the cache (which may hold Page) is emptied
    ClearPageCache();
}

// A page stored whole is stored whole again; otherwise the object's element
// is found again by its position and takes the object's differences.
void TzelPreviewPages::ModifyObject(TzelComponent *component)
{
    const TzelComponent *top = component->Parent() ? component->TopParent() : component;
    CachedPage *cached = nullptr;
    for (CachedPage *c : CachedEntries())
        if (c->Index >= 0 && c->Page.get() == top)
            cached = c;
    TzelXMLItem *page = cached ? PageItem(cached->Index) : nullptr;
    if (!page)
        return;
    EnsureLoaded(page);
    page->SetModified(true);
    page->SetUnloadable(false);
    if (!numberedPage(page->Name())) {
        StoreWholePage(page, cached->Page.get());
        return;
    }
    const auto it = cached->Elements.find(component);
    TzelXMLItem *item = it == cached->Elements.end() ? nullptr : elementAt(page, it->second);
    if (!item)
        return;
    TzelComponent *source = FDictionary.GetObject(item->Name());
    const bool whole = !source || component->qzComponentStyle.Contains(csDefaultDiff)
                       || dynamic_cast<TzelPictureView *>(component);
    // Storing again must not move a split text's paragraph flags on.
    auto *memo = dynamic_cast<TzelCustomMemoView *>(component);
    const bool firstBreak = memo && memo->FirstParaBreak;
    const bool lastBreak = memo && memo->LastParaBreak;
    item->SetText(StoredText(whole ? component->AllDiff(DefaultObject(component->ClassInfo()))
                                   : component->Diff(source)));
    if (memo) {
        memo->FirstParaBreak = firstBreak;
        memo->LastParaBreak = lastBreak;
    }
}

QList<TzelPreviewPages::CachedPage *> TzelPreviewPages::CachedEntries()
{
    QList<CachedPage *> entries;
    if (FLocked)
        entries << FLocked.get();
    for (CachedPage &c : FPageCache)
        entries << &c;
    return entries;
}

void TzelPreviewPages::AddEmptyPage(int index)
{
    TzelXMLItem *page = PageItem(index);
    if (!page)
        return;
    auto *item = new TzelXMLItem();
    item->SetName(page->Name());
    Section(kPreviewPages)->InsertItem(index, item);
    ClearPageCache();
}

void TzelPreviewPages::DeletePage(int index)
{
    if (Count() < 2 || !PageItem(index))
        return;
    delete PageItem(index);
    ClearPageCache();
}

namespace {

void copyOutline(const TzelXMLItem *from, TzelXMLItem *to, int pageShift)
{
    const int count = from->Count(); // From may be To
    for (int i = 0; i < count; ++i) {
        const TzelXMLItem *source = from->Items(i);
        TzelXMLItem *item = to->Add(QStringLiteral("item"));
        item->SetText(source->Text());
        item->SetProp(QStringLiteral("page"), QString::number(zelAttrInt(source, QStringLiteral("page")) + pageShift));
        copyOutline(source, item, pageShift);
    }
}

} // namespace

// Counts are taken first: Other may be these very pages.
void TzelPreviewPages::AddFrom(TzelPreviewPages &other)
{
    const int shift = Count();
    const int pageCount = other.Count();
    TzelXMLItem *pages = Section(kPreviewPages);
    for (int i = 0; i < pageCount; ++i)
        if (TzelReportPage *page = other.GetPage(i))
            StoreWholePage(pages->Add(), page);
    TzelXMLItem *anchors = other.FindAnchorRoot();
    const int anchorCount = anchors->Count();
    for (int i = 0; i < anchorCount; ++i) {
        TzelXMLItem *item = FindAnchorRoot()->Add(QStringLiteral("item"));
        item->SetText(anchors->Items(i)->Text());
        item->SetProp(QStringLiteral("page"),
                      QString::number(zelAttrInt(anchors->Items(i), QStringLiteral("page")) + shift));
    }
    copyOutline(other.Outline().Root(), Outline().Root(), shift);
    const int savedPage = other.CurPage();
    other.SetCurPage(pageCount - 1);
    FLastY = other.GetLastY(0);
    other.SetCurPage(savedPage);
    FCurPage = Count() - 1;
    ClearPageCache();
}

// Clearing.

void TzelPreviewPages::Clear()
{
    ClearPageCache();
    qDeleteAll(FSourcePages);
    FSourcePages.clear();
    FSourceTemplates.clear();
    FReferenceTexts.clear();
    FXMLDoc.Clear();
    FXMLDoc.Root()->SetName(QStringLiteral("preparedreport"));
    FFile.reset();
    FDictionary.Clear();
    FPostProcessor->Clear();
    FPictureCache->Clear();
    FOutline->LevelRoot();
    FLocked.reset();
    FCurPage = -1;
    FXMLSize = 0;
    FLastY = 0;
    FLogicalPageN = 0;
    FFirstPageIndex = -1;
    FAllowPartialLoading = false;
    FStreamLoaded = false;
}

// Files.

void TzelPreviewPages::WriteReportSection()
{
    TzelXMLItem *section = Section(kReport);
    section->Clear();
    if (!FReport)
        return;
    TzelXMLItem *item = section->Add(FReport->ClassName());
    item->SetProp(QStringLiteral("DotMatrixReport"), FReport->DotMatrixReport ? QStringLiteral("True")
                                                                              : QStringLiteral("False"));
    item->SetProp(QStringLiteral("PreviewOptions.OutlineVisible"),
                  FReport->PreviewOptions().OutlineVisible ? QStringLiteral("True") : QStringLiteral("False"));
    item->SetProp(QStringLiteral("PreviewOptions.OutlineWidth"),
                  QString::number(FReport->PreviewOptions().OutlineWidth));
    item->SetProp(QStringLiteral("ReportOptions.Name"), FReport->ReportOptions().Name);
}

// Only these four settings travel with a prepared report: a file must not
// be able to set anything else on the report that opens it.
void TzelPreviewPages::ReadReportSection()
{
    const TzelXMLItem *section = ExistingSection(kReport);
    if (!FReport || !section || section->Count() == 0)
        return;
    const TzelXMLItem *item = section->Items(0);
    auto flag = [item](const QString &name, bool &value) {
        if (!item->PropExists(name))
            return;
        const QString text = zelAttr(item, name);
        value = text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 || text == u"1";
    };
    flag(QStringLiteral("DotMatrixReport"), FReport->DotMatrixReport);
    flag(QStringLiteral("PreviewOptions.OutlineVisible"), FReport->PreviewOptions().OutlineVisible);
    bool ok;
    const int width = zelAttr(item, QStringLiteral("PreviewOptions.OutlineWidth")).toInt(&ok);
    if (ok)
        FReport->PreviewOptions().OutlineWidth = width;
    if (item->PropExists(QStringLiteral("ReportOptions.Name")))
        FReport->ReportOptions().Name = zelAttr(item, QStringLiteral("ReportOptions.Name"));
}

void TzelPreviewPages::ReadSourcePages(TzelSortedStrings &errors)
{
    TzelXMLItem *section = ExistingSection(kSourcePages);
    if (!section)
        return;
    for (int j = 0; j < section->Count(); ++j) {
        TzelXMLItem *item = section->Items(j);
        TzelReportPage *page = newPageOfClass(item->Name());
        FSourcePages.append(page);
        FSourceTemplates.append(nullptr);
        TzelXMLSerializer serializer;
        serializer.ReadRootComponent(page, item);
        for (const QString &error : serializer.Errors.Items())
            errors.Add(error);
        ComputeReferenceTexts(page);
    }
    section->Clear();
}

void TzelPreviewPages::ReadDictionary()
{
    TzelXMLItem *section = ExistingSection(kDictionary);
    if (!section)
        return;
    for (int j = 0; j < section->Count(); ++j) {
        const TzelXMLItem *item = section->Items(j);
        const QString sourceName = zelAttr(item, QStringLiteral("name"));
        const qsizetype dot = sourceName.indexOf(u'.');
        if (dot < 0 || !sourceName.startsWith(QStringLiteral("Page")))
            continue;
        bool ok;
        const int page = QStringView(sourceName).mid(4, dot - 4).toInt(&ok);
        if (!ok || page < 0 || page >= FSourcePages.size())
            continue;
        TzelComponent *obj = FSourcePages.at(page)->FindObject(sourceName.mid(dot + 1));
        if (!obj)
            continue;
        FDictionary.Add(item->Name(), sourceName, obj);
        obj->AliasName = item->Name();
    }
    section->Clear();
}

void TzelPreviewPages::SaveToStream(QIODevice *stream)
{
    WriteReportSection();
    TzelXMLItem *sources = Section(kSourcePages);
    sources->Clear();
    for (TzelReportPage *page : std::as_const(FSourcePages)) {
        TzelXMLSerializer serializer;
        TzelXMLItem *item = sources->Add();
        serializer.WriteRootComponent(page, true, item);
        WriteRootName(item, page);
    }
    TzelXMLItem *dictionary = Section(kDictionary);
    dictionary->Clear();
    FDictionary.ForEach([dictionary](const QString &name, const QString &sourceName) {
        dictionary->Add(name)->SetProp(QStringLiteral("name"), sourceName);
    });
    FPictureCache->SaveToXML(Section(kPictureCache));
    FPostProcessor->SaveToXML(Section(kPostProcessing));
    delete ExistingSection(kCutted);

    // The written sections are made anew on every save; only the pages,
    // outline, anchors and numbers live in the tree.
    struct Drop
    {
        TzelPreviewPages *pages;
        ~Drop()
        {
            for (const QString &name : {kSourcePages, kDictionary, kPictureCache, kPostProcessing})
                pages->Section(name)->Clear();
        }
    } drop{this};

    std::unique_ptr<TzelCustomCompressor> compressor;
    if (FReport && FReport->ReportOptions().Compressed)
        compressor = TzelCustomCompressor::CreateRegistered();
    if (!compressor) {
        FXMLDoc.SaveToStream(stream);
        return;
    }
    compressor->Report = FReport;
    compressor->SetIsZT3File(false);
    compressor->CreateStream();
    FXMLDoc.SaveToStream(compressor->Stream());
    compressor->Stream()->seek(0);
    compressor->Compress(stream);
}

void TzelPreviewPages::LoadFromStream(QIODevice *stream, bool allowPartialLoading)
{
    Clear();
    QIODevice *source = stream;
    std::unique_ptr<TzelCustomCompressor> compressor = TzelCustomCompressor::CreateRegistered();
    if (compressor) {
        allowPartialLoading = false;
        compressor->Report = FReport;
        compressor->SetIsZT3File(false);
        try {
            compressor->CreateStream();
        } catch (const TzelException &e) {
            ReportLoadError(e.message());
            return;
        }
        try {
            if (compressor->Decompress(stream))
                source = compressor->Stream();
        } catch (...) { // whatever a plug-in throws
            ReportLoadError(zelRes("clDecompressError"));
            return;
        }
    }
    LoadDocument(source, allowPartialLoading);
}

// A file that cannot be read leaves the pages empty: a prepared report whose
// source pages or dictionary are missing cannot show its objects.
void TzelPreviewPages::LoadDocument(QIODevice *stream, bool allowPartialLoading)
{
    TzelSortedStrings errors;
    try {
        FAllowPartialLoading = allowPartialLoading;
        FXMLDoc.LoadFromStream(stream, allowPartialLoading);
        // A template, say, is well-formed too, but holds no pages.
        if (FXMLDoc.Root()->Name().compare(QLatin1StringView("preparedreport"), Qt::CaseInsensitive) != 0)
            throw TzelException(zelRes("prNotPrepared"));
        ReadReportSection();
        ReadSourcePages(errors);
        ReadDictionary();
        QStringList pictureErrors;
        FPictureCache->LoadFromXML(Section(kPictureCache), &pictureErrors);
        Section(kPictureCache)->Clear();
        for (const QString &error : std::as_const(pictureErrors))
            errors.Add(error);
        if (TzelXMLItem *post = ExistingSection(kPostProcessing)) {
            FPostProcessor->LoadFromXML(post);
            delete post;
        }
    } catch (const TzelInvalidXMLException &e) {
        Clear();
        ReportLoadError(e.message(), e.Place());
        return;
    } catch (const TzelException &e) {
        Clear();
        ReportLoadError(e.message());
        return;
    } catch (...) {
        Clear(); // lets go of the stream the caller is about to free
        throw;
    }
    FCurPage = Count() - 1;
    FStreamLoaded = true;
    if (!errors.IsEmpty() && FReport) {
        for (const QString &error : errors.Items())
            FReport->Errors().Add(TzelLocatedError{FLoadFile, 0, 0, QString(), error});
    }
}

void TzelPreviewPages::ReportLoadError(const QString &message, TzelTextPosition place)
{
    if (!FReport)
        throw TzelException(message);
    FReport->Errors().Add(TzelLocatedError{FLoadFile, place.Line, place.Column, QString(), message});
    FReport->ReportErrors();
}

bool TzelPreviewPages::LoadFromFile(const QString &fileName, bool exceptionIfNotFound)
{
    const bool exists = QFileInfo(fileName).isFile();
    if (!exists && !exceptionIfNotFound)
        return false;
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, file->errorString()}));
    // The file stays open for the pages read on demand.
    FLoadFile = fileName;
    struct Forget { QString &name; ~Forget() { name.clear(); } } forget{FLoadFile};
    LoadFromStream(file.get(), !TzelCustomCompressor::IsRegistered());
    if (FAllowPartialLoading)
        FFile = std::move(file);
    return exists;
}

bool TzelPreviewPages::SaveToFilter(TzelCustomIOTransport *filter, const QString &fileName)
{
    filter->SetFilterAccess(faWrite);
    if (fileName.isEmpty() && filter->FileName().isEmpty() && FReport)
        filter->SetFileName(QFileInfo(FReport->FileName()).fileName());
    TzelOpenTransport open(filter, FReport);
    if (!open.Open())
        return false;
    open.Stream(fileName);
    open.Process([&](QIODevice *stream) {
        if (!filter->DoFilterProcessStream(stream, this))
            SaveToStream(stream);
    });
    return true;
}

// The file transport writes beside the file and renames over it once
// complete, so a failing save never destroys the old file, nor the pages this
// report still reads from it on demand.
void TzelPreviewPages::SaveToFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
    transport.SetBasePath(info.absolutePath());
    SaveToFilter(&transport, info.absoluteFilePath());
}
