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
#include "loadedtemplate.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

QTemporaryDir *folder = nullptr;
QString inputPath;
bool printSaved = false;

[[noreturn]] void fail(const char *what, const QString &path)
{
    zelfuzz::fail("template_fuzzer", what, path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    zelfuzz::setUp();
    printSaved = zelfuzz::printRequested();
    folder = new QTemporaryDir;
    if (!folder->isValid())
        fail("cannot create", folder->path());
    inputPath = folder->filePath(QStringLiteral("input.zt3"));
    if (!zelfuzz::copyParents(QStringLiteral(ZEL_FUZZ_PARENTS), folder->path()))
        fail("cannot copy the parent templates of", QStringLiteral(ZEL_FUZZ_PARENTS));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!zelfuzz::placeSelf(input, inputPath))
        fail("cannot write", inputPath);
    QString errors;
    const QByteArray saved = zelfuzz::roundTrip(input, inputPath, &errors);
    if (printSaved)
        std::fprintf(stderr, "errors: %s\nsaved:\n%s\n", qPrintable(errors), saved.constData());
    return 0;
}
