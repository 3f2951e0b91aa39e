#pragma once
/// \file

#include "model/data/zeldialogcomponent.h"

#include <QStringList>

/// The base of database connections that data sets of a template use. Every
/// operation does nothing here; a concrete connection overrides them.
class TzelCustomDatabase : public TzelDialogComponent
{
    ZEL_CLASS(TzelCustomDatabase, TzelDialogComponent)

    /// Creates a connection whose tree parent is Owner.
    explicit TzelCustomDatabase(TzelComponent *owner = nullptr);
    ~TzelCustomDatabase() override;

    /// Whether the connection is open.
    virtual bool Connected() const { return false; }
    /// Opens or closes the connection.
    virtual void SetConnected(bool) {}
    /// The database: a file, or a name the server knows.
    virtual QString DatabaseName() const { return QString(); }
    /// Sets DatabaseName.
    virtual void SetDatabaseName(const QString &) {}
    /// Whether the user is asked for a login when connecting.
    virtual bool LoginPrompt() const { return false; }
    /// Sets LoginPrompt.
    virtual void SetLoginPrompt(bool) {}
    /// Further connection parameters, one "name=value" per line.
    virtual QStringList Params() const { return QStringList(); }
    /// Sets Params.
    virtual void SetParams(const QStringList &) {}
    /// Supplies the login used when connecting, in place of asking for it.
    virtual void SetLogin(const QString &, const QString &) {}
    /// The connection settings as one text.
    virtual QString ToString() const { return QString(); }
    /// Takes the connection settings from a text made by ToString.
    virtual void FromString(const QString &) {}

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelCustomDatabase> &p);
};
