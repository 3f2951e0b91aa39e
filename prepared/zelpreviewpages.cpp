// The prepared pages: construction, the document and its sections, clearing.
#include "prepared/zelpreviewpagesprivate.h"

using namespace zelpages;

TzelPreviewPages::TzelPreviewPages(TzelReport *report)
    : TzelCustomPreviewPages(report), FPostProcessor(std::make_unique<TzelPostProcessor>()),
      FPictureCache(std::make_unique<TzelPictureCache>())
{
    FOutline = std::make_unique<TzelOutline>(this, FXMLDoc.Root());
    FXMLDoc.Root()->SetName(QStringLiteral("preparedreport"));
}

TzelPreviewPages::~TzelPreviewPages()
{
    ClearPageCache();
    qDeleteAll(FSourcePages);
}

TzelCustomPostProcessor &TzelPreviewPages::CustomPostProcessor() const
{
    return *FPostProcessor;
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
