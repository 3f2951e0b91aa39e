// The host program end to end on a real X display: its "preview" button,
// clicked with xdotool, opens the preview window on page 1 of the sample.
#include "support/golden.h"
#include "support/testsupport.h"
#include "support/xdisplay.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>


TEST(HostOnX, PreviewButtonShowsPageOneOfTheSample)
{
    if (!zelOnXDisplay())
        GTEST_SKIP() << "needs an X display (xvfb-run)";
    QProcess host;
    host.setWorkingDirectory(QFileInfo(QStringLiteral(ZEL_SAMPLE_DB)).absolutePath());
    host.start(zelProgramPath(QStringLiteral("zelhost")), {});
    ASSERT_TRUE(host.waitForStarted());
    const unsigned long main = zelFindXWindow(QStringLiteral("^Form2$"));
    ASSERT_NE(main, 0u) << "the host window did not appear";
    // The "preview" button: 75 × 25 at (288, 120).
    ASSERT_TRUE(zelXdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(main),
                            QStringLiteral("325"), QStringLiteral("132"), QStringLiteral("click"), QStringLiteral("1")}));
    // The window is captioned with the report's name.
    const unsigned long preview = zelFindXWindow(QStringLiteral("^Sample report$"));
    ASSERT_NE(preview, 0u) << "no preview window";

    const QImage shot = zelWaitForPage(preview);
    shot.save(QDir::homePath() + QStringLiteral("/host-preview.png"));
    EXPECT_TRUE(zelShowsAPage(shot));
    EXPECT_TRUE(zelMatchesGolden(shot, QStringLiteral("host/golden/preview")));

    // Escape closes the preview, and the host window comes back.
    zelXKey(preview, QStringLiteral("Escape"));
    EXPECT_TRUE(zelWaitForNoXWindow(QStringLiteral("^Sample report$")));
    host.terminate();
    if (!host.waitForFinished(5000))
        host.kill();
}
