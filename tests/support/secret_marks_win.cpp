#include "secret_marks.h"

QList<std::pair<QString, QByteArray>> SecretMarks()
{
    const QByteArray zero(4, '\0');
    return {{QStringLiteral("ExcludeClipboardContentFromMonitorProcessing"), zero},
            {QStringLiteral("CanIncludeInClipboardHistory"), zero},
            {QStringLiteral("CanUploadToCloudClipboard"), zero}};
}
