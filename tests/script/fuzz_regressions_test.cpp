// Inputs that made the script fuzzer (fuzz/) crash, hang or overflow, parsed
// the way it parses them: the first byte picks the language. Under the
// sanitizer build this also catches leaks; the expectations below catch the
// faults in any build.
#include "fuzz/parsedscript.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Expectation
{
    const char *File;
    const char *Error; ///< the error reported; nullptr when the input parses
};

// Files not listed need only parse or fail without a fault.
const Expectation kExpectations[] = {
    // "#language" naming an unknown language escaped the parser as an exception.
    {"language-not-found.bin", "1:11: Language 'BScript' not found"},
    // A unit named by an empty string was taken for a plain tag at position 0.
    {"unit-named-empty.bin", nullptr},
    // Nested too deeply: the walks with and without shortcuts stopped at different brackets.
    {"nested-brackets.bin", "3:55: The script is nested too deeply"},
    // Nested too deeply without shortcuts; with them the walk once reached the text's own error.
    {"nested-braces.bin", "1:82: The script is nested too deeply"},
};

} // namespace

TEST(ScriptFuzzRegressions, EveryInputParsesOrFailsCleanly)
{
    const QDir folder(zelSourcePath(QStringLiteral("tests/script/fuzz_regressions")));
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << qPrintable(folder.path());
    for (const QString &name : files) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
        const zelfuzz::ParsedScript parsed = zelfuzz::parseScript(file.readAll());
        EXPECT_FALSE(parsed.Parsed && !parsed.Error.isEmpty()) << qPrintable(name) << ": " << qPrintable(parsed.Error);
        for (const Expectation &e : kExpectations)
            if (name == QLatin1String(e.File)) {
                if (e.Error)
                    EXPECT_EQ(parsed.Error.toStdString(), e.Error) << qPrintable(name);
                else
                    EXPECT_TRUE(parsed.Parsed) << qPrintable(name) << ": " << qPrintable(parsed.Error);
            }
    }
}
