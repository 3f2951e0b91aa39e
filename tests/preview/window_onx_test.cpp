// The preview window on a real X display, compared with golden screenshots.
#include "previewtest.h"

#include "model/sql/zelsqlclasses.h"
#include "model/view/zelmemoview.h"
#include "preview/zelpreviewform.h"
#include "support/golden.h"
#include "support/xdisplay.h"

#include <QDir>
#include <QFileInfo>
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
