#include "clipboard_os.h"

#include <QMimeData>
#include <windows.h>

namespace Clipboard {

void MarkSecret(QMimeData& data)
{
    // Qt puts a MIME type it has no converter for on the Windows clipboard as a registered
    // format of the same name, its bytes unchanged. (Its "x-qt-windows-mime" names are only
    // understood when reading.)
    const QByteArray zero(4, '\0'); // a DWORD 0
    // Clipboard monitors skip the content whatever the data; Win+V history and the cloud
    // clipboard keep it only when these are not 0.
    data.setData(QStringLiteral("ExcludeClipboardContentFromMonitorProcessing"), zero);
    data.setData(QStringLiteral("CanIncludeInClipboardHistory"), zero);
    data.setData(QStringLiteral("CanUploadToCloudClipboard"), zero);
}

// Counts every change, emptying included: the same text copied again by another program
// is not ours.
quint32 ChangeCount()
{
    return GetClipboardSequenceNumber();
}

} // namespace Clipboard
