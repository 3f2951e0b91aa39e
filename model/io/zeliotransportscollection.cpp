#include "model/io/zeliotransportscollection.h"

#include "model/io/zelcustomiotransport.h"
#include "model/io/zeliotransportfile.h"

namespace {

std::unique_ptr<TzelCustomIOTransport> newFileTransport()
{
    return TzelCustomIOTransport::CreateNoRegister<TzelIOTransportFile>();
}

} // namespace

TzelIOTransportsCollection::TzelIOTransportsCollection()
    : FFileFactory(&newFileTransport)
{
}

TzelIOTransportsCollection::~TzelIOTransportsCollection() = default;

void TzelIOTransportsCollection::Register(TzelCustomIOTransport *transport)
{
    if (transport && !FItems.contains(transport))
        FItems.append(transport);
}

void TzelIOTransportsCollection::Unregister(TzelCustomIOTransport *transport)
{
    FItems.removeOne(transport);
}

int TzelIOTransportsCollection::IndexOf(const TzelCustomIOTransport *transport) const
{
    return int(FItems.indexOf(transport));
}

TzelIOTransportsCollection::Entries TzelIOTransportsCollection::List(TzelFilterVisibleState state) const
{
    Entries result;
    for (TzelCustomIOTransport *t : FItems)
        if (t->GetVisibility().Contains(state))
            result.append({t->GetDescription(), t});
    return result;
}

std::unique_ptr<TzelCustomIOTransport> TzelIOTransportsCollection::CreateDefaultDialogTransport() const
{
    return FDialogFactory ? FDialogFactory() : nullptr;
}

std::unique_ptr<TzelCustomIOTransport> TzelIOTransportsCollection::CreateDefaultFileTransport() const
{
    return FFileFactory ? FFileFactory() : newFileTransport();
}

TzelIOTransportsCollection &zelIOTransports()
{
    static TzelIOTransportsCollection list;
    return list;
}
