#include "desktop_probe.h"

#include <qt_windows.h>

namespace DesktopProbe {
namespace {

// Opens the clipboard for the life of the object; another program may hold it a moment.
class OpenClipboardScope {
public:
    OpenClipboardScope()
    {
        for (int attempt = 0; attempt < 50 && !open_; ++attempt) {
            open_ = ::OpenClipboard(nullptr);
            if (!open_)
                ::Sleep(20);
        }
    }
    ~OpenClipboardScope()
    {
        if (open_)
            ::CloseClipboard();
    }
    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

QByteArray ClipboardBytes(UINT format)
{
    OpenClipboardScope scope;
    if (!scope.IsOpen() || !::IsClipboardFormatAvailable(format))
        return {};
    HANDLE handle = ::GetClipboardData(format);
    if (!handle)
        return {};
    const auto* bytes = static_cast<const char*>(::GlobalLock(handle));
    QByteArray copy(bytes, static_cast<qsizetype>(::GlobalSize(handle)));
    ::GlobalUnlock(handle);
    return copy;
}

} // namespace

std::optional<quint32> ClipboardDword(const QString& name)
{
    const UINT format = ::RegisterClipboardFormatW(reinterpret_cast<const wchar_t*>(name.utf16()));
    const QByteArray bytes = ClipboardBytes(format);
    if (bytes.size() != 4)
        return std::nullopt;
    quint32 value = 0;
    memcpy(&value, bytes.constData(), 4);
    return value;
}

QString ClipboardText()
{
    const QByteArray bytes = ClipboardBytes(CF_UNICODETEXT);
    QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(bytes.constData()),
                                           bytes.size() / 2);
    return text.left(text.indexOf(QChar(0))); // up to its terminating NUL
}

void SetClipboardText(const QString& text)
{
    OpenClipboardScope scope;
    if (!scope.IsOpen() || !::EmptyClipboard())
        return;
    const auto size = static_cast<SIZE_T>(text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return;
    auto* chars = static_cast<wchar_t*>(::GlobalLock(memory));
    text.toWCharArray(chars);
    chars[text.size()] = 0;
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(CF_UNICODETEXT, memory))
        ::GlobalFree(memory);
}

quint32 DisplayAffinity(WId window)
{
    DWORD affinity = 0;
    ::GetWindowDisplayAffinity(reinterpret_cast<HWND>(window), &affinity);
    return affinity;
}

bool IsTopmost(WId window)
{
    return ::GetWindowLongPtrW(reinterpret_cast<HWND>(window), GWL_EXSTYLE) & WS_EX_TOPMOST;
}

bool ShowsNoErrorDialogs()
{
    const UINT wanted = SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS;
    return (::GetErrorMode() & wanted) == wanted;
}

bool LoadsLibrary(const QString& fileName)
{
    HMODULE module = ::LoadLibraryW(reinterpret_cast<const wchar_t*>(fileName.utf16()));
    if (module)
        ::FreeLibrary(module);
    return module != nullptr;
}

} // namespace DesktopProbe
