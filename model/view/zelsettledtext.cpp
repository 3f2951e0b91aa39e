#include "model/view/zelsettledtext.h"

#include "model/view/zelcustommemoview.h"

TzelSettledText::TzelSettledText(TzelComponent *object, int totalPages, int copyNo)
    : FMemo(zelAs<TzelCustomMemoView>(object))
{
    if (!FMemo)
        return;
    FText = FMemo->Memo;
    FMemo->TotalPages = totalPages;
    FMemo->CopyNo = copyNo;
    FMemo->ExtractMacros();
    FMemo->FitAutoWidth();
}

TzelSettledText::~TzelSettledText()
{
    if (FMemo)
        FMemo->Memo = FText;
}
