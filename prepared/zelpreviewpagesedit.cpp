// The prepared pages: editing built pages and objects.
#include "prepared/zelpreviewpagesprivate.h"

using namespace zelpages;

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
    item->SetText(storedText(whole ? component->AllDiff(DefaultObject(component->ClassInfo()))
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
