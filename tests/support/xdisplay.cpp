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

unsigned long zelFindXWindow(const QString &pattern, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                  QStringLiteral("--name"), pattern});
        if (xdotool.waitForFinished(5000)) {
            const QList<QByteArray> ids = xdotool.readAllStandardOutput().split('\n');
            if (!ids.isEmpty() && !ids.first().trimmed().isEmpty())
                return ids.first().trimmed().toULong();
        }
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return 0;
}
