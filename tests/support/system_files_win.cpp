#include "system_files.h"

#include "store/access_list_win.h"

#include <QDir>
#include <aclapi.h>
#include <vector>

namespace SystemFiles {

quint64 Identity(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return ok ? (quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow) : 0;
}

bool OwnerOnly(const QString& path)
{
    const OthersMay may = WhatOthersMay(path);
    return may.error == ERROR_SUCCESS && !may.read && !may.change;
}

QString DirectoryReason()
{
    return qt_error_string(336); // ERROR_DIRECTORY_NOT_SUPPORTED
}

bool LetEveryoneRead(const QString& path)
{
    DWORD size = SECURITY_MAX_SID_SIZE;
    std::vector<BYTE> everyone(size);
    if (!CreateWellKnownSid(WinWorldSid, nullptr, everyone.data(), &size))
        return false;
    std::vector<BYTE> list(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + size);
    auto* acl = reinterpret_cast<ACL*>(list.data());
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    return InitializeAcl(acl, DWORD(list.size()), ACL_REVISION) &&
           AddAccessAllowedAce(acl, ACL_REVISION, FILE_GENERIC_READ, everyone.data()) &&
           SetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                 nullptr, acl, nullptr) == ERROR_SUCCESS;
}

// Links want a privilege an ordinary user lacks; pipes have names of their own, never a
// file's; Windows caps no file size per process.
bool HasUnixFiles()
{
    return false;
}
bool Link(const QString&, const QString&)
{
    return false;
}
bool Pipe(const QString&)
{
    return false;
}
bool LimitFileSize(qint64)
{
    return false;
}

QList<int> UsualErrors()
{
    return {ERROR_DISK_FULL, ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED,
            ERROR_FILENAME_EXCED_RANGE};
}

} // namespace SystemFiles
