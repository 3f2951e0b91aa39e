// The preview window on a real X display, compared with golden screenshots.
#include "previewtest.h"

#include "model/sql/zelsqlclasses.h"
#include "model/view/zelmemoview.h"
#include "preview/zelpreviewform.h"
#include "support/golden.h"
#include "support/xdisplay.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The sample report with its print date fixed, so that its pictures stay the same.
void LoadSample(TzelReport &report)
{
    zelRegisterSqlClasses();
    zelRegisterEngine();
    ASSERT_TRUE(report.LoadFromFile(QFileInfo(QStringLiteral(ZEL_SAMPLE_DB)).dir().filePath(QStringLiteral("test.zt3"))));
    for (TzelComponent *c : report.AllObjects())
        if (auto *memo = zelAs<TzelMemoView>(c); memo && memo->Text().contains(QStringLiteral("[Date]")))
            memo->SetText(QStringLiteral("Printed 01.02.2026"));
    report.PreviewOptions().Maximized = false;
}

QImage Shot(QWidget &window)
{
    QApplication::processEvents();
    QTest::qWait(200);
    const QImage shot = zelGrabXWindow(window.winId());
    shot.save(QDir::homePath() + QStringLiteral("/") + window.objectName() + QStringLiteral(".png"));
    return shot;
}

} // namespace

TEST(PreviewWindowOnX, ShowsTheSampleReportFoundTextAndThumbnails)
{
    if (!zelOnXDisplay())
        GTEST_SKIP() << "needs an X display (xvfb-run)";
    TzelReport report;
    LoadSample(report);
    TzelPreviewForm form;
    form.Init(&report);
    form.resize(819, 622);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(report.PrepareReport()) << report.Errors().Text().toStdString();

    form.setObjectName(QStringLiteral("preview-window"));
    EXPECT_TRUE(zelMatchesGolden(Shot(form), QStringLiteral("preview/golden/window")));

    form.Preview()->SetThumbnailVisible(true);
    ASSERT_TRUE(form.Preview()->FindText(QStringLiteral("Item 3"), true, false));
    form.setObjectName(QStringLiteral("preview-window-found"));
    EXPECT_TRUE(zelMatchesGolden(Shot(form), QStringLiteral("preview/golden/window_found")));
}

TEST(ZelreportPreviewOnX, OpensAPreparedReportUntilTheWindowCloses)
{
    if (!zelOnXDisplay())
        GTEST_SKIP() << "needs an X display (xvfb-run)";
    QTemporaryDir dir;
    const QString prepared = dir.filePath(QStringLiteral("sample.zp3"));
    const QString sample = QFileInfo(QStringLiteral(ZEL_SAMPLE_DB)).dir().filePath(QStringLiteral("test.zt3"));
    ASSERT_EQ(zelreport({QStringLiteral("build"), sample, prepared}).status, 0);
    QProcess tool;
    tool.start(zelProgramPath(QStringLiteral("zelreport")), {QStringLiteral("preview"), prepared});
    // The prepared report keeps the report's name, which captions the window.
    const unsigned long window = zelFindXWindow(QStringLiteral("^Sample report$"));
    ASSERT_NE(window, 0u) << qPrintable(tool.readAllStandardError());
    EXPECT_TRUE(zelShowsAPage(zelWaitForPage(window)));
    zelXKey(window, QStringLiteral("Escape"));
    EXPECT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 0) << qPrintable(tool.readAllStandardError());
}

TEST(ZelreportPreview, AMissingFileIsNamed)
{
    const ZelToolRun r = zelreport({QStringLiteral("preview"), QStringLiteral("/nonexistent/missing.zt3")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("does not exist"))) << qPrintable(r.err);
}
