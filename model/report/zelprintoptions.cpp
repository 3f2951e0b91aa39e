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

void TzelPrintOptions::Publish(TzelPublisher<TzelPrintOptions> &p)
{
    using T = TzelPrintOptions;
    p.Prop("Copies", &T::Copies).Default(1);
    p.Prop("Collate", &T::Collate).Default(true);
    p.Prop("PageNumbers", &T::PageNumbers);
    p.Prop("Printer", &T::Printer);
    p.Prop("PrintMode", &T::PrintMode).Default(pmDefault);
    p.Prop("PrintOnSheet", &T::PrintOnSheet);
    p.Prop("PrintPages", &T::PrintPages).Default(ppAll);
    p.Prop("Reverse", &T::Reverse).Default(false);
    p.Prop("ShowDialog", &T::ShowDialog).Default(true);
    p.Prop("SwapPageSize", &T::SwapPageSize).NotStored();
}
