#include "model/report/zelprintoptions.h"

#include "base/resources/zelresources.h"

TzelPrintOptions::TzelPrintOptions()
{
    Clear();
}

void TzelPrintOptions::Clear()
{
    Copies = 1;
    Collate = true;
    PageNumbers.clear();
    Printer = zelResources().Get(QStringLiteral("prDefault"));
    PrintMode = pmDefault;
    PrintOnSheet = 0;
    PrintPages = ppAll;
    Reverse = false;
    ShowDialog = true;
    SwapPageSize = false;
}
