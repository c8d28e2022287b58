#pragma once

#include "store_error.h"

#include <QString>
#include <QStringList>
#include <variant>

// Whether the data may be kept in a folder. Whoever can write the folder, or owns the data
// file, its backup or the lock, can read and change the passwords or swap the files, so the
// folder and those three files (or the files that links of those names lead to) must belong
// to the user who runs the program, and only that user may write the folder. Other files
// in the folder are not the program's business.
struct FolderCheck {
    enum class Problem {
        None,
        CannotExamine,          // path could not be examined; systemError says why
        FolderOfAnotherUser,    // path is the folder
        FolderWritableByOthers, // path is the folder; group or others may write it
        FileOfAnotherUser,      // path is the file (or the link itself)
        LinkToAnotherUsersFile, // path is a link of ours, target where it leads
        LinkLeadsNowhere,       // path is a link of ours, target the missing file it names
        HardLinked,             // path is the data file or backup, also named elsewhere
        LockNotRegular,         // path is the lock (or leads to it): a pipe, a device, a folder
    };

    Problem problem = Problem::None;
    QString path;
    QString target;
    int systemError = 0;

    bool Refused() const { return problem != Problem::None; }
};

// Checks `folder`, then Cofferly.Dat, Cofferly.bak and Cofferly.lock in it, in that order;
// the first problem found is returned. A file that is not there yet is no problem. Nothing
// is opened: a lock that is a pipe would block the start.
FolderCheck CheckDataFolder(const QString& folder);

// Makes Cofferly.Dat, Cofferly.bak and Cofferly.lock in `folder` readable and writable by
// the owner only (0600) where others may read or write them; returns the paths changed.
// Only after CheckDataFolder(): the files are the user's own.
std::variant<QStringList, StoreError> TightenFileModes(const QString& folder);
