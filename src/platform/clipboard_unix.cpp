#include "clipboard_os.h"

#include <QMimeData>

namespace Clipboard {

void MarkSecret(QMimeData& data)
{
    // Klipper and the clipboard managers that follow it keep no history of this.
    data.setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
}

// X11 and Wayland keep no change count: the text decides.
quint32 ChangeCount()
{
    return 0;
}

} // namespace Clipboard
