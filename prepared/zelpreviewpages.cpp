#include "prepared/zelpreviewpages.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
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
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

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

QString res(const char *key)
{
    return zelResources().Get(QLatin1StringView(key));
}

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
    if (!zelSameCoord(obj->Top(), source->Top()))
        add("t", obj->Top());
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

template <class T>
bool is(const TzelComponent *c)
{
    return dynamic_cast<const T *>(c) != nullptr;
}

} // namespace

// A rebuilt page and, for ModifyObject, the element each of its objects was
// read from.
struct TzelPreviewPages::CachedPage
{
    int Index;
    std::unique_ptr<TzelReportPage> Page;
    std::unordered_map<const TzelComponent *, TzelXMLItem *> Elements;
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

int TzelPreviewPages::Count() const
{
    const int i = FXMLDoc.Root()->Find(kPreviewPages);
    return i < 0 ? 0 : FXMLDoc.Root()->Items(i)->Count();
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
    TzelXMLItem *numbers = Section(kLogicalPages);
    return index >= 0 && index < numbers->Count() ? numbers->Items(index) : nullptr;
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
    TzelXMLItem *pages = FPagesItem;
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
    FPagesItem = Section(kPreviewPages);
    if (FReport && FReport->EngineOptions().UseFileCache
        && FXMLSize > qint64(FReport->EngineOptions().MaxMemSize) * 1048576) {
        SwapOutFinishedPages();
        FXMLSize = 0;
    }
    ++FCurPage;
    if (FCurPage < Count() && AddPageAction != apAdd)
        return;

    int source = FSourceTemplates.indexOf(page);
    if (source < 0)
        source = FSourcePages.indexOf(page);
    TzelXMLItem *item = FPagesItem->Add(kPagePrefix + QString::number(source));
    if (FPagesItem->Count() > 2)
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
    FSourceTemplates.clear();
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
    const int i = FXMLDoc.Root()->Find(kCutted);
    if (!page || i < 0)
        return;
    TzelXMLItem *cut = FXMLDoc.Root()->Items(i);
    if (cut->Count() > 0) {
        const TzelXMLItem *first = cut->Items(0);
        double dx = x - zelAttrFloat(first, QStringLiteral("l"));
        const double dy = y - zelAttrFloat(first, QStringLiteral("t"));
        const TzelComponent *firstSource = FDictionary.GetObject(first->Name());
        if (dx < 0 && x == 0 && firstSource && is<TzelNullBand>(firstSource))
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
    int index = FSourceTemplates.indexOf(page);
    if (index < 0)
        index = FSourcePages.indexOf(page);
    if (index < 0)
        return;
    TzelReportPage *source = FSourcePages.at(index);
    source->SetSizeAndDimensions(256, width / qz01cm, height / qz01cm);
    QString &text = FReferenceTexts[source];
    text += QStringLiteral(" PaperSize=\"256\" PaperWidth=\"%1\" PaperHeight=\"%2\"")
                .arg(zelFloatToStr(source->PaperWidth()), zelFloatToStr(source->PaperHeight()));
}

QPoint TzelPreviewPages::GetPageSize(int index)
{
    TzelXMLItem *item = PageItem(index);
    if (!item)
        return QPoint(0, 0);
    if (const TzelReportPage *source = SourcePageOf(item)) {
        double width = source->Width();
        double height = source->Height();
        bool present;
        const double w = zelAttrFloat(item, QStringLiteral("PaperWidth"), &present);
        if (present)
            width = w * qz01cm;
        const double h = zelAttrFloat(item, QStringLiteral("PaperHeight"), &present);
        if (present)
            height = h * qz01cm;
        return QPoint(int(std::nearbyint(width)), int(std::nearbyint(height)));
    }
    const TzelReportPage *page = GetPage(index);
    return page ? QPoint(int(std::nearbyint(page->Width())), int(std::nearbyint(page->Height()))) : QPoint(0, 0);
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

void TzelPreviewPages::ClearPageCache()
{
    FPageCache.clear();
    FLockedPage = nullptr;
}

void TzelPreviewPages::LockPage()
{
    FLockedPage = FPageCache.empty() ? nullptr : FPageCache.front().Page.get();
}

void TzelPreviewPages::UnlockPage()
{
    FLockedPage = nullptr;
}

TzelReportPage *TzelPreviewPages::GetPage(int index)
{
    if (Count() == 0 || index < 0 || index >= Count())
        return nullptr;
    const bool running = Engine && Engine->Running();
    const bool locked = !FPageCache.empty() && FLockedPage && FPageCache.front().Page.get() == FLockedPage;
    const auto front = FPageCache.begin() + (locked ? 1 : 0);
    const auto cached = std::find_if(FPageCache.begin(), FPageCache.end(),
                                     [index](const CachedPage &c) { return c.Index == index; });
    if (cached != FPageCache.end()) {
        if (!running) {
            TzelReportPage *page = cached->Page.get();
            if (page != FLockedPage && cached > front)
                std::rotate(front, cached, cached + 1);
            return page;
        }
        if (cached->Page.get() != FLockedPage)
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
    entry.Page.reset(RebuildPage(item));
    if (numberedPage(item->Name()))
        RebuildObjects(item, entry.Page.get(), serializer, entry.Elements);
    else
        serializer.ReadRootComponent(entry.Page.get(), item);
    for (const QString &error : serializer.Errors.Items())
        if (FReport)
            FReport->Errors().Add(error);
    entry.Page->AlignChildren();

    TzelReportPage *page = entry.Page.get();
    const bool stillLocked = !FPageCache.empty() && FLockedPage && FPageCache.front().Page.get() == FLockedPage;
    FPageCache.insert(FPageCache.begin() + (stillLocked ? 1 : 0), std::move(entry));
    const int limit = std::max(1, FReport ? FReport->PreviewOptions().PagesInCache : 50);
    while (int(FPageCache.size()) > limit) {
        const int evicted = FPageCache.back().Index;
        FPageCache.pop_back();
        if (FReport && FReport->EngineOptions().UseFileCache)
            if (TzelXMLItem *old = PageItem(evicted); old && old->Unloadable())
                Unload(old);
    }
    return page;
}

TzelReportPage *TzelPreviewPages::RebuildPage(TzelXMLItem *item)
{
    TzelXMLSerializer serializer;
    serializer.IgnoreName = true;
    if (!numberedPage(item->Name())) {
        const TzelClassInfo *cls = TzelClassRegistry::Find(item->Name());
        auto *page = cls && cls->InheritsFrom(TzelReportPage::StaticClassInfo())
                         ? static_cast<TzelReportPage *>(cls->Create())
                         : new TzelReportPage();
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

void TzelPreviewPages::RebuildObjects(TzelXMLItem *item, TzelComponent *parent, TzelXMLSerializer &serializer,
                                      ElementMap &elements)
{
    for (int i = 0; i < item->Count(); ++i) {
        TzelXMLItem *child = item->Items(i);
        TzelComponent *obj = nullptr;
        if (const TzelComponent *source = FDictionary.GetObject(child->Name())) {
            obj = static_cast<TzelComponent *>(source->ClassInfo().Create());
            obj->SetParent(parent);
            obj->SetIsLoading(true);
            serializer.XMLToObj(ReferenceText(source), obj);
            serializer.XMLToObj(child->Text(), obj);
            obj->SetIsLoading(false);
            obj->SetName(source->Name());
            if (auto *picture = dynamic_cast<TzelPictureView *>(obj); picture && picture->Picture().IsEmpty())
                FPictureCache->GetPicture(picture);
        } else {
            obj = serializer.ReadComponentStr(parent, child->Text().isEmpty() ? child->Name()
                                                                               : child->Name() + u' ' + child->Text(),
                                              true);
            if (!obj)
                continue;
        }
        LoadPostProcessedValue(obj);
        elements[obj] = child;
        RebuildObjects(child, obj, serializer, elements);
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
    TzelXMLSerializer serializer;
    serializer.WriteRootComponent(page, true, item);
    item->SetUnloadable(false);
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

void TzelPreviewPages::ModifyObject(TzelComponent *component)
{
    for (CachedPage &cached : FPageCache) {
        const auto it = cached.Elements.find(component);
        if (it == cached.Elements.end())
            continue;
        TzelXMLItem *item = it->second;
        TzelComponent *source = FDictionary.GetObject(item->Name());
        const bool whole = !source || component->qzComponentStyle.Contains(csDefaultDiff)
                           || dynamic_cast<TzelPictureView *>(component);
        item->SetText(StoredText(whole ? component->AllDiff(DefaultObject(component->ClassInfo()))
                                       : component->Diff(source)));
        TzelXMLItem *page = item;
        while (page->Parent() && page->Parent()->Name() != kPreviewPages)
            page = page->Parent();
        page->SetUnloadable(false);
        return;
    }
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
    for (int i = 0; i < from->Count(); ++i) {
        const TzelXMLItem *source = from->Items(i);
        TzelXMLItem *item = to->Add(QStringLiteral("item"));
        item->SetText(source->Text());
        item->SetProp(QStringLiteral("page"), QString::number(zelAttrInt(source, QStringLiteral("page")) + pageShift));
        copyOutline(source, item, pageShift);
    }
}

} // namespace

void TzelPreviewPages::AddFrom(TzelPreviewPages &other)
{
    const int shift = Count();
    TzelXMLItem *pages = Section(kPreviewPages);
    for (int i = 0; i < other.Count(); ++i)
        if (TzelReportPage *page = other.GetPage(i))
            StoreWholePage(pages->Add(), page);
    TzelXMLItem *anchors = other.FindAnchorRoot();
    for (int i = 0; i < anchors->Count(); ++i) {
        TzelXMLItem *item = FindAnchorRoot()->Add(QStringLiteral("item"));
        item->SetText(anchors->Items(i)->Text());
        item->SetProp(QStringLiteral("page"),
                      QString::number(zelAttrInt(anchors->Items(i), QStringLiteral("page")) + shift));
    }
    copyOutline(other.Outline().Root(), Outline().Root(), shift);
    const int savedPage = other.CurPage();
    other.SetCurPage(other.Count() - 1);
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
    FPagesItem = nullptr;
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
    const int i = FXMLDoc.Root()->Find(kReport);
    if (!FReport || i < 0 || FXMLDoc.Root()->Items(i)->Count() == 0)
        return;
    const TzelXMLItem *item = FXMLDoc.Root()->Items(i)->Items(0);
    auto flag = [item](const QString &name, bool &value) {
        if (item->PropExists(name))
            value = zelAttr(item, name).compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0
                    || zelAttr(item, name) == u"1";
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
    const int i = FXMLDoc.Root()->Find(kSourcePages);
    if (i < 0)
        return;
    TzelXMLItem *section = FXMLDoc.Root()->Items(i);
    for (int j = 0; j < section->Count(); ++j) {
        TzelXMLItem *item = section->Items(j);
        const TzelClassInfo *cls = TzelClassRegistry::Find(item->Name());
        auto *page = cls && cls->InheritsFrom(TzelReportPage::StaticClassInfo())
                         ? static_cast<TzelReportPage *>(cls->Create())
                         : new TzelReportPage();
        FSourcePages.append(page);
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
    const int i = FXMLDoc.Root()->Find(kDictionary);
    if (i < 0)
        return;
    TzelXMLItem *section = FXMLDoc.Root()->Items(i);
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
        serializer.WriteRootComponent(page, true, sources->Add());
    }
    TzelXMLItem *dictionary = Section(kDictionary);
    dictionary->Clear();
    FDictionary.ForEach([dictionary](const QString &name, const QString &sourceName) {
        dictionary->Add(name)->SetProp(QStringLiteral("name"), sourceName);
    });
    FPictureCache->SaveToXML(Section(kPictureCache));
    FPostProcessor->SaveToXML(Section(kPostProcessing));
    if (const int cut = FXMLDoc.Root()->Find(kCutted); cut >= 0)
        delete FXMLDoc.Root()->Items(cut);

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
        compressor->CreateStream();
        try {
            if (compressor->Decompress(stream))
                source = compressor->Stream();
        } catch (const std::exception &) {
            ReportLoadError(res("clDecompressError"));
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
        FXMLDoc.Root()->SetName(QStringLiteral("preparedreport"));
        ReadReportSection();
        ReadSourcePages(errors);
        ReadDictionary();
        QStringList pictureErrors;
        FPictureCache->LoadFromXML(Section(kPictureCache), &pictureErrors);
        Section(kPictureCache)->Clear();
        for (const QString &error : std::as_const(pictureErrors))
            errors.Add(error);
        if (const int i = FXMLDoc.Root()->Find(kPostProcessing); i >= 0) {
            FPostProcessor->LoadFromXML(FXMLDoc.Root()->Items(i));
            delete FXMLDoc.Root()->Items(i);
        }
    } catch (const TzelException &e) {
        Clear();
        ReportLoadError(e.message());
        return;
    }
    FCurPage = Count() - 1;
    FStreamLoaded = true;
    if (!errors.IsEmpty() && FReport) {
        for (const QString &error : errors.Items())
            FReport->Errors().Add(error);
    }
}

void TzelPreviewPages::ReportLoadError(const QString &message)
{
    if (!FReport)
        throw TzelException(message);
    FReport->Errors().Add(message);
    FReport->ReportErrors();
}

bool TzelPreviewPages::LoadFromFile(const QString &fileName, bool exceptionIfNotFound)
{
    const bool exists = QFileInfo(fileName).isFile();
    if (!exists && !exceptionIfNotFound)
        return false;
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(res("ioCantOpen"), {fileName, file->errorString()}));
    // The file stays open for the pages read on demand.
    const bool partial = !TzelCustomCompressor::CreateRegistered();
    LoadFromStream(file.get(), partial);
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
    QIODevice *stream = open.Stream(fileName);
    if (!filter->DoFilterProcessStream(stream, this))
        SaveToStream(stream);
    return true;
}

// Written beside the file and renamed over it once complete, so a failing
// save never destroys the old file, nor the pages this report still reads
// from it on demand.
void TzelPreviewPages::SaveToFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString tempName = fileName + QStringLiteral(".tmp");
    TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
    transport.SetBasePath(info.absolutePath());
    try {
        SaveToFilter(&transport, tempName);
    } catch (...) {
        QFile::remove(tempName);
        throw;
    }
    // rename(2) replaces the old file in one step.
    if (std::rename(QFile::encodeName(tempName).constData(), QFile::encodeName(fileName).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(tempName);
        throw TzelFileError(zelFormat(res("ioCantCreate"), {fileName, reason}));
    }
}
