// Feeds arbitrary bytes to prepared-report loading, once read whole and once
// with partial loading (pages read on demand). Each time the pages are
// rebuilt, measured and their outline walked as a preview would (see
// loadedpages.h), saved, and the saved bytes loaded and walked again. No step
// may crash, hang, leak or run into undefined behaviour, and saving must not
// lose pages.
//
// ZEL_FUZZ_PRINT=1 prints the errors and the saved text of each input, to see
// what a crash input or a seed turns into.
#include "fuzzsupport.h"
#include "loadedpages.h"
#include "model/report/zelmodelclasses.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

bool printSaved = false;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    zelfuzz::setUp();
    zelRegisterModelClasses();
    printSaved = zelfuzz::printRequested();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const bool partial : {false, true}) {
        zelfuzz::LoadedPages first(input, partial);
        first.Walk();
        const QByteArray saved = first.Save();
        if (printSaved)
            std::fprintf(stderr, "partial: %d, pages: %d\nerrors: %s\nsaved:\n%s\n", int(partial),
                         first.Pages().Count(), qPrintable(first.Report().Errors().Text()), saved.constData());
        zelfuzz::LoadedPages second(saved, partial);
        second.Walk();
        if (second.Pages().Count() != first.Pages().Count())
            zelfuzz::fail("prepared_fuzzer", "saving changed the page count:",
                          QStringLiteral("%1 -> %2").arg(first.Pages().Count()).arg(second.Pages().Count()));
        second.Save();
    }
    return 0;
}
