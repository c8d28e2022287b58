#include "clipboard.h"

#include "clipboard_marks.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace Clipboard {

void Put(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    auto* data = new QMimeData;
    data->setText(text);
    MarkSecret(*data);
    clipboard->setMimeData(data);
}

} // namespace Clipboard
