// The host program end to end on a real X display: its "preview" button,
// clicked with xdotool, opens the preview window on page 1 of the sample.
#include "support/golden.h"
#include "support/testsupport.h"
#include "support/xdisplay.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Whether Shot shows a white page on the grey workspace: the middle row
// starts on the workspace and is mostly paper.
bool ShowsAPage(const QImage &shot)
{
    if (shot.isNull())
        return false;
    const int y = shot.height() / 2;
    int white = 0;
    for (int x = 0; x < shot.width(); ++x)
        white += shot.pixelColor(x, y) == QColor(Qt::white);
    return shot.pixelColor(2, y) == QColor(0x80, 0x80, 0x80) && white > shot.width() / 2;
}

} // namespace

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

    QImage shot;
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired() && !ShowsAPage(shot); QThread::msleep(200))
        shot = zelGrabXWindow(preview);
    shot.save(QDir::homePath() + QStringLiteral("/host-preview.png"));
    EXPECT_TRUE(ShowsAPage(shot));
    EXPECT_TRUE(zelMatchesGolden(shot, QStringLiteral("host/golden/preview")));

    // Escape closes the preview; the host stays until its window closes.
    zelXdotool({QStringLiteral("key"), QStringLiteral("--window"), QString::number(preview), QStringLiteral("Escape")});
    host.terminate();
    if (!host.waitForFinished(5000))
        host.kill();
}
