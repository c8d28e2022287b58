#include "atomic_write_os.h"
#include "instance_lock_os.h"
#include "private_descriptor_win.h"

#include <QDir>

namespace {

std::wstring Native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

HANDLE Handle(long long handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

bool Refused(QString& reason)
{
    reason = qt_error_string(int(GetLastError()));
    return false;
}

} // namespace

LockOpen OpenLockFile(const QString& path, long long& handle, QString& reason)
{
    PrivateDescriptor privateList;
    if (!privateList.Attributes()) {
        reason = qt_error_string(int(privateList.Error()));
        return LockOpen::Failed;
    }
    // Opened for writing and shared for reading only: while a copy runs, no other can open
    // it to write, and the system lets go of it however that copy ends. A new one is
    // private from its creation.
    const std::wstring name = Native(path);
    bool created = true;
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              privateList.Attributes(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
        created = false;
        file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_SHARING_VIOLATION)
            return LockOpen::Busy;
        reason = qt_error_string(int(GetLastError()));
        return LockOpen::Failed;
    }
    handle = reinterpret_cast<long long>(file);
    return created ? LockOpen::Created : LockOpen::Found;
}

bool ReadLockText(long long handle, QByteArray& text, QString& reason)
{
    if (SetFilePointer(Handle(handle), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return Refused(reason);
    const auto readSome = [handle](char* into, qint64 most, QString& why) -> qint64 {
        DWORD n = 0;
        if (ReadFile(Handle(handle), into, DWORD(most), &n, nullptr))
            return n;
        Refused(why);
        return -1;
    };
    // A lock is a line or three; more is garbage, and garbage is stale.
    return ReadUpTo(text, 4096, readSome, reason);
}

bool WriteLockText(long long handle, const QByteArray& text, QString& reason)
{
    const HANDLE file = Handle(handle);
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !SetEndOfFile(file))
        return Refused(reason);
    for (qsizetype done = 0; done < text.size();) {
        DWORD n = 0;
        if (!WriteFile(file, text.constData() + done, DWORD(text.size() - done), &n, nullptr))
            return Refused(reason);
        done += n;
    }
    if (!FlushFileBuffers(file))
        return Refused(reason);
    return true;
}

void ReleaseLockFile(const QString& path, long long handle, bool remove)
{
    CloseHandle(Handle(handle));
    // Another copy that opened it in between holds it now, and the removal fails: no harm.
    if (remove)
        DeleteFileW(Native(path).c_str());
}

long long ThisProcess()
{
    return GetCurrentProcessId();
}
