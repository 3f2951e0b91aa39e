#pragma once
/// \file

#include "model/data/zelcustomdatabase.h"

#include <QList>
#include <QString>
#include <memory>

class QSqlDatabase;
class TzelSQLQuery;

/// Whether a connection may change the database.
ZEL_ENUM(TzelDatabaseOpenMode, omReadOnly, omReadWrite)

/// A connection through a Qt SQL driver: "QSQLITE" (DatabaseName is the file,
/// relative names lying beside the template) or "QPSQL" (server, port and
/// login). The connection opens when a query first needs it; Connected read
/// from a template only asks for that, so loading never touches a database.
/// A SQLite file that does not exist is an error, never created empty.
///
/// Reports read data, so a connection is read-only unless its template asks
/// for omReadWrite: a SQLite file is opened read-only and refuses ATTACH (with
/// which a statement could create files), and on a server every statement runs
/// inside one read-only transaction.
class TzelSQLDatabase : public TzelCustomDatabase
{
    ZEL_CLASS(TzelSQLDatabase, TzelCustomDatabase)

    /// Creates a connection whose tree parent is Owner.
    explicit TzelSQLDatabase(TzelComponent *owner = nullptr);
    /// Closes the queries using the connection, then the connection.
    ~TzelSQLDatabase() override;

    QString Driver = QStringLiteral("QSQLITE"); ///< the Qt SQL driver
    QString HostName;   ///< the server (not for SQLite)
    int Port = 0;       ///< the server's port; 0 for the driver's default
    QString UserName;   ///< the login stored with the template
    QString Password;   ///< its password; prefer SetLogin at run time
    TzelDatabaseOpenMode OpenMode = omReadOnly; ///< whether statements may change the database

    /// Whether the connection is open, or is to be opened on first use.
    bool Connected() const override;
    /// Opens (raising a TzelException naming the database when it cannot)
    /// or closes the connection; while loading, only notes the wish.
    void SetConnected(bool value) override;
    QString DatabaseName() const override { return FDatabaseName; }
    /// Sets DatabaseName.
    void SetDatabaseName(const QString &value) override;
    bool LoginPrompt() const override { return FLoginPrompt; }
    /// Sets LoginPrompt.
    void SetLoginPrompt(bool value) override { FLoginPrompt = value; }
    /// Connection options of the driver, one "name=value" per line.
    QStringList Params() const override { return FParams; }
    /// Sets Params.
    void SetParams(const QStringList &value) override;
    /// The login used from now on instead of UserName and Password.
    void SetLogin(const QString &login, const QString &password) override;
    /// "Driver=...;DatabaseName=...;HostName=...;Port=...;UserName=..." (no password).
    QString ToString() const override;
    /// Takes the settings of a text made by ToString.
    void FromString(const QString &text) override;

    /// Opens the connection unless it is open.
    void Connect();
    /// Closes the connection and the queries that use it.
    void Disconnect();
    /// The file a SQLite database is read from (DatabaseName resolved).
    QString FilePath() const;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelSQLDatabase> &p);

private:
    friend class TzelSQLQuery;

    /// The open Qt connection; Connect first.
    QSqlDatabase Handle() const;
    /// Makes the open connection read-only after it was opened; raises
    /// naming the database when the driver cannot.
    void RestrictToReading(QSqlDatabase &db);
    /// After a failed statement: a server's read-only transaction, which the
    /// failure ended, starts again so that the next statements can run.
    void StatementFailed();
    void Attach(TzelSQLQuery *query);
    void Detach(TzelSQLQuery *query);

    QString FDatabaseName;
    QStringList FParams;
    bool FLoginPrompt = false;
    bool FConnectWanted = false;
    bool FConnected = false;
    bool FHasLogin = false;
    QString FLogin;
    QString FLoginPassword;
    QString FConnectionName;
    QList<TzelSQLQuery *> FQueries;
};
