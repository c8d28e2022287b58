#include "platform_choice.h"

#include <QtGlobal>

namespace PlatformChoice {

QByteArray For(const QByteArray& requested, const QByteArray& xDisplay)
{
    if (!requested.isEmpty() || xDisplay.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}

} // namespace PlatformChoice
