// The prepared pages: what the engine writes while it builds.
#include "prepared/zelpreviewpagesprivate.h"

using namespace zelpages;

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
        if (auto *memo = zelAs<TzelCustomMemoView>(copy)) {
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
    PictureStoreScope scope(zelReportOf(obj), FPictureCache.get());
    StoreObject(obj, page, wholePage);
}

QString TzelPreviewPages::ObjectDiff(TzelComponent *obj, TzelComponent *source, bool wholePage)
{
    const bool defaultDiff = obj->qzComponentStyle.Contains(csDefaultDiff);
    if (!source || wholePage || defaultDiff)
        return obj->AllDiff(DefaultObject(obj->ClassInfo()));
    if (StoresGeometryOnly())
        return geometryDiff(obj, source);
    return obj->Diff(source);
}

bool TzelPreviewPages::StoresGeometryOnly() const
{
    return Engine && Engine->DoublePass() && !Engine->FinalPass();
}

QString TzelPreviewPages::DeferredAwareDiff(TzelComponent *obj, TzelComponent *source, bool wholePage)
{
    auto *memo = zelAs<TzelCustomMemoView>(obj);
    if (!memo || StoresGeometryOnly() || !TzelPostProcessor::TakesPart(*memo))
        return ObjectDiff(obj, source, wholePage);
    // A value completed later, or one merged with its equal neighbours, is
    // stored as the index of its content.
    const QStringList text = memo->Memo;
    const QString band = memo->Parent() ? memo->Parent()->Name() : QString();
    memo->SetText(QString::number(FPostProcessor->AddContent(*memo, band)));
    const auto restore = qScopeGuard([&] { memo->Memo = text; });
    return ObjectDiff(obj, source, wholePage);
}

void TzelPreviewPages::StoreObject(TzelComponent *obj, TzelXMLItem *parentItem, bool wholePage)
{
    if (!obj->Visible() || !obj->qzComponentStyle.Contains(csPreviewVisible))
        return;
    TzelComponent *source = wholePage ? nullptr : SourceOf(obj);
    TzelXMLItem *item = parentItem->Add(source ? obj->AliasName : obj->ClassName());
    item->SetText(storedText(DeferredAwareDiff(obj, source, wholePage)));
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
