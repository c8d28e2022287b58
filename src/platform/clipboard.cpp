#include "clipboard.h"

#include "clipboard_os.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <optional>

namespace Clipboard {

namespace {

// What the program last put on the clipboard, and the system's change count right after.
struct Ours {
    QString text;
    quint32 changeCount = 0;
};
std::optional<Ours> ours;

} // namespace

void Put(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    auto* data = new QMimeData;
    data->setText(text);
    MarkSecret(*data);
    clipboard->setMimeData(data);
    ours = Ours{text, ChangeCount()};
}

bool HoldsOurs()
{
    // An empty text cannot be told from a cleared clipboard, so it is never taken for ours.
    if (!ours || ours->text.isEmpty() || ChangeCount() != ours->changeCount)
        return false;
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard) == ours->text;
}

void Clear()
{
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    ours.reset();
}

} // namespace Clipboard
