// Feeds arbitrary bytes to the script parser in each language (the first byte
// picks it): no input may crash, hang, leak or overflow the stack, and every
// program tree built must read back unchanged and compile to a program or
// to an error (programs are not run: an endless loop is a valid program).
//
// ZEL_FUZZ_PRINT=1 prints each input's error or tree.
#include "fuzzsupport.h"
#include "parsedscript.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool printTrees = false;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    zelfuzz::setUp();
    printTrees = zelfuzz::printRequested();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const zelfuzz::ParsedScript parsed = zelfuzz::parseScript(input);
    if (printTrees)
        std::fprintf(stderr, "%s\n%s\n%s\n", qPrintable(parsed.Error), parsed.Tree.constData(),
                     qPrintable(parsed.CompileError));
    if (parsed.Parsed && !parsed.Error.isEmpty()) {
        std::fprintf(stderr, "script_fuzzer: %s\n", qPrintable(parsed.Error));
        std::abort();
    }
    return 0;
}
