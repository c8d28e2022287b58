#include "screen_capture.h"

#include <QGuiApplication>
#include <QWidget>
#include <windows.h>

#ifndef WDA_EXCLUDEFROMCAPTURE
#define WDA_EXCLUDEFROMCAPTURE 0x00000011
#endif

namespace ScreenCapture {

Outcome Set(QWidget* window, bool allow)
{
    // Only Qt's Windows platform gives the window a real native window.
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        return Outcome::NotAvailable;
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    return Decide(allow, [hwnd](Affinity affinity) {
        const DWORD value = affinity == Affinity::Shown             ? WDA_NONE
                            : affinity == Affinity::BlackInCaptures ? WDA_MONITOR
                                                                    : WDA_EXCLUDEFROMCAPTURE;
        return SetWindowDisplayAffinity(hwnd, value) != FALSE;
    });
}

} // namespace ScreenCapture
