#pragma once

#include <QString>

namespace Clipboard {

// Empties the clipboard, then puts `text` on it as plain text, marked as a secret so that
// clipboard managers keep no history of it.
void Put(const QString& text);

} // namespace Clipboard
