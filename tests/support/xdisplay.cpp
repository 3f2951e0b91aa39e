#include "support/xdisplay.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

bool zelOnXDisplay()
{
    return QGuiApplication::platformName() == QLatin1StringView("xcb");
}

QImage zelGrabXWindow(unsigned long id)
{
    return QGuiApplication::primaryScreen()->grabWindow(WId(id)).toImage();
}

bool zelXdotool(const QStringList &args)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), args);
    return xdotool.waitForFinished(10000) && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

bool zelXKey(unsigned long id, const QString &key)
{
    return zelXdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(id), QStringLiteral("40"),
                       QStringLiteral("40")})
           && zelXdotool({QStringLiteral("key"), key});
}

namespace {

// The windows whose title matches Pattern now.
QList<QByteArray> XWindows(const QString &pattern)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern});
    if (!xdotool.waitForFinished(5000))
        return {};
    QList<QByteArray> ids = xdotool.readAllStandardOutput().split('\n');
    ids.removeAll(QByteArray());
    return ids;
}

} // namespace

unsigned long zelFindXWindow(const QString &pattern, int timeoutMs)
{
    for (QDeadlineTimer deadline(timeoutMs); !deadline.hasExpired(); QThread::msleep(100))
        if (const QList<QByteArray> ids = XWindows(pattern); !ids.isEmpty())
            return ids.first().trimmed().toULong();
    return 0;
}

bool zelWaitForNoXWindow(const QString &pattern, int timeoutMs)
{
    for (QDeadlineTimer deadline(timeoutMs); !deadline.hasExpired(); QThread::msleep(100))
        if (XWindows(pattern).isEmpty())
            return true;
    return false;
}

bool zelShowsAPage(const QImage &shot)
{
    if (shot.isNull())
        return false;
    const int y = shot.height() / 2;
    int white = 0;
    for (int x = 0; x < shot.width(); ++x)
        white += shot.pixelColor(x, y) == QColor(Qt::white);
    return shot.pixelColor(2, y) == QColor(0x80, 0x80, 0x80) && white > shot.width() / 2;
}

QImage zelWaitForPage(unsigned long id, int timeoutMs)
{
    QImage shot;
    for (QDeadlineTimer deadline(timeoutMs); !deadline.hasExpired() && !zelShowsAPage(shot); QThread::msleep(200))
        shot = zelGrabXWindow(id);
    return shot;
}
