#pragma once

#include <functional>

class QWidget;

namespace ScreenCapture {

// How a window shows in screen captures and shared screens.
enum class Affinity { Shown, BlackInCaptures, LeftOutOfCaptures };

// What became of a window.
enum class Outcome {
    Allowed,      // shown, as the user asked
    LeftOut,      // left out of captures
    Black,        // captured as a black area: the system has nothing better
    Unprotected,  // the system refused every way to keep it out
    NotAvailable, // this system has no such call
};

// Shows `window` in captures when `allow`, else keeps it out as well as the system can.
// Makes the window's native window if it has none yet.
Outcome Set(QWidget* window, bool allow);

// The order of the tries: `apply` sets one affinity and says whether the system took it.
Outcome Decide(bool allow, const std::function<bool(Affinity)>& apply);

} // namespace ScreenCapture
