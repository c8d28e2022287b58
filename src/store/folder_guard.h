#pragma once

#include "store_error.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

// Whether the data may be kept in a folder. Whoever can write the folder, or owns the data
// file, its backup or the lock, can read and change the passwords or swap the files, and
// whoever owns the settings file can have copied passwords stay on the clipboard; so the
// folder and those four files (or the files that links of those names lead to) must belong
// to the user who runs the program, and only that user may write the folder. Other files
// in the folder are not the program's business.
struct FolderCheck {
    enum class Problem {
        None,
        CannotExamine,          // path could not be examined; systemError says why
        FolderOfAnotherUser,    // path is the folder
        FolderWritableByOthers, // path is the folder; group or others may write it
        UnsafeFolderAbove,      // path is a folder above it that another user may change
        FileOfAnotherUser,      // path is the file (or the link itself)
        LinkToAnotherUsersFile, // path is a link of ours, target where it leads
        LinkLeadsNowhere,       // path is a link of ours, target the missing file it names
        HardLinked,             // path is the data file or backup, also named elsewhere
        LockNotRegular,         // path is the lock (or leads to it): a pipe, a device, a folder
        ProgramOpenToOthers,    // path is the program file: another user owns it or may change it
        NameNotShown,           // path is the program's folder, its name as near as it shows
    };

    Problem problem = Problem::None;
    QString path;
    QString target;
    int systemError = 0;
    // The only fault is that others may write the program's own folder, which is the
    // user's: making it private mends it.
    bool mendable = false;
    // The folder lies on a drive that keeps no access control at all (FAT, exFAT): nothing
    // there can be made private, and whoever holds the drive can read it.
    bool withoutAccessControl = false;

    bool Refused() const { return problem != Problem::None; }
};

// Checks `folder`, then every folder above it up to "/" (each must belong to the user or
// root, and only a sticky one, like /tmp, may be writable by others: whoever may rename a
// folder on the way can put one of theirs in its place), then Cofferly.Dat, Cofferly.bak,
// Cofferly.lock, Cofferly.ini, Cofferly.Enc and Cofferly.Enc.bak in it, in that order; the
// first problem found is returned.
// A file that is not there yet is no problem. Nothing is opened: a lock that is a pipe
// would block the start.
FolderCheck CheckDataFolder(const QString& folder);

// The running program's own file: whoever else owns it or may change it runs their code as
// the user at the next start.
FolderCheck CheckProgramFile(const QString& path);

// Leaves `folder` to the user alone, for a FolderCheck that is mendable: on POSIX no write
// for group and others (chmod go-w); on Windows a list of its own that lets only the user,
// SYSTEM and Administrators in. Nothing, or what failed.
std::optional<StoreError> MakeFolderPrivate(const QString& folder);

// Makes the program's own files in `folder` (the data files, plain and encrypted, with their
// backups, the lock and the settings file) readable and
// writable by the owner only (0600) where others may read or write them; returns the paths
// changed.
// Only after CheckDataFolder(): the files are the user's own.
std::variant<QStringList, StoreError> TightenFileModes(const QString& folder);

// What tells one folder from another on the system: it stays the same through a rename,
// and a folder put in its place has another.
struct FolderId {
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const FolderId&, const FolderId&) = default;
};

// The folder a data session saves into, as it stood when the session opened.
struct FolderPin {
    FolderId folder;
    bool dataLink = false;            // Cofferly.Dat was a link then
    bool backupLink = false;          // Cofferly.bak was a link then
    bool settingsLink = false;        // Cofferly.ini was a link then
    bool encryptedLink = false;       // Cofferly.Enc was a link then
    bool encryptedBackupLink = false; // Cofferly.Enc.bak was a link then
};

// Notes what `folder` is now.
std::variant<FolderPin, StoreError> PinFolder(const QString& folder);

// What a save writes: the data file and the backup, the settings file, or the encrypted
// data file and its backup.
enum class SavedFiles { Data, Settings, Encrypted };

// Before a save: the same folder must stand at `folder`, and no link may stand in the place
// of a file the save writes where none stood before; otherwise the save would write where
// nobody checked.
std::optional<StoreError> CheckPinnedFolder(const QString& folder, const FolderPin& pin,
                                            SavedFiles saved = SavedFiles::Data);
