#pragma once

#include <QString>
#include <QWidget>
#include <optional>

// What Windows itself holds for this process, read through its own API, so that a suite can
// check what Qt handed on.
namespace DesktopProbe {

// The clipboard's data in the registered format `name` as a DWORD, or nullopt when the
// clipboard has no such format or it is not 4 bytes long.
std::optional<quint32> ClipboardDword(const QString& name);
QString ClipboardText();
// Puts `text` on the clipboard as another program would.
void SetClipboardText(const QString& text);

// The display affinity Windows reports for the native window (WDA_NONE 0, WDA_MONITOR 1,
// WDA_EXCLUDEFROMCAPTURE 0x11).
quint32 DisplayAffinity(WId window);

// Whether the native window carries WS_EX_TOPMOST.
bool IsTopmost(WId window);

// Whether the process's error mode keeps Windows from showing a crash or a critical error.
bool ShowsNoErrorDialogs();

// Whether a library of this file name loads; it is freed again at once.
bool LoadsLibrary(const QString& fileName);

} // namespace DesktopProbe
