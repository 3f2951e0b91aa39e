#pragma once

#include <QImage>
#include <QString>

// For the tests that run on a real X display (under xvfb-run): the others
// find QT_QPA_PLATFORM=offscreen and skip them.

/// Whether the application draws on an X display.
bool zelOnXDisplay();
/// What the X server shows of window Id now, read back from the screen.
QImage zelGrabXWindow(unsigned long id);
/// The id of the first window whose title matches Pattern, waiting up to
/// TimeoutMs for it to appear; 0 when none did.
unsigned long zelFindXWindow(const QString &pattern, int timeoutMs = 20000);
/// Runs xdotool with Args; False when it failed.
bool zelXdotool(const QStringList &args);
