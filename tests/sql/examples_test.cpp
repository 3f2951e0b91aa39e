#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

// The sample reports of examples/, built by the command-line tool beside a
// copy of the sample database: their rows, groups, totals and pages.

namespace {

struct BuiltExample
{
    int Pages = 0;
    QMultiMap<QString, QString> Texts; // memo name -> texts, in page order
    QStringList Values(const QString &memo) const
    {
        QStringList values = Texts.values(memo);
        std::reverse(values.begin(), values.end());
        return values;
    }
};

// Copies the example Name and Database into a fresh folder and prints its
// build with "zelreport text".
BuiltExample build(const QTemporaryDir &dir, const QString &name, const QString &database, const QString &dbName)
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(zelSourcePath(QStringLiteral("examples/") + name), path));
    if (!database.isEmpty() && !QFile::exists(dir.filePath(dbName))) {
        EXPECT_TRUE(QFile::copy(database, dir.filePath(dbName)));
    }
    const ZelToolRun run = zelreport({QStringLiteral("text"), path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    BuiltExample built;
    static const QRegularExpression memo(QStringLiteral(R"re(^\s+TzelMemoView (\w+) [-\d. ]+ "(.*)"$)re"));
    for (const QString &line : run.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("page ")))
            ++built.Pages;
        else if (const QRegularExpressionMatch m = memo.match(line); m.hasMatch())
            built.Texts.insert(m.captured(1), m.captured(2));
    }
    return built;
}

const QString sampleDb = QStringLiteral(ZEL_SAMPLE_DB);

} // namespace

TEST(Examples, CustomerOrdersGroupsOrdersWithTheirSums)
{
    QTemporaryDir dir;
    const BuiltExample r = build(dir, QStringLiteral("customer-orders.zt3"), sampleDb, QStringLiteral("sample.sqlite"));
    EXPECT_EQ(r.Values(QStringLiteral("CustomerName")).size(), 63) << "one customer has no orders";
    EXPECT_EQ(r.Values(QStringLiteral("OrderId")).size(), 320);
    EXPECT_EQ(r.Values(QStringLiteral("CustomerTotal")).mid(0, 3),
              (QStringList{QStringLiteral("5 orders, total 18415.85"), QStringLiteral("6 orders, total 32761.56"),
                           QStringLiteral("2 orders, total 6471.49")}));
    EXPECT_EQ(r.Values(QStringLiteral("GrandTotal")), QStringList{QStringLiteral("320 orders, grand total 1011734.05")});
    EXPECT_EQ(r.Values(QStringLiteral("PageNumber")).size(), r.Pages);
    EXPECT_EQ(r.Values(QStringLiteral("PageNumber")).last(), QStringLiteral("Page %1").arg(r.Pages));
}

TEST(Examples, InvoicePrintsEachOrderWithItsLinesOnItsOwnPage)
{
    QTemporaryDir dir;
    const BuiltExample r = build(dir, QStringLiteral("invoice.zt3"), sampleDb, QStringLiteral("sample.sqlite"));
    EXPECT_EQ(r.Pages, 10);
    EXPECT_EQ(r.Values(QStringLiteral("InvoiceNumber")).first(), QStringLiteral("No. 10248"));
    EXPECT_EQ(r.Values(QStringLiteral("InvoiceTotal")).first(), QStringLiteral("Total: 4112.50"));
    EXPECT_EQ(r.Values(QStringLiteral("LineProduct")).size(), 41) << "every line of the ten orders once";
    // The first order has five lines; the next one counts from 1 again.
    EXPECT_EQ(r.Values(QStringLiteral("LineNo")).mid(3, 4),
              (QStringList{QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("2")}));
}

TEST(Examples, LabelsFillThreeColumnsPerRow)
{
    QTemporaryDir dir;
    const BuiltExample r = build(dir, QStringLiteral("labels.zt3"), sampleDb, QStringLiteral("sample.sqlite"));
    EXPECT_EQ(r.Values(QStringLiteral("LabelName")).size(), 64);
    EXPECT_EQ(r.Pages, 4); // seven rows of three labels a page
    EXPECT_EQ(r.Values(QStringLiteral("LabelCountry")).first(), QStringLiteral("ARGENTINA"));
}

TEST(Examples, TestTemplateBuildsItsRowsAndTotal)
{
    QTemporaryDir dir;
    const BuiltExample r = build(dir, QStringLiteral("test.zt3"), {}, {});
    EXPECT_EQ(r.Values(QStringLiteral("DataAmount")),
              (QStringList{QStringLiteral("12.5"), QStringLiteral("25"), QStringLiteral("37.5"), QStringLiteral("50"),
                           QStringLiteral("62.5")}));
    EXPECT_EQ(r.Values(QStringLiteral("Total")), QStringList{QStringLiteral("Total 187.50")});
}

TEST(Examples, BenchmarkReportSumsEveryGroup)
{
    // 250 rows in groups of 100, as the benchmark's generator lays them out.
    QTemporaryDir dir;
    const QString dbPath = dir.filePath(QStringLiteral("bench.sqlite"));
    QStringList groupTotals;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(dbPath);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE items(grp TEXT, name TEXT, amount REAL)")));
        db.transaction();
        qint64 cents = 0;
        for (int i = 0; i < 250; ++i) {
            const int amount = (i * 7919) % 100000 + 1;
            cents += amount;
            q.prepare(QStringLiteral("INSERT INTO items VALUES (?, ?, ?)"));
            q.addBindValue(QStringLiteral("Group %1").arg(i / 100, 4, 10, QLatin1Char('0')));
            q.addBindValue(QStringLiteral("Item %1").arg(i, 6, 10, QLatin1Char('0')));
            q.addBindValue(amount / 100.0);
            ASSERT_TRUE(q.exec());
            if (i % 100 == 99 || i == 249) {
                groupTotals << QStringLiteral("Group Group %1 total: %2.%3")
                                   .arg(i / 100, 4, 10, QLatin1Char('0'))
                                   .arg(cents / 100)
                                   .arg(cents % 100, 2, 10, QLatin1Char('0'));
                cents = 0;
            }
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    const BuiltExample r = build(dir, QStringLiteral("bench-grouped.zt3"), {}, {});
    EXPECT_EQ(r.Values(QStringLiteral("ItemName")).size(), 250);
    EXPECT_EQ(r.Values(QStringLiteral("GroupName")),
              (QStringList{QStringLiteral("Group: Group 0000"), QStringLiteral("Group: Group 0001"),
                           QStringLiteral("Group: Group 0002")}));
    EXPECT_EQ(r.Values(QStringLiteral("GroupTotal")), groupTotals);
    EXPECT_EQ(r.Values(QStringLiteral("PageNumber")).size(), r.Pages);
}
