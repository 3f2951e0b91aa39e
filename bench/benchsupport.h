#pragma once

// What the timing programs share: peak memory, an offscreen platform and
// option values.

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>
#include <sys/resource.h>

/// Peak resident memory of this process so far, in MB.
inline long benchPeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

/// Draws offscreen unless the caller chose a platform; call before the
/// application object is made.
inline void benchUseOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

/// The number after Option in Args, or Fallback when there is none.
inline int benchIntOption(const QStringList &args, const QString &option, int fallback)
{
    const qsizetype at = args.indexOf(option);
    return at > 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}
