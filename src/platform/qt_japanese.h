#pragma once

// Qt's own texts (a text box's context menu, the standard dialogs) in Japanese, like the
// rest of the program, whatever the system's language. The translation is built into the
// program on every system, so nothing installed beside it is needed or read. Call once,
// after the application object exists; false when the translation could not be loaded.
bool LoadQtJapanese();
