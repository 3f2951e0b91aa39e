#include "base/core/zelexception.h"
#include "model/report/zelreport.h"
#include "model/sql/zelsqlclasses.h"
#include "model/sql/zelsqldatabase.h"
#include "model/sql/zelsqlquery.h"
#include "support/testsupport.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// Runs statements on a SQLite file through Qt directly, apart from the classes under test.
void runSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery q(db);
        for (const QString &sql : statements)
            ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString() << " in " << sql.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
}

class SqlQuery : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zelRegisterSqlClasses();
        path = dir.filePath(QStringLiteral("people.sqlite"));
        runSql(path, {
            "CREATE TABLE people (id INTEGER, name TEXT, amount REAL, member BOOLEAN, photo BLOB)",
            "INSERT INTO people VALUES (1, 'Müller', 12.5, 1, x'89504E47')",
            "INSERT INTO people VALUES (2, 'O''Brien', NULL, 0, NULL)",
            "INSERT INTO people VALUES (3, 'Łukasiewicz', 3000000000, 1, NULL)",
        });
        database = new TzelSQLDatabase(&report);
        database->SetName(QStringLiteral("Db"));
        database->SetDatabaseName(path);
        query = new TzelSQLQuery(&report);
        query->SetName(QStringLiteral("People"));
        query->SetDatabase(database);
        query->SQL = QStringList{QStringLiteral("SELECT * FROM people"), QStringLiteral("ORDER BY id")};
    }

    // The ids of the rows from First to Eof (at most 10).
    QList<int> ids()
    {
        QList<int> seen;
        for (query->First(); !query->Eof() && seen.size() < 10; query->Next())
            seen << query->GetValue(QStringLiteral("id")).ToInt();
        return seen;
    }

    QString error(const std::function<void()> &action)
    {
        try {
            action();
        } catch (const TzelException &e) {
            return e.message();
        }
        return QStringLiteral("no error");
    }

    QTemporaryDir dir;
    QString path;
    TzelReport report;
    TzelSQLDatabase *database = nullptr;
    TzelSQLQuery *query = nullptr;
};

} // namespace

TEST_F(SqlQuery, RowsComeAsVariantsOfTheirColumnsTypes)
{
    query->FieldAliases = QStringList{QStringLiteral("name=Customer")};
    QStringList fields;
    query->GetFieldList(fields);
    EXPECT_EQ(fields, (QStringList{"id", "Customer", "amount", "member", "photo"}));
    EXPECT_EQ(query->FieldsCount(), 5);
    EXPECT_TRUE(database->Connected());

    query->First();
    EXPECT_EQ(query->GetValue(QStringLiteral("ID")).VarType(), varInteger);
    EXPECT_EQ(query->GetValue(QStringLiteral("Customer")).ToString(), QStringLiteral("Müller"));
    EXPECT_EQ(query->GetValue(QStringLiteral("name")).ToString(), QStringLiteral("Müller"));
    EXPECT_EQ(query->GetValue(QStringLiteral("amount")).ToDouble(), 12.5);
    EXPECT_EQ(query->GetFieldType(QStringLiteral("amount")), fftNumeric);
    EXPECT_EQ(query->GetFieldType(QStringLiteral("Customer")), fftString);
    EXPECT_EQ(query->GetFieldType(QStringLiteral("member")), fftBoolean);
    EXPECT_TRUE(query->IsBlobField(QStringLiteral("photo")));
    EXPECT_FALSE(query->IsBlobField(QStringLiteral("Customer")));
    QByteArray blob;
    query->AssignBlobTo(QStringLiteral("photo"), blob);
    EXPECT_EQ(blob, QByteArray("\x89PNG"));

    query->Next();
    EXPECT_TRUE(query->GetValue(QStringLiteral("amount")).IsNull());
    EXPECT_EQ(query->GetDisplayText(QStringLiteral("amount")), QString());
    EXPECT_EQ(query->GetDisplayText(QStringLiteral("Customer")), QStringLiteral("O'Brien"));
    query->Next();
    const Variant big = query->GetValue(QStringLiteral("amount"));
    EXPECT_EQ(big.ToInt64(), 3000000000LL);
    EXPECT_EQ(query->RecordCount(), 3);
    query->Next();
    EXPECT_TRUE(query->Eof());
    EXPECT_EQ(query->GetValue(QStringLiteral("id")).ToInt(), 3) << "past the end the last row stays";
}

TEST_F(SqlQuery, RangesPriorAndRewindingFollowTheDataSetRules)
{
    EXPECT_EQ(ids(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(ids(), (QList<int>{1, 2, 3})); // First runs the statement again

    query->RangeEnd = reCount;
    query->RangeEndCount = 2;
    EXPECT_EQ(ids(), (QList<int>{1, 2}));
    EXPECT_EQ(query->RecordCount(), 2);

    // The current row when the range starts: from it, or up to it.
    query->RangeEnd = reLast;
    query->First();
    query->Next();
    query->RangeBegin = rbCurrent;
    query->RangeEnd = reCurrent;
    EXPECT_EQ(ids(), QList<int>{2});
    query->Close();
    query->RangeBegin = rbFirst;
    query->RangeEnd = reLast;
    query->First();
    query->Next();
    query->Next();
    query->RangeEnd = reCurrent;
    EXPECT_EQ(ids(), (QList<int>{1, 2, 3}));

    query->RangeEnd = reLast;
    query->First();
    query->Next();
    query->Next();
    query->Prior();
    EXPECT_EQ(query->GetValue(QStringLiteral("id")).ToInt(), 2);
    query->Next();
    query->Next();
    ASSERT_TRUE(query->Eof());
    query->Prior();
    EXPECT_FALSE(query->Eof());
    EXPECT_EQ(query->GetValue(QStringLiteral("id")).ToInt(), 3);
    query->Prior();
    query->Prior();
    EXPECT_EQ(query->GetValue(QStringLiteral("id")).ToInt(), 1);
    query->Next();
    EXPECT_EQ(query->GetValue(QStringLiteral("id")).ToInt(), 2);

    // One step back shows the row read before, without running the
    // statement again (which would draw new random numbers).
    query->Close();
    query->SQL = QStringList{QStringLiteral("SELECT id, random() AS r FROM people ORDER BY id")};
    query->First();
    const Variant first = query->GetValue(QStringLiteral("r"));
    query->Next();
    query->Prior();
    EXPECT_TRUE(Variant::Identical(query->GetValue(QStringLiteral("r")), first));
}

TEST_F(SqlQuery, AReportOpensItsQueriesAndClosesThemWhenAsked)
{
    report.DataSets().Add(query);
    report.DataSets().Initialize();
    EXPECT_TRUE(query->Active());
    EXPECT_EQ(query->ReportRef, &report);
    report.DataSets().Finalize();
    EXPECT_TRUE(query->Active()); // CloseDataSource is off by default
    query->CloseDataSource = true;
    report.DataSets().Finalize();
    EXPECT_FALSE(query->Active());

    query->OpenDataSource = false;
    report.DataSets().Initialize();
    EXPECT_FALSE(query->Active());
}

TEST_F(SqlQuery, ParametersAreTypedByHowTheyAreWritten)
{
    query->SQL = QStringList{QStringLiteral("SELECT id FROM people WHERE id >= :low AND name <> :skip")};
    query->Params = QStringList{QStringLiteral("low=2"), QStringLiteral("skip='O''Brien'"), QStringLiteral("other=5")};
    EXPECT_EQ(ids(), QList<int>{3});
    EXPECT_EQ(query->RecordCount(), 1);
}

TEST_F(SqlQuery, ProblemsAreErrorsNamingTheDatabaseOrStatement)
{
    query->SQL = QStringList{QStringLiteral("SELECT id FROM nowhere")};
    const QString message = error([&] { query->Open(); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("Query \"People\" failed: no such table: nowhere")))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral(". Statement: SELECT id FROM nowhere"))) << message.toStdString();
    EXPECT_FALSE(query->Active());
    EXPECT_TRUE(query->Eof());

    query->SQL = QStringList{QStringLiteral("SELECT id FROM people")};
    EXPECT_EQ(error([&] { query->GetValue(QStringLiteral("missing")); }),
              QStringLiteral("Field \"missing\" not found in data set \"People\""));

    const QString missing = dir.filePath(QStringLiteral("missing.sqlite"));
    database->SetDatabaseName(missing);
    EXPECT_FALSE(query->Active()); // a new database closes the queries on it
    EXPECT_EQ(error([&] { query->Open(); }), QStringLiteral("Database file \"%1\" does not exist").arg(missing));
    EXPECT_FALSE(QFileInfo::exists(missing)); // SQLite was not let to create it

    database->Driver = QStringLiteral("QNOSUCHDRIVER");
    EXPECT_EQ(error([&] { database->SetConnected(true); }),
              QStringLiteral("Database driver \"QNOSUCHDRIVER\" is not available"));

    database->Driver = QStringLiteral("QSQLITE");
    database->SetDatabaseName(path);
    EXPECT_EQ(ids(), (QList<int>{1, 2, 3})); // everything works again once fixed

    delete database;
    EXPECT_EQ(query->Database(), nullptr);
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(error([&] { query->First(); }), QStringLiteral("Query \"People\" has no database"));
}

TEST_F(SqlQuery, ATemplateLoadsAndSavesWithoutTouchingItsDatabase)
{
    FakeDialogService dialogs;
    const QString templatePath = dir.filePath(QStringLiteral("people.zt3"));
    report.SetFileName(templatePath); // a relative database lies beside the template
    database->SetDatabaseName(QStringLiteral("people.sqlite"));
    database->SetParams(QStringList{QStringLiteral("QSQLITE_BUSY_TIMEOUT=100")});
    database->SetConnected(true);
    query->FieldAliases = QStringList{QStringLiteral("name=Customer")};
    query->Params = QStringList{QStringLiteral("low=1")};
    report.SaveToFile(templatePath);
    const QByteArray text = zelReadFile(templatePath);
    EXPECT_TRUE(text.contains("<TzelSQLDatabase Name=\"Db\" DatabaseName=\"people.sqlite\" "
                              "Params.Text=\"QSQLITE_BUSY_TIMEOUT=100\" Connected=\"True\" Driver=\"QSQLITE\" PropData="))
        << text.toStdString();
    EXPECT_TRUE(text.contains("<TzelSQLQuery Name=\"People\" UserName=\"People\" CloseDataSource=\"False\" "
                              "FieldAliases.Text=\"name=Customer\" Database=\"Db\" "
                              "SQL.Text=\"SELECT * FROM people&#13;&#10;ORDER BY id\" Params.Text=\"low=1\" PropData="))
        << text.toStdString();

    // Loading never connects, so a template whose database is gone still loads and saves.
    QFile::rename(path, path + QStringLiteral(".away"));
    TzelReport copy;
    ASSERT_TRUE(copy.LoadFromFile(templatePath));
    EXPECT_TRUE(copy.Errors().IsEmpty()) << copy.ErrorsText().toStdString();
    auto *loadedQuery = dynamic_cast<TzelSQLQuery *>(copy.FindObject(QStringLiteral("People")));
    ASSERT_NE(loadedQuery, nullptr);
    ASSERT_NE(loadedQuery->Database(), nullptr);
    EXPECT_TRUE(loadedQuery->Database()->Connected());
    // The load put both on a data page; what they store is unchanged.
    const QString resaved = dir.filePath(QStringLiteral("resaved.zt3"));
    copy.SaveToFile(resaved);
    const QByteArray again = zelReadFile(resaved);
    for (const char *element : {"<TzelSQLDatabase ", "<TzelSQLQuery "}) {
        const qsizetype before = text.indexOf(element), after = again.indexOf(element);
        ASSERT_TRUE(before >= 0 && after >= 0) << element;
        EXPECT_EQ(again.mid(after, again.indexOf("PropData", after) - after),
                  text.mid(before, text.indexOf("PropData", before) - before));
    }
    EXPECT_EQ(error([&] { loadedQuery->First(); }),
              QStringLiteral("Database file \"%1\" does not exist").arg(dir.filePath(QStringLiteral("people.sqlite"))));

    QFile::rename(path + QStringLiteral(".away"), path);
    loadedQuery->First();
    EXPECT_EQ(loadedQuery->GetValue(QStringLiteral("Customer")).ToString(), QStringLiteral("Müller"));
}

TEST_F(SqlQuery, TheLoginComesFromTheHostAndNeverIntoTheSettingsText)
{
    database->Driver = QStringLiteral("QPSQL");
    database->HostName = QStringLiteral("db.example.com");
    database->Port = 5433;
    database->UserName = QStringLiteral("stored");
    database->Password = QStringLiteral("secret");
    database->SetLogin(QStringLiteral("runtime"), QStringLiteral("other secret"));
    const QString text = database->ToString();
    EXPECT_EQ(text, QStringLiteral("Driver=QPSQL;DatabaseName=%1;HostName=db.example.com;Port=5433;UserName=stored").arg(path));
    TzelSQLDatabase copy;
    copy.FromString(text);
    EXPECT_EQ(copy.ToString(), text);
    EXPECT_EQ(copy.Password, QString());
}
