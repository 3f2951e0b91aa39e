#include "model/data/zelcustomdatabase.h"

TzelCustomDatabase::TzelCustomDatabase(TzelComponent *owner)
    : TzelDialogComponent(owner)
{
}

TzelCustomDatabase::~TzelCustomDatabase() = default;

void TzelCustomDatabase::Publish(TzelPublisher<TzelCustomDatabase> &p)
{
    using T = TzelCustomDatabase;
    p.Prop("DatabaseName", &T::DatabaseName, &T::SetDatabaseName);
    p.Prop("LoginPrompt", &T::LoginPrompt, &T::SetLoginPrompt).Default(false);
    p.Prop("Params", &T::Params, &T::SetParams);
    p.Prop("Connected", &T::Connected, &T::SetConnected).Default(false);
}
