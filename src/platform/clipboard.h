#pragma once

#include <QString>

namespace Clipboard {

// Empties the clipboard, then puts `text` on it as plain text, marked as a secret so that
// clipboard managers keep no history of it. What was put is remembered for HoldsOurs.
void Put(const QString& text);

// True while the clipboard (not the X11 selection) still holds exactly the text the
// program last put there. Never true for an empty text or before anything was put, and on
// Windows not once anything else has touched the clipboard since.
bool HoldsOurs();

// Empties the clipboard with its own clear, which leaves nothing for a clipboard manager
// to take over, and forgets what was put.
void Clear();

} // namespace Clipboard
