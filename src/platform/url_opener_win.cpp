#include "url_opener.h"

#include "resources/texts.h"

#include <QMetaObject>
#include <QObject>

#include <qt_windows.h>

#include <objbase.h>
#include <shellapi.h>

namespace {

// ShellExecute's results of 32 and below, as the user is told them.
QString ShellReason(INT_PTR result)
{
    switch (result) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Texts::OpenerNoSuchFile;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
        return Texts::OpenerNoProgram;
    case SE_ERR_ACCESSDENIED:
        return Texts::OpenerAccessDenied;
    case 0:
    case SE_ERR_OOM:
        return Texts::OpenerOutOfMemory;
    default:
        return Texts::OpenerShellFailed.arg(static_cast<qlonglong>(result));
    }
}

} // namespace

QProcess* StartOpener(const QString&, const QString& target, const QObject* context,
                      std::function<void(const QString& reason)> failed)
{
    // The shell may hand the address to a handler through COM; it wants an apartment
    // without the old DDE, which Qt's Windows platform has set up already.
    const HRESULT com =
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(target.utf16()), nullptr,
                        nullptr, SW_SHOWNORMAL));
    if (SUCCEEDED(com))
        ::CoUninitialize();
    if (result > 32)
        return nullptr;
    // Reported from the event loop, as on other systems, and only to a context still there.
    QMetaObject::invokeMethod(
        const_cast<QObject*>(context),
        [failed = std::move(failed), reason = ShellReason(result)] { failed(reason); },
        Qt::QueuedConnection);
    return nullptr;
}
