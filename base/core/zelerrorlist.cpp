#include "base/core/zelerrorlist.h"

void TzelErrorList::Add(const QString &message)
{
    TzelLocatedError error;
    error.Message = message;
    Add(error);
}

void TzelErrorList::Add(const TzelLocatedError &error)
{
    FMessages.Add(error.Message);
    FInOrder << error;
}

void TzelErrorList::Clear()
{
    FMessages.Clear();
    FInOrder.clear();
}
