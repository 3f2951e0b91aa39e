// Inputs that made the template fuzzer (fuzz/) crash, hang or leak, loaded the
// way it loads them: beside the parent templates of fuzz/parents, saved, and
// the saved text loaded again. Under the sanitizer build this also catches
// leaks; the expectations below catch the faults in any build.
#include "base/variant/zelformatsettings.h"
#include "fuzz/loadedtemplate.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Expectation
{
    const char *file;
    const char *error; ///< part of a collected error; nullptr when loading may succeed
    const char *keeps; ///< an object that must still be in the tree; nullptr when none
    const char *saves; ///< part of the saved text; nullptr when none
};

// Files not listed need only load and save without a fault.
const Expectation expectations[] = {
    // An inherited element nested in its own object tore it out of the tree.
    {"inherited-inside-itself.zt3", "Circular child reference", "Memo1", nullptr},
    // A font size whose height overflowed was negated as INT_MIN.
    {"font-size-overflow.zt3", nullptr, "M", "Font.Height=\"-2147483647\""},
    // A data set position out of the int range was cast to int for its stream.
    {"dialog-position-overflow.zt3", nullptr, "U", "PropData=\"05704C65667404FFFFFF7F0470546F700400000080\""},
    // A page with 2^31 - 1 columns laid out every one of them.
    {"page-columns-huge.zt3", "Invalid property value", "Page1", nullptr},
};

class FuzzRegressions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = zelFormatSettings();
        TzelFormatSettings s = saved;
        s.DecimalSeparator = u'.';
        zelSetFormatSettings(s);
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(zelfuzz::copyParents(zelSourcePath(QStringLiteral("fuzz/parents")), dir.path()));
    }
    void TearDown() override { zelSetFormatSettings(saved); }

    QTemporaryDir dir;
    TzelFormatSettings saved;
    FakeDialogService dialogs;
};

} // namespace

TEST_F(FuzzRegressions, EveryInputLoadsAndSavesAgain)
{
    const QDir folder(zelSourcePath(QStringLiteral("tests/model/fuzz_regressions")));
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << qPrintable(folder.path());
    for (const Expectation &e : expectations)
        EXPECT_TRUE(files.contains(QString::fromLatin1(e.file))) << e.file << " is listed but missing";

    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray input = zelReadFile(folder.filePath(name));
        // An input naming a parent may name itself; every input goes the
        // fuzzer's round, and the first load is kept to look at.
        const QString self = dir.filePath(QStringLiteral("input.zt3"));
        ASSERT_TRUE(zelfuzz::placeSelf(input, self));
        zelfuzz::LoadedTemplate first(input, self);
        const QByteArray saved = first.Save();
        zelfuzz::LoadedTemplate(saved, self).Save();
        const TzelReport &report = first.Report;

        for (const Expectation &e : expectations) {
            if (name != QLatin1StringView(e.file))
                continue;
            if (e.error) {
                EXPECT_TRUE(report.Errors().Text().contains(QLatin1StringView(e.error)))
                    << qPrintable(report.ErrorsText());
            }
            if (e.keeps) {
                EXPECT_NE(report.FindObject(QString::fromLatin1(e.keeps)), nullptr) << e.keeps;
            }
            if (e.saves) {
                EXPECT_TRUE(saved.contains(e.saves)) << saved.toStdString();
            }
        }
    }
}
