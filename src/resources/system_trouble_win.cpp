#include "system_trouble.h"

#include <initializer_list>
#include <windows.h>

namespace {

// MAX_PATH: past it, a program that does not opt in to long paths cannot open the file.
constexpr qsizetype kLongestPath = MAX_PATH - 1;

bool MarkedReadOnly(const QString& path)
{
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

} // namespace

SystemTrouble TroubleOf(const StoreError& error)
{
    // Qt refuses to replace a file marked read-only with words of its own.
    if (error.kind == StoreError::Kind::Write && MarkedReadOnly(error.path))
        return SystemTrouble::ReadOnly;
    const QString& reason = error.systemReason;
    if (error.path.size() > kLongestPath ||
        ReasonIsOneOf(reason, std::initializer_list<int>{ERROR_FILENAME_EXCED_RANGE}))
        return SystemTrouble::PathTooLong;
    if (ReasonIsOneOf(reason, std::initializer_list<int>{ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}))
        return SystemTrouble::DiskFull;
    if (ReasonIsOneOf(reason,
                      std::initializer_list<int>{ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION,
                                                 ERROR_USER_MAPPED_FILE}))
        return SystemTrouble::InUse;
    if (ReasonIsOneOf(reason, std::initializer_list<int>{ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT}))
        return SystemTrouble::AccessDenied;
    return SystemTrouble::Other;
}
