#include "model/sql/zelsqldatabase.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "model/data/zeldatafiles.h"
#include "model/sql/zelsqlquery.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <sqlite3.h>

namespace {

bool isSQLite(const QString &driver)
{
    return driver.startsWith(QLatin1StringView("QSQLITE"), Qt::CaseInsensitive);
}

int refuseAttach(void *, int action, const char *, const char *, const char *, const char *)
{
    return action == SQLITE_ATTACH ? SQLITE_DENY : SQLITE_OK;
}

// Qt keeps connections in a process-wide table by name.
QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("zelsql") + QString::number(++counter);
}

} // namespace

TzelSQLDatabase::TzelSQLDatabase(TzelComponent *owner)
    : TzelCustomDatabase(owner), FConnectionName(newConnectionName())
{
}

TzelSQLDatabase::~TzelSQLDatabase()
{
    Disconnect();
    for (TzelSQLQuery *query : std::as_const(FQueries))
        query->FDatabase = nullptr;
}

bool TzelSQLDatabase::Connected() const
{
    return FConnected || FConnectWanted;
}

void TzelSQLDatabase::SetConnected(bool value)
{
    if (!value) {
        FConnectWanted = false;
        Disconnect();
    } else if (IsLoading()) {
        // A template never connects while it is read: the queries do on first use.
        FConnectWanted = true;
    } else {
        Connect();
    }
}

void TzelSQLDatabase::SetDatabaseName(const QString &value)
{
    if (value == FDatabaseName)
        return;
    Disconnect();
    FDatabaseName = value;
}

void TzelSQLDatabase::SetParams(const QStringList &value)
{
    FParams = value;
}

void TzelSQLDatabase::SetLogin(const QString &login, const QString &password)
{
    FHasLogin = true;
    FLogin = login;
    FLoginPassword = password;
}

QString TzelSQLDatabase::FilePath() const
{
    if (!isSQLite(Driver) || FDatabaseName == QLatin1StringView(":memory:"))
        return FDatabaseName;
    return zelDataFilePath(this, FDatabaseName);
}

void TzelSQLDatabase::Connect()
{
    if (FConnected)
        return;
    if (!QSqlDatabase::isDriverAvailable(Driver))
        throw TzelException(zelFormat(zelRes("dbNoDriver"), {Driver}));
    const QString path = FilePath();
    // SQLite would create a missing file, empty, and the report would print nothing.
    if (isSQLite(Driver) && path != QLatin1StringView(":memory:") && !QFileInfo(path).isFile())
        throw TzelException(zelFormat(zelRes("dbFileNotFound"), {path}));

    QString user = FHasLogin ? FLogin : UserName;
    QString password = FHasLogin ? FLoginPassword : Password;
    if (FLoginPrompt && password.isEmpty() && !isSQLite(Driver))
        TzelDialogService::Instance().InputPassword(zelRes("Password"), password);

    QString message;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(Driver, FConnectionName);
        db.setDatabaseName(path);
        db.setHostName(HostName);
        if (Port > 0)
            db.setPort(Port);
        db.setUserName(user);
        db.setPassword(password);
        QStringList options = FParams;
        // A flag the template's own options cannot take back.
        if (OpenMode == omReadOnly && isSQLite(Driver))
            options << QStringLiteral("QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options.join(u';'));
        if (db.open()) {
            try {
                if (OpenMode == omReadOnly)
                    RestrictToReading(db);
                FConnected = true;
                return;
            } catch (const TzelException &e) {
                message = e.message();
            }
            db.close();
        } else {
            message = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(FConnectionName);
    throw TzelException(zelFormat(zelRes("dbConnectError"), {path, message}));
}

void TzelSQLDatabase::RestrictToReading(QSqlDatabase &db)
{
    if (isSQLite(Driver)) {
        // The read-only flag covers the file itself; ATTACH (and VACUUM INTO,
        // which attaches its target) would open or create other files.
        const QVariant handle = db.driver()->handle();
        sqlite3 *connection = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                                  ? *static_cast<sqlite3 *const *>(handle.constData())
                                  : nullptr;
        if (!connection || sqlite3_set_authorizer(connection, refuseAttach, nullptr) != SQLITE_OK)
            throw TzelException(zelRes("dbNotReadOnly"));
        return;
    }
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("START TRANSACTION READ ONLY")))
        throw TzelException(zelRes("dbNotReadOnly") + QStringLiteral(": ") + begin.lastError().text());
}

void TzelSQLDatabase::StatementFailed()
{
    if (!FConnected || OpenMode != omReadOnly || isSQLite(Driver))
        return;
    QSqlDatabase db = Handle();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    QSqlQuery(db).exec(QStringLiteral("START TRANSACTION READ ONLY"));
}

void TzelSQLDatabase::Disconnect()
{
    for (TzelSQLQuery *query : std::as_const(FQueries))
        query->Close();
    if (!FConnected)
        return;
    FConnected = false;
    {
        QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(FConnectionName);
}

QSqlDatabase TzelSQLDatabase::Handle() const
{
    return QSqlDatabase::database(FConnectionName, false);
}

void TzelSQLDatabase::Attach(TzelSQLQuery *query)
{
    if (!FQueries.contains(query))
        FQueries.append(query);
}

void TzelSQLDatabase::Detach(TzelSQLQuery *query)
{
    FQueries.removeOne(query);
}

QString TzelSQLDatabase::ToString() const
{
    QStringList parts;
    parts << QStringLiteral("Driver=") + Driver << QStringLiteral("DatabaseName=") + FDatabaseName;
    if (!HostName.isEmpty())
        parts << QStringLiteral("HostName=") + HostName;
    if (Port > 0)
        parts << QStringLiteral("Port=") + QString::number(Port);
    if (!UserName.isEmpty())
        parts << QStringLiteral("UserName=") + UserName;
    return parts.join(u';');
}

void TzelSQLDatabase::FromString(const QString &text)
{
    Disconnect();
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1);
        if (key.compare(QLatin1StringView("Driver"), Qt::CaseInsensitive) == 0)
            Driver = value;
        else if (key.compare(QLatin1StringView("DatabaseName"), Qt::CaseInsensitive) == 0)
            FDatabaseName = value;
        else if (key.compare(QLatin1StringView("HostName"), Qt::CaseInsensitive) == 0)
            HostName = value;
        else if (key.compare(QLatin1StringView("Port"), Qt::CaseInsensitive) == 0)
            Port = value.toInt();
        else if (key.compare(QLatin1StringView("UserName"), Qt::CaseInsensitive) == 0)
            UserName = value;
    }
}

void TzelSQLDatabase::Publish(TzelPublisher<TzelSQLDatabase> &p)
{
    using T = TzelSQLDatabase;
    p.Prop("Driver", &T::Driver);
    p.Prop("HostName", &T::HostName);
    p.Prop("Port", &T::Port).Default(0);
    p.Prop("UserName", &T::UserName);
    p.Prop("Password", &T::Password);
    p.Prop("OpenMode", &T::OpenMode).Default(omReadOnly);
}
