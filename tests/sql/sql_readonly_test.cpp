// A template's statements read data: a connection refuses what would change
// the database or touch other files unless the template asks for writing.
#include "base/core/zelexception.h"
#include "model/report/zelreport.h"
#include "model/sql/zelsqlclasses.h"
#include "model/sql/zelsqldatabase.h"
#include "model/sql/zelsqlquery.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Runs Statements on a connection of Qt's own, apart from the classes under
// test; returns the first column of the last statement's first row.
QVariant runSql(const QString &driver, const std::function<void(QSqlDatabase &)> &setUp,
                const QStringList &statements)
{
    QVariant result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, QStringLiteral("fixture"));
        setUp(db);
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery q(db);
        for (const QString &sql : statements) {
            EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString() << " in " << sql.toStdString();
            if (q.next())
                result = q.value(0);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    return result;
}

// Opens a query of Report on Database with SQL; the error text, or "".
QString openQuery(TzelReport &report, TzelSQLDatabase *database, const QString &sql)
{
    TzelSQLQuery query(&report);
    query.SetDatabase(database);
    query.SQL = QStringList{sql};
    try {
        query.Open();
    } catch (const TzelException &e) {
        return e.message();
    }
    return QString();
}

class ReadOnlySqlite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zelRegisterSqlClasses();
        path = dir.filePath(QStringLiteral("shop.sqlite"));
        rows({QStringLiteral("CREATE TABLE customers (id INTEGER)"),
              QStringLiteral("INSERT INTO customers VALUES (1), (2), (3)")});
        database = new TzelSQLDatabase(&report);
        database->SetName(QStringLiteral("Db"));
        database->SetDatabaseName(path);
    }

    int rows(const QStringList &before = {})
    {
        return runSql(
                   QStringLiteral("QSQLITE"), [this](QSqlDatabase &db) { db.setDatabaseName(path); },
                   before + QStringList{QStringLiteral("SELECT COUNT(*) FROM customers")})
            .toInt();
    }

    QTemporaryDir dir;
    QString path;
    TzelReport report;
    TzelSQLDatabase *database = nullptr;
};

} // namespace

TEST_F(ReadOnlySqlite, StatementsThatWriteOrReachOtherFilesAreRefused)
{
    const QString other = dir.filePath(QStringLiteral("other.sqlite"));
    const QString statements[] = {
        QStringLiteral("DELETE FROM customers"),
        QStringLiteral("DROP TABLE customers"),
        QStringLiteral("ATTACH DATABASE '%1' AS x").arg(other),
        QStringLiteral("VACUUM INTO '%1'").arg(other),
    };
    for (const QString &sql : statements) {
        SCOPED_TRACE(sql.toStdString());
        EXPECT_TRUE(openQuery(report, database, sql).startsWith(QStringLiteral("Query \"")));
        // The connection still reads after a refusal.
        EXPECT_EQ(openQuery(report, database, QStringLiteral("SELECT id FROM customers")), QString());
    }
    EXPECT_EQ(rows(), 3);
    EXPECT_FALSE(QFileInfo::exists(other));
    // The template's own driver options cannot lift the protection.
    database->Disconnect();
    database->SetParams({QStringLiteral("QSQLITE_OPEN_URI")});
    database->SetDatabaseName(QStringLiteral("file:%1?mode=rw").arg(path));
    EXPECT_FALSE(openQuery(report, database, QStringLiteral("DELETE FROM customers")).isEmpty());
    EXPECT_EQ(rows(), 3);
}

TEST_F(ReadOnlySqlite, ATemplateAsksForWritingExplicitly)
{
    const QByteArray text = [&] {
        database->OpenMode = omReadWrite;
        const QString file = dir.filePath(QStringLiteral("t.zt3"));
        report.SaveToFile(file);
        return zelReadFile(file);
    }();
    EXPECT_TRUE(text.contains("OpenMode=\"omReadWrite\"")) << text.toStdString();
    EXPECT_EQ(openQuery(report, database, QStringLiteral("DELETE FROM customers WHERE id = 1")), QString());
    database->Disconnect();
    EXPECT_EQ(rows(), 2);
}

// A throwaway PostgreSQL server on a socket in a temporary folder.
class ReadOnlyPostgres : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zelRegisterSqlClasses();
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            GTEST_SKIP() << "no QPSQL driver";
        const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        if (versions.isEmpty())
            GTEST_SKIP() << "no PostgreSQL server programs";
        bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(versions.last());
        ASSERT_TRUE(dir.isValid());
        data = dir.filePath(QStringLiteral("data"));
        // The server refuses to run as root.
        if (geteuid() == 0) {
            ASSERT_EQ(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres"), dir.path()}), 0);
        }
        ASSERT_EQ(server(QStringLiteral("initdb"), {QStringLiteral("-D"), data, QStringLiteral("-A"),
                                                     QStringLiteral("trust"), QStringLiteral("-U"),
                                                     QStringLiteral("zel"), QStringLiteral("--no-sync")}),
                  0);
        ASSERT_EQ(server(QStringLiteral("pg_ctl"),
                         {QStringLiteral("-D"), data, QStringLiteral("-w"), QStringLiteral("-l"),
                          dir.filePath(QStringLiteral("log")), QStringLiteral("-o"),
                          QStringLiteral("-k %1 -c listen_addresses= -c fsync=off").arg(dir.path()),
                          QStringLiteral("start")}),
                  0);
        started = true;
        connect(QStringList{QStringLiteral("CREATE TABLE customers (id INTEGER)"),
                            QStringLiteral("INSERT INTO customers VALUES (1), (2), (3)")});
        database = new TzelSQLDatabase(&report);
        database->Driver = QStringLiteral("QPSQL");
        database->HostName = dir.path();
        database->UserName = QStringLiteral("zel");
        database->SetDatabaseName(QStringLiteral("postgres"));
    }
    void TearDown() override
    {
        if (started)
            server(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data, QStringLiteral("-m"),
                                               QStringLiteral("immediate"), QStringLiteral("stop")});
    }

    // Runs a server program quietly (as the user "postgres" when we are root).
    int server(const QString &program, QStringList args)
    {
        QString run = bin + program;
        if (geteuid() == 0) {
            args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), run} + args;
            run = QStringLiteral("runuser");
        }
        QProcess process;
        process.start(run, args);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }

    int connect(const QStringList &statements)
    {
        return runSql(
                   QStringLiteral("QPSQL"),
                   [this](QSqlDatabase &db) {
                       db.setHostName(dir.path());
                       db.setUserName(QStringLiteral("zel"));
                       db.setDatabaseName(QStringLiteral("postgres"));
                   },
                   statements)
            .toInt();
    }

    QTemporaryDir dir;
    QString bin;
    QString data;
    bool started = false;
    TzelReport report;
    TzelSQLDatabase *database = nullptr;
};

TEST_F(ReadOnlyPostgres, StatementsRunInAReadOnlyTransactionUnlessAsked)
{
    const QString count = QStringLiteral("SELECT COUNT(*) FROM customers");
    // Not even a statement that switches the session back first gets through.
    EXPECT_EQ(openQuery(report, database, QStringLiteral("SELECT set_config('default_transaction_read_only', "
                                                         "'off', false)")),
              QString());
    const QString refused = openQuery(report, database, QStringLiteral("DELETE FROM customers"));
    EXPECT_TRUE(refused.contains(QStringLiteral("read-only transaction"))) << refused.toStdString();
    EXPECT_EQ(openQuery(report, database, count), QString()) << "the connection reads after a refusal";
    EXPECT_EQ(connect({count}), 3);

    database->Disconnect();
    database->OpenMode = omReadWrite;
    EXPECT_EQ(openQuery(report, database, QStringLiteral("DELETE FROM customers WHERE id = 1")), QString());
    database->Disconnect();
    EXPECT_EQ(connect({count}), 2);
}
