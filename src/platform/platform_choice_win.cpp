#include "platform_choice.h"

namespace PlatformChoice {

void Apply()
{
    // Windows has one platform, which places windows and keeps them on top. A DISPLAY seen
    // here is Wine's own and must not send Qt to X11.
}

} // namespace PlatformChoice
