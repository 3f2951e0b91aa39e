#include "model/report/zelreport.h"
#include "model/sql/zelsqlclasses.h"
#include "model/sql/zelsqldatabase.h"
#include "model/sql/zelsqlquery.h"
#include "support/testsupport.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString sampleDb = QStringLiteral(ZEL_SAMPLE_DB);

// A template with the sample database and one query named Query.
QString writeTemplate(const QTemporaryDir &dir, const QString &databaseName, const QString &sql)
{
    TzelReport report;
    auto *db = new TzelSQLDatabase(&report);
    db->SetName(QStringLiteral("Sample"));
    db->SetDatabaseName(databaseName);
    auto *query = new TzelSQLQuery(&report);
    query->SetName(QStringLiteral("Query"));
    query->SetDatabase(db);
    query->SQL = QStringList{sql};
    const QString path = dir.filePath(QStringLiteral("sample.zt3"));
    report.SaveToFile(path);
    return path;
}

} // namespace

TEST(SampleDatabase, IsTheSameOnEveryBuildAndHoldsEveryKindOfValue)
{
    QTemporaryDir dir;
    const QString again = dir.filePath(QStringLiteral("again.sqlite"));
    QProcess make;
    make.start(zelProgramPath(QStringLiteral("zelmakesample")), {again});
    ASSERT_TRUE(make.waitForFinished(30000));
    ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();
    EXPECT_EQ(zelReadFile(again), zelReadFile(sampleDb));

    zelRegisterSqlClasses();
    TzelReport report;
    TzelSQLDatabase db(&report);
    db.SetDatabaseName(sampleDb);
    TzelSQLQuery query(&report);
    query.SetDatabase(&db);
    query.SQL = QStringList{QStringLiteral(
        "SELECT c.name, o.order_date, o.shipped_date, SUM(l.quantity * l.unit_price * (1 - l.discount)) AS total "
        "FROM orders o JOIN customers c ON c.id = o.customer_id JOIN order_lines l ON l.order_id = o.id "
        "GROUP BY o.id ORDER BY o.id")};
    EXPECT_EQ(query.RecordCount(), 320);
    QStringList names;
    int unshipped = 0;
    double sum = 0;
    for (query.First(); !query.Eof(); query.Next()) {
        names << query.GetValue(QStringLiteral("name")).ToString();
        unshipped += query.GetValue(QStringLiteral("shipped_date")).IsNull() ? 1 : 0;
        sum += query.GetValue(QStringLiteral("total")).ToDouble();
        EXPECT_EQ(query.GetValue(QStringLiteral("order_date")).ToString().size(), 10); // ISO dates
    }
    EXPECT_EQ(names.size(), 320);
    EXPECT_GT(unshipped, 0);
    EXPECT_GT(sum, 0);
    const QString all = names.join(u'\n');
    for (const char *name : {"Łódzkie Smaki", "Гастроном Москва", "東京商事", "Ñandú Importaciones"}) {
        query.SQL = QStringList{QStringLiteral("SELECT id FROM customers WHERE name = :name")};
        query.Params = QStringList{QStringLiteral("name='%1'").arg(QString::fromUtf8(name))};
        query.Close();
        query.First();
        EXPECT_FALSE(query.Eof()) << name;
    }
}

TEST(SampleDatabase, TheCommandLineToolPrintsAQuery)
{
    QTemporaryDir dir;
    const QString path = writeTemplate(
        dir, sampleDb, QStringLiteral("SELECT id, name, price FROM products WHERE id IN (36, 40) ORDER BY id"));
    const ZelToolRun run = zelreport({QStringLiteral("data"), path, QStringLiteral("Query"), QStringLiteral("--db-user"),
                               QStringLiteral("reader"), QStringLiteral("--db-password"), QStringLiteral("x")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("id\tname\tprice\n36\tCôte de Blaye\t263.5\n40\tPâté chinois\t24\n"));

    const QString missing = dir.filePath(QStringLiteral("gone.sqlite"));
    const ZelToolRun broken = zelreport({QStringLiteral("data"), writeTemplate(dir, missing, QStringLiteral("SELECT 1")),
                                  QStringLiteral("Query")});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err, QStringLiteral("zelreport: Database file \"%1\" does not exist\n").arg(missing));
}

TEST(SampleDatabase, TheShippedSampleTemplateReadsIt)
{
    const QString sample = QFileInfo(QStringLiteral(ZEL_SAMPLE_DB)).dir().filePath(QStringLiteral("sample.zt3"));
    ZelToolRun run = zelreport({QStringLiteral("data"), sample, QStringLiteral("Orders")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("id\tcustomer\torder_date\n10248\tMøller & Søn\t2019-01-01\n")))
        << run.out.left(200).toStdString();

    run = zelreport({QStringLiteral("data"), sample, QStringLiteral("Nope")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, QStringLiteral("zelreport: Dataset \"Nope\" does not exist; the template has Customers, Orders\n"));
}
