// Memory of a process that loads templates over and over, as the template
// fuzzer and a long-running host do: each round takes a seed template of
// fuzz/corpus, damages it at random (bytes changed, cut out, and dictionary
// words of fuzz/template.dict put in) and gives it the fuzzer's round: load,
// save, load the saved text and save again. Prints the resident memory every tenth of the rounds; a
// process-wide list or cache that grows per load shows as a rising column.
//
//   bench_reload_bench [--rounds N] [--seed S]
#include "fuzz/loadedtemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {

long residentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}


} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 100000;
    unsigned seed = 1;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1StringView("--rounds"))
            rounds = std::max(10, args[i + 1].toInt());
        else if (args[i] == QLatin1StringView("--seed"))
            seed = args[i + 1].toUInt();
    }

    const QDir source(QStringLiteral(ZEL_SOURCE_DIR));
    QList<QByteArray> seeds;
    const QDir corpus(source.filePath(QStringLiteral("fuzz/corpus")));
    for (const QString &name : corpus.entryList(QDir::Files))
        seeds << readFile(corpus.filePath(name));
    QList<QByteArray> words;
    for (const QByteArray &line : readFile(source.filePath(QStringLiteral("fuzz/template.dict"))).split('\n'))
        if (const qsizetype q = line.indexOf('"'); q >= 0)
            words << line.mid(q + 1, line.lastIndexOf('"') - q - 1).replace("\\\"", "\"");
    if (seeds.isEmpty() || words.isEmpty()) {
        std::fprintf(stderr, "no seeds or dictionary below %s\n", ZEL_SOURCE_DIR);
        return 1;
    }
    // Inputs may name the parent templates of fuzz/parents, or themselves.
    QTemporaryDir folder;
    zelfuzz::copyParents(source.filePath(QStringLiteral("fuzz/parents")), folder.path());
    const QString self = folder.filePath(QStringLiteral("input.zt3"));

    std::mt19937 random(seed);
    auto pick = [&random](qsizetype n) { return qsizetype(random() % quint32(std::max<qsizetype>(n, 1))); };
    std::printf("round  resident KB\n");
    for (int round = 0; round <= rounds; ++round) {
        QByteArray data = seeds[pick(seeds.size())];
        for (int m = 1 + int(pick(8)); m > 0; --m) {
            const qsizetype at = pick(data.size());
            switch (pick(3)) {
            case 0:
                if (!data.isEmpty())
                    data[at] = char(random());
                break;
            case 1:
                data.insert(at, words[pick(words.size())]);
                break;
            default:
                data.remove(at, 1 + pick(16));
                break;
            }
        }
        zelfuzz::placeSelf(data, self);
        zelfuzz::roundTrip(data, self);
        if (round % (rounds / 10) == 0)
            std::printf("%6d %12ld\n", round, residentKb());
    }
    return 0;
}
