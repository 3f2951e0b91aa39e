#include "base/core/zelexception.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray minimalTemplate =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
    "<TzelReport Version=\"1.0\" ScriptLanguage=\"PascalScript\"/>\r\n";

QString writeTemplate(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.filePath(name);
    zelWriteFile(path, data);
    return path;
}

} // namespace

TEST(ReportFacade, StartsWithTheDefaultsOfEveryOption)
{
    TzelReport report;
    EXPECT_EQ(report.Version(), QStringLiteral("6.9.6"));
    EXPECT_EQ(report.IniFile, QStringLiteral("\\Software\\Zelworks"));
    EXPECT_EQ(report.ScriptLanguage, QStringLiteral("PascalScript"));
    EXPECT_EQ(report.ScriptText, (QStringList{"begin", "", "end."}));
    EXPECT_EQ(report.SystemVariables(),
              (QStringList{"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#",
                           "CopyName#", "TableRow", "TableColumn"}));
    EXPECT_TRUE(report.ShowProgress);
    EXPECT_TRUE(report.StoreInDFM);

    const TzelEngineOptions &e = report.EngineOptions();
    EXPECT_TRUE(e.ConvertNulls && e.PrintIfEmpty && e.DestroyForms && e.UseGlobalDataSetList);
    EXPECT_FALSE(e.DoublePass || e.UseFileCache || e.IgnoreDevByZero || e.IgnoreExprError || e.EnableThreadSafe);
    EXPECT_EQ(e.MaxMemSize, 10);
    EXPECT_EQ(e.NewSilentMode, simMessageBoxes);
    EXPECT_DOUBLE_EQ(e.ZeroPrecisionValue, 1e-17);

    const TzelPreviewOptions &p = report.PreviewOptions();
    // Every button up to pbExportQuick, then pbCopy and pbSelection.
    EXPECT_EQ(p.Buttons.Bits(), 167935u);
    EXPECT_EQ(p.OutlineWidth, 120);
    EXPECT_EQ(p.PagesInCache, 50);
    EXPECT_TRUE(p.Modal && p.Maximized && p.AllowEdit && p.OutlineExpand);
    EXPECT_EQ(p.ZoomMode, zmDefault);

    const TzelPrintOptions &pr = report.PrintOptions();
    EXPECT_EQ(pr.Printer, QStringLiteral("Default"));
    EXPECT_EQ(pr.Copies, 1);
    EXPECT_TRUE(pr.Collate && pr.ShowDialog);
    EXPECT_EQ(pr.SplicingLine, 3);
    EXPECT_GT(report.ReportOptions().CreateDate, 45000.0);
}

TEST(ReportFacade, ClearResetsOnlyWhatBelongsToATemplate)
{
    TzelReport report;
    TzelEngineOptions &e = report.EngineOptions();
    e.ConvertNulls = false;
    e.DoublePass = true;
    e.MaxMemSize = 99;          // host's: kept
    e.UseFileCache = true;      // host's: kept
    TzelPreviewOptions &p = report.PreviewOptions();
    p.OutlineVisible = true;
    p.Zoom = 2.0;               // kept
    report.ReportOptions().Author = QStringLiteral("Ann");
    report.ReportOptions().Password = QStringLiteral("secret");
    report.ScriptLanguage = QStringLiteral("JScript");
    report.OnStartReport = QStringLiteral("Start");

    report.Clear();
    EXPECT_TRUE(e.ConvertNulls);
    EXPECT_FALSE(e.DoublePass);
    EXPECT_EQ(e.MaxMemSize, 99);
    EXPECT_TRUE(e.UseFileCache);
    EXPECT_FALSE(p.OutlineVisible);
    EXPECT_EQ(p.Zoom, 2.0);
    EXPECT_TRUE(report.ReportOptions().Author.isEmpty());
    EXPECT_TRUE(report.ReportOptions().Password.isEmpty());
    EXPECT_EQ(report.ScriptLanguage, QStringLiteral("PascalScript"));
    EXPECT_TRUE(report.OnStartReport.isEmpty());

    // With Info set, the descriptive options survive a clear.
    report.ReportOptions().Info = true;
    report.ReportOptions().Author = QStringLiteral("Ann");
    report.ReportOptions().Name = QStringLiteral("Sales");
    report.Clear();
    EXPECT_EQ(report.ReportOptions().Author, QStringLiteral("Ann"));
    EXPECT_TRUE(report.ReportOptions().Name.isEmpty());
}

TEST(ReportFacade, ReportsErrorsAsTheSilentModeSays)
{
    FakeDialogService dialogs;
    TzelReport report;
    report.Errors().Add(QStringLiteral("b second"));
    report.Errors().Add(QStringLiteral("a first"));
    report.Errors().Add(QStringLiteral("A FIRST"));  // a duplicate, ignored
    const QString expected = QStringLiteral("The following error(s) have occured:\r\na first\r\nb second");
    EXPECT_EQ(report.ErrorsText(), expected);

    report.ReportErrors();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages.at(0), QStringLiteral("Error: ") + expected);

    report.EngineOptions().NewSilentMode = simSilent;
    report.ReportErrors();
    EXPECT_EQ(dialogs.Messages.size(), 1);

    report.EngineOptions().NewSilentMode = simReThrow;
    try {
        report.ReportErrors();
        FAIL() << "simReThrow must raise";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), expected);
    }
}

TEST(ReportFacade, MissingTemplateLeavesAnEmptyReport)
{
    FakeDialogService dialogs;
    QTemporaryDir dir;
    TzelReport report;
    report.ScriptLanguage = QStringLiteral("JScript");
    EXPECT_FALSE(report.LoadFromFile(dir.filePath(QStringLiteral("none.zt3"))));
    EXPECT_EQ(report.ScriptLanguage, QStringLiteral("PascalScript"));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_THROW(report.LoadFromFile(dir.filePath(QStringLiteral("none.zt3")), true), TzelFileError);
}

TEST(ReportFacade, MalformedTemplateIsReportedAsInvalidFileFormat)
{
    FakeDialogService dialogs;
    QTemporaryDir dir;
    const struct { const char *name; QByteArray data; } cases[] = {
        {"noheader.zt3", "<TzelReport/>"},
        {"mismatch.zt3", "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport><a></b></TzelReport>"},
        {"truncated.zt3", "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport Version=\"6"},
    };
    for (const auto &c : cases) {
        dialogs.Messages.clear();
        TzelReport report;
        EXPECT_TRUE(report.LoadFromFile(writeTemplate(dir, QString::fromLatin1(c.name), c.data))) << c.name;
        EXPECT_EQ(report.Errors().Items(), QStringList{QStringLiteral("Invalid file format")}) << c.name;
        ASSERT_EQ(dialogs.Messages.size(), 1) << c.name;
        EXPECT_EQ(dialogs.Messages.at(0),
                  QStringLiteral("Error: The following error(s) have occured:\r\nInvalid file format"));
    }
}

TEST(ReportFacade, ReThrowModeRaisesTheCollectedMessageOnLoad)
{
    TzelReport report;
    report.EngineOptions().NewSilentMode = simReThrow;
    QByteArray bad = "not xml at all";
    QBuffer buffer(&bad);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_THROW(report.LoadFromStream(&buffer), TzelException);
}

TEST(ReportFacade, SavedTemplateLoadsBackByteForByte)
{
    FakeDialogService dialogs;
    QTemporaryDir dir;
    const QString source = writeTemplate(dir, QStringLiteral("a.zt3"), zelEmptyTemplate);
    TzelReport report;
    ASSERT_TRUE(report.LoadFromFile(source));
    EXPECT_EQ(report.FileName(), source);
    const QString copy = dir.filePath(QStringLiteral("b.zt3"));
    report.SaveToFile(copy);
    EXPECT_EQ(report.FileName(), copy);
    EXPECT_EQ(zelReadFile(copy), zelEmptyTemplate);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(ReportFacade, LoadedVersionIsNotKept)
{
    FakeDialogService dialogs;
    TzelReport report;
    QByteArray data = minimalTemplate;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    report.LoadFromStream(&buffer);
    EXPECT_EQ(report.Version(), QStringLiteral("6.9.6"));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    report.SaveToStream(&out);
    EXPECT_TRUE(out.data().contains("<TzelReport Version=\"6.9.6\""));
}

TEST(ReportFacade, PasswordIsShiftedByTen)
{
    EXPECT_EQ(TzelReport::ShiftPassword(QStringLiteral("abc"), -10), QStringLiteral("WXY"));
    EXPECT_EQ(TzelReport::ShiftPassword(QStringLiteral("WXY"), 10), QStringLiteral("abc"));
}

TEST(ReportFacade, ShowAndDesignSayTheyAreNotAvailableYet)
{
    FakeDialogService dialogs;
    TzelReport report;
    report.ShowReport();
    report.DesignReport();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_TRUE(dialogs.Messages.at(0).startsWith(QStringLiteral("Error: The preview")));
    EXPECT_TRUE(dialogs.Messages.at(1).startsWith(QStringLiteral("Error: The designer")));
}
