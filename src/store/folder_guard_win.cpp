#include "access_list_win.h"
#include "folder_guard.h"
#include "folder_guard_os.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Problem = FolderCheck::Problem;

// The file's identity and link count, without following a link or opening a folder's
// contents; ERROR_FILE_NOT_FOUND when it is not there.
DWORD Examine(const QString& path, BY_HANDLE_FILE_INFORMATION& info)
{
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    const bool ok = GetFileInformationByHandle(file, &info);
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    return error;
}

bool Missing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FolderCheck CheckFoldersAbove(const QString& folder)
{
    const QString resolved = QFileInfo(folder).canonicalFilePath();
    if (resolved.isEmpty())
        return Found(Problem::CannotExamine, folder, ERROR_PATH_NOT_FOUND);
    for (QDir above(resolved); above.cdUp();) {
        // Whoever may replace a folder on the way can put one of theirs in its place.
        const OthersMay inAbove = WhatOthersMay(above.path());
        if (inAbove.error != ERROR_SUCCESS)
            return Found(Problem::CannotExamine, above.path(), int(inAbove.error));
        if (inAbove.replaceWithin)
            return Found(Problem::UnsafeFolderAbove, above.path());
    }
    return {};
}

// One of the program's own files; its owner only where the drive keeps any.
OwnFileFacts ExamineOwnFile(const QString& path, bool owners)
{
    OwnFileFacts facts;
    BY_HANDLE_FILE_INFORMATION info{};
    if (const DWORD error = Examine(path, info); error != ERROR_SUCCESS) {
        facts.missing = Missing(error);
        facts.systemError = int(error);
        return facts;
    }
    if (owners && WhatOthersMay(path).owner)
        facts.refused = Found(Problem::FileOfAnotherUser, path);
    facts.regular = !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    facts.names = info.nNumberOfLinks;
    return facts;
}

// The program's own files (kOwnFiles), in that order.
FolderCheck CheckFilesIn(const QString& folder, bool owners)
{
    return CheckOwnFiles(folder,
                         [owners](const QString& path) { return ExamineOwnFile(path, owners); });
}

} // namespace

FolderCheck CheckDataFolder(const QString& folder)
{
    // Nothing on such a drive can be kept from anyone who holds it: the user is warned.
    if (!KeepsAccessLists(folder)) {
        FolderCheck check = CheckFilesIn(folder, false);
        check.withoutAccessControl = true;
        return check;
    }
    const OthersMay inFolder = WhatOthersMay(folder);
    if (inFolder.error != ERROR_SUCCESS)
        return Found(Problem::CannotExamine, folder, int(inFolder.error));
    if (inFolder.owner)
        return Found(Problem::FolderOfAnotherUser, folder);
    FolderCheck rest = CheckFoldersAbove(folder);
    if (!rest.Refused())
        rest = CheckFilesIn(folder, true);
    if (!inFolder.change)
        return rest;
    FolderCheck check = Found(Problem::FolderWritableByOthers, folder);
    check.mendable = !rest.Refused();
    return check;
}

FolderCheck CheckProgramFile(const QString& path)
{
    if (!KeepsAccessLists(path))
        return {};
    const OthersMay may = WhatOthersMay(path);
    if (may.error != ERROR_SUCCESS)
        return Found(Problem::CannotExamine, path, int(may.error));
    if (may.owner || may.change)
        return Found(Problem::ProgramOpenToOthers, path);
    return {};
}

std::optional<StoreError> MakeFolderPrivate(const QString& folder)
{
    if (const DWORD error = GiveFolderPrivateList(folder); error != ERROR_SUCCESS)
        return StoreError{StoreError::Kind::Write, folder, StoreError::Cause::System,
                          qt_error_string(int(error))};
    return std::nullopt;
}

std::variant<QStringList, StoreError> TightenFileModes(const QString& folder)
{
    const QString prefix = AppDir(folder);
    QStringList tightened;
    if (!KeepsAccessLists(folder))
        return tightened;
    for (const QString* name : kOwnFiles) {
        const QString path = prefix + *name;
        const OthersMay may = WhatOthersMay(path);
        if (Missing(may.error))
            continue;
        if (may.error != ERROR_SUCCESS)
            return StoreError{StoreError::Kind::Read, path, StoreError::Cause::System,
                              qt_error_string(int(may.error))};
        // The lock holds no secret, and Qt makes it anew at each start with the list the
        // folder hands down: only one that others may change is worth a word.
        const bool readable = may.read && name != &StoreFiles::Lock;
        if (!readable && !may.change)
            continue;
        if (const DWORD error = MakePrivate(path); error != ERROR_SUCCESS)
            return StoreError{StoreError::Kind::Write, path, StoreError::Cause::System,
                              qt_error_string(int(error))};
        tightened << path;
    }
    return tightened;
}

std::variant<FolderId, QString> IdentifyFolder(const QString& folder)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (const DWORD error = Examine(folder, info); error != ERROR_SUCCESS)
        return qt_error_string(int(error));
    return FolderId{info.dwVolumeSerialNumber,
                    (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}
