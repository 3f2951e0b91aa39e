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
/// Whether no window's title matches Pattern within TimeoutMs.
bool zelWaitForNoXWindow(const QString &pattern, int timeoutMs = 10000);
/// Presses Key (an xdotool key name) in window Id: the pointer moves into
/// it first, as without a window manager the keyboard follows the pointer.
bool zelXKey(unsigned long id, const QString &key);
/// Runs xdotool with Args; False when it failed.
bool zelXdotool(const QStringList &args);
/// Whether Shot of a preview window shows a white page on the grey
/// workspace: its middle row starts on the workspace and is mostly paper.
bool zelShowsAPage(const QImage &shot);
/// Grabs window Id until it shows a page or TimeoutMs pass; the last grab.
QImage zelWaitForPage(unsigned long id, int timeoutMs = 20000);
