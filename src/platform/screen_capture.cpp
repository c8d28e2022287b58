#include "screen_capture.h"

namespace ScreenCapture {

// Leaving the window out is the better choice; systems before Windows 10 2004 refuse it
// and can only show the window black.
Outcome Decide(bool allow, const std::function<bool(Affinity)>& apply)
{
    if (allow)
        return apply(Affinity::Shown) ? Outcome::Allowed : Outcome::Unprotected;
    if (apply(Affinity::LeftOutOfCaptures))
        return Outcome::LeftOut;
    if (apply(Affinity::BlackInCaptures))
        return Outcome::Black;
    return Outcome::Unprotected;
}

} // namespace ScreenCapture
