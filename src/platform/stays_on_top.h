#pragma once

class QWidget;

namespace StaysOnTop {

// Keeps `window` above all other windows, or lets others cover it again, on the live
// window: it is neither hidden, moved nor resized.
void Set(QWidget* window, bool on);

} // namespace StaysOnTop
