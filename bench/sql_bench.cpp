// Rows of a SQLite query read through the query data set (three fields per
// row as variants, by field name) beside a bare QSqlQuery loop over the same
// statement in the same run. Both report rows/s; the program ends with the
// ratio of the two, whose goal is at most 1.5.
#include "model/report/zelreport.h"
#include "model/sql/zelsqldatabase.h"
#include "model/sql/zelsqlquery.h"

#include <benchmark/benchmark.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int rowCount = 1000000;

double threadCpuNs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}
const QString statement = QStringLiteral("SELECT id, name, amount FROM t");

// CPU nanoseconds per row of the fastest run of each loop, for the closing
// ratio: CPU time, like the rows/s counters, and the best run, so that other
// work on the machine tilts the ratio as little as possible.
double bareNsPerRow = 0;
double dataSetNsPerRow = 0;

void keepBest(double &best, double startNs, int rows)
{
    const double perRow = (threadCpuNs() - startNs) / rows;
    if (best == 0 || perRow < best)
        best = perRow;
}


// The database file, made once for the whole run.
const QString &databaseFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("bench.sqlite"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            db.setDatabaseName(file);
            if (!db.open()) {
                std::fprintf(stderr, "cannot create %s\n", qUtf8Printable(file));
                std::exit(1);
            }
            QSqlQuery q(db);
            const bool ok = q.exec(QStringLiteral("CREATE TABLE t (id INTEGER, name TEXT, amount REAL)"))
                            && q.exec(QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                                                     "WHERE x < %1) INSERT INTO t SELECT x, 'Customer ' || x, x * 0.25 "
                                                     "FROM c").arg(rowCount));
            if (!ok) {
                std::fprintf(stderr, "%s\n", qUtf8Printable(q.lastError().text()));
                std::exit(1);
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
        return file;
    }();
    return path;
}

void BM_BareQSqlQuery(benchmark::State &state)
{
    const QString file = databaseFile();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        db.setDatabaseName(file);
        db.open();
        for (auto _ : state) {
            const double start = threadCpuNs();
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(statement);
            int rows = 0;
            while (q.next()) {
                QVariant id = q.value(0);
                QVariant name = q.value(1);
                QVariant amount = q.value(2);
                benchmark::DoNotOptimize(id);
                benchmark::DoNotOptimize(name);
                benchmark::DoNotOptimize(amount);
                ++rows;
            }
            if (rows != rowCount)
                state.SkipWithError("wrong row count");
            keepBest(bareNsPerRow, start, rows);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));
    state.counters["rows/s"] = benchmark::Counter(double(rowCount) * double(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

void BM_ZelSQLQuery(benchmark::State &state)
{
    TzelReport report;
    TzelSQLDatabase db(&report);
    db.SetDatabaseName(databaseFile());
    TzelSQLQuery query(&report);
    query.SetDatabase(&db);
    query.SQL = QStringList{statement};
    const QString id = QStringLiteral("id"), name = QStringLiteral("name"), amount = QStringLiteral("amount");
    for (auto _ : state) {
        const double start = threadCpuNs();
        int rows = 0;
        for (query.First(); !query.Eof(); query.Next()) {
            Variant a = query.GetValue(id);
            Variant b = query.GetValue(name);
            Variant c = query.GetValue(amount);
            benchmark::DoNotOptimize(a);
            benchmark::DoNotOptimize(b);
            benchmark::DoNotOptimize(c);
            ++rows;
        }
        if (rows != rowCount)
            state.SkipWithError("wrong row count");
        keepBest(dataSetNsPerRow, start, rows);
    }
    state.counters["rows/s"] = benchmark::Counter(double(rowCount) * double(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_BareQSqlQuery)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ZelSQLQuery)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    databaseFile();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (bareNsPerRow > 0 && dataSetNsPerRow > 0)
        std::printf("best runs: bare QSqlQuery %.0f rows/s, TzelSQLQuery %.0f rows/s: %.2fx the bare loop "
                    "(goal: at most 1.50x)\n",
                    1e9 / bareNsPerRow, 1e9 / dataSetNsPerRow, dataSetNsPerRow / bareNsPerRow);
    return 0;
}
