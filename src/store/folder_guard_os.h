#pragma once

// What checking the data folder takes of each system (folder_guard_unix.cpp, _win.cpp).

#include "folder_guard.h"
#include "store_files.h"

#include <QString>
#include <functional>
#include <variant>

// The program's own files: whoever owns one of them, or the file a link there leads to,
// can read the passwords or have the next save written into a file of theirs.
inline const QString* const kOwnFiles[] = {&StoreFiles::Data,      &StoreFiles::Backup,
                                           &StoreFiles::Lock,      &StoreFiles::Settings,
                                           &StoreFiles::Encrypted, &StoreFiles::EncryptedBackup};

// The check's finding: `problem` at `path`, with the system's error code if any.
inline FolderCheck Found(FolderCheck::Problem problem, const QString& path, int systemError = 0)
{
    FolderCheck check;
    check.problem = problem;
    check.path = path;
    check.systemError = systemError;
    return check;
}

// One of the program's own files as the system shows it.
struct OwnFileFacts {
    bool missing = false; // not there yet: the program creates it as its own
    int systemError = 0;  // it could not be examined
    FolderCheck refused;  // what the system's own rules refuse in it (its owner, a link)
    bool regular = false; // an ordinary file, or one a link leads to
    quint64 names = 1;
};

// Cofferly.Dat, Cofferly.bak, Cofferly.lock, Cofferly.ini, Cofferly.Enc and Cofferly.Enc.bak
// in `folder`, in that order,
// each as `examine` shows it: the first problem found.
FolderCheck CheckOwnFiles(const QString& folder,
                          const std::function<OwnFileFacts(const QString& path)>& examine);
// The folder's identity, or the system's reason it could not be examined.
std::variant<FolderId, QString> IdentifyFolder(const QString& folder);
