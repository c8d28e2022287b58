#pragma once

#include <QByteArray>

// Which Qt platform plugin the program runs on. The stored position and TOP need a
// window system that lets a client place its window and keep it above others: X11 does,
// Wayland does not. In Wayland sessions Xwayland provides an X display, so the program
// asks for it there.
namespace PlatformChoice {

// The value QT_QPA_PLATFORM should take, or an empty array to leave Qt to choose.
// `requested` is the user's own QT_QPA_PLATFORM, which always wins; `xDisplay` is DISPLAY.
QByteArray For(const QByteArray& requested, const QByteArray& xDisplay);

// Applies For() to this process's environment; call before the application object exists.
// Does nothing on Windows.
void Apply();

} // namespace PlatformChoice
