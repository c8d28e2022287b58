#pragma once

#include <QString>

// Whether the data may be kept in a folder. Whoever can write the folder, or owns a file
// in it, can read and change the passwords or put another program in our place, so the
// folder and everything directly in it must belong to the user who runs the program, and
// only that user may write the folder.
struct FolderCheck {
    enum class Problem {
        None,
        CannotExamine,          // path could not be examined; systemError says why
        FolderOfAnotherUser,    // path is the folder
        FolderWritableByOthers, // path is the folder; group or others may write it
        FileOfAnotherUser,      // path is the file (or the link itself)
        LinkToAnotherUsersFile, // path is a link of ours, target where it leads
    };

    Problem problem = Problem::None;
    QString path;
    QString target;
    int systemError = 0;

    bool Refused() const { return problem != Problem::None; }
};

// Checks `folder` and every entry directly in it, in name order; the first problem found
// is returned.
FolderCheck CheckDataFolder(const QString& folder);
