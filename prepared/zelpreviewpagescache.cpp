// The prepared pages: swapping finished pages out, and rebuilding pages into the cache.
#include "prepared/zelpreviewpagesprivate.h"

using namespace zelpages;

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
        DuplicateRuns runs;
        RebuildObjects(item, entry.Page.get(), serializer, entry.Elements, position, runs);
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
                                      ElementMap &elements, int &position, DuplicateRuns &runs)
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
        if (obj && !LoadPostProcessedValue(obj, runs)) {
            delete obj; // a duplicate hidden or merged into the first of its run
            obj = nullptr;
        }
        if (!obj) {
            position += countElements(child);
            continue;
        }
        elements[obj] = at;
        RebuildObjects(child, obj, serializer, elements, position, runs);
    }
}

// A text completed after it was stored, or merged with its equal
// neighbours, holds the index of its content. Of a run of equal values on
// the page, the first shows; the others are cleared, dropped, or dropped with
// the first stretched down over them.
bool TzelPreviewPages::LoadPostProcessedValue(TzelComponent *obj, DuplicateRuns &runs) const
{
    auto *memo = dynamic_cast<TzelCustomMemoView *>(obj);
    if (!memo || !FPostProcessor->GetMacroList(memo->Name()))
        return true;
    bool ok;
    const int index = memo->Text().trimmed().toInt(&ok);
    if (!ok)
        return true;
    memo->SetText(FPostProcessor->GetValue(memo->Name(), index));
    if (memo->Duplicates == dmShow)
        return true;
    DuplicateRun &run = runs[memo->Name()];
    if (!run.First || run.Index != index) {
        run = {index, memo};
        return true;
    }
    switch (memo->Duplicates) {
    case dmClear:
        memo->SetText(QString());
        return true;
    case dmMerge:
        run.First->SetHeight(memo->AbsTop() + memo->Height() - run.First->AbsTop());
        return false;
    default:
        return false;
    }
}
