// Feeds arbitrary bytes to template loading. Whatever was loaded is saved and
// the saved text loaded again: no step may crash, hang, leak or run into
// undefined behaviour, whatever the input.
//
// Inputs may name parent templates: those of fuzz/parents (a valid one with
// objects, a chain, one that inherits itself, a loop, a broken one) are copied
// into a temporary folder beside the input, and an input that mentions
// ParentReport is written there as "input.zt3" so that it can inherit from
// itself. The fuzz regression test loads its files the same way.
//
// ZEL_FUZZ_PRINT=1 prints the errors and the saved text of each input, to see
// what a crash input or a seed turns into.
#include "fuzzsupport.h"
#include "model/report/zelreport.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

QTemporaryDir *folder = nullptr;
QString inputPath;
bool printSaved = false;

[[noreturn]] void fail(const char *what, const QString &path)
{
    zelfuzz::fail("template_fuzzer", what, path);
}

// A report as a host holds it, loading Data from a stream.
struct Loaded
{
    explicit Loaded(QByteArray data) : Data(std::move(data))
    {
        Report.EngineOptions().NewSilentMode = simSilent;
        Report.SetFileName(inputPath);
        QBuffer buffer(&Data);
        buffer.open(QIODevice::ReadOnly);
        Report.LoadFromStream(&buffer);
    }

    QByteArray Save()
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        Report.SaveToStream(&out);
        return out.data();
    }

    QByteArray Data;
    TzelReport Report;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    zelfuzz::setUp();
    printSaved = zelfuzz::printRequested();
    folder = new QTemporaryDir;
    if (!folder->isValid())
        fail("cannot create", folder->path());
    inputPath = folder->filePath(QStringLiteral("input.zt3"));
    const QDir parents(QStringLiteral(ZEL_FUZZ_PARENTS));
    const QStringList names = parents.entryList(QDir::Files);
    if (names.isEmpty())
        fail("no parent templates in", parents.path());
    for (const QString &name : names)
        if (!QFile::copy(parents.filePath(name), folder->filePath(name)))
            fail("cannot copy", parents.filePath(name));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (input.contains("ParentReport")) {
        QFile file(inputPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(input) != input.size())
            fail("cannot write", inputPath);
    } else {
        QFile::remove(inputPath);
    }

    Loaded first(input);
    const QByteArray saved = first.Save();
    if (printSaved)
        std::fprintf(stderr, "errors: %s\nsaved:\n%s\n", qPrintable(first.Report.Errors().Text()), saved.constData());
    Loaded second(saved);
    second.Save();
    return 0;
}
