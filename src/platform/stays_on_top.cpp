#include "stays_on_top.h"

#include <QWidget>
#include <QWindow>

namespace StaysOnTop {

void Set(QWidget* window, bool on)
{
    QWindow* handle = window->windowHandle();
    if (!handle) {
        // Not shown yet: the flag takes effect when the window is created.
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        return;
    }
    Qt::WindowFlags flags = handle->flags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    handle->setFlags(flags);
}

} // namespace StaysOnTop
