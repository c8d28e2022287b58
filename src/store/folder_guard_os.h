#pragma once

// What checking the data folder takes of each system (folder_guard_unix.cpp, _win.cpp).

#include "folder_guard.h"
#include "store_files.h"

#include <QString>
#include <variant>

// The program's own files: whoever owns one of them, or the file a link there leads to,
// can read the passwords or have the next save written into a file of theirs.
inline const QString* const kOwnFiles[] = {&StoreFiles::Data, &StoreFiles::Backup,
                                           &StoreFiles::Lock};

inline QString WithSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// The check's finding: `problem` at `path`, with the system's error code if any.
inline FolderCheck Found(FolderCheck::Problem problem, const QString& path, int systemError = 0)
{
    FolderCheck check;
    check.problem = problem;
    check.path = path;
    check.systemError = systemError;
    return check;
}

// The rules for one of the program's own files, once examined: the lock must be an ordinary
// file (opening a pipe blocks until someone writes to it, for ever); the data file and the
// backup must have one name (a save replaces the file by a new one: another name would
// keep the old passwords for good).
inline FolderCheck CheckOwnFile(const QString* name, const QString& path, bool regular,
                                quint64 names)
{
    if (name == &StoreFiles::Lock)
        return regular ? FolderCheck{} : Found(FolderCheck::Problem::LockNotRegular, path);
    if (regular && names > 1)
        return Found(FolderCheck::Problem::HardLinked, path);
    return {};
}

// What tells one folder from another on the system: it stays the same through a rename,
// and a folder put in its place has another.
struct FolderId {
    quint64 device = 0;
    quint64 inode = 0;
};

// The folder's identity, or the system's reason it could not be examined.
std::variant<FolderId, QString> IdentifyFolder(const QString& folder);
