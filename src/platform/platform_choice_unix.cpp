#include "platform_choice.h"

#include <QtGlobal>

namespace PlatformChoice {

void Apply()
{
    const QByteArray platform = For(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace PlatformChoice
