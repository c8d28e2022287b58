#pragma once

class QMimeData;

namespace Clipboard {

// Adds to `data` what tells this system's clipboard history and clipboard managers to keep
// no copy of it.
void MarkSecret(QMimeData& data);

} // namespace Clipboard
