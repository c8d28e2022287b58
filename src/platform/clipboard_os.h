#pragma once

#include <QtGlobal>

class QMimeData;

namespace Clipboard {

// Adds to `data` what tells this system's clipboard history and clipboard managers to keep
// no copy of it.
void MarkSecret(QMimeData& data);

// A number that changes whenever anything changes the clipboard, where the system keeps
// one; 0 where it keeps none and the text alone tells.
quint32 ChangeCount();

} // namespace Clipboard
