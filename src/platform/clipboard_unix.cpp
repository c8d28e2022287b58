#include "clipboard_marks.h"

#include <QMimeData>

namespace Clipboard {

void MarkSecret(QMimeData& data)
{
    // Klipper and the clipboard managers that follow it keep no history of this.
    data.setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
}

} // namespace Clipboard
