#include "screen_capture.h"

namespace ScreenCapture {

// Nothing to do: X11 lets any client read any window, and Wayland compositors decide on
// capture and sharing themselves; neither offers a window a way to stay out.
Outcome Set(QWidget* /*window*/, bool /*allow*/)
{
    return Outcome::NotAvailable;
}

} // namespace ScreenCapture
