#pragma once

#include "data_file.h"
#include "entry.h"
#include "folder_guard.h"
#include "store_error.h"

#include <QByteArray>
#include <QString>
#include <variant>

// The user's data for one run of the program: the entries as last read or written, the
// position stored with them, and the bytes the data file held then. Every change goes
// through it, so what the store decides (the backup rule, another program's version kept,
// texts the file cannot hold) is decided in one place, and the windows only show it.
class DataSession {
public:
    // What Open() leaves to the user before it can go on.
    enum class Question {
        RestoreBackup, // the data file is missing beside its backup: put the backup back?
    };
    struct Answers {
        bool restoreBackup = false;
    };

    // Opens the program directory's data file. A first start writes the default file:
    // `firstPosition`, then one group entry titled `newGroupTitle`. A data file missing
    // beside its backup is never replaced by the default: Open() returns the question,
    // and is called again with the user's answer. Nothing is written on an error.
    static std::variant<DataSession, Question, StoreError> Open(const QString& programDirectory,
                                                                DataFile::Position firstPosition,
                                                                const QString& newGroupTitle,
                                                                Answers answers);

    const QString& ProgramDirectory() const { return programDirectory_; }
    QString DataPath() const;
    QString BackupPath() const;
    const Entries& Table() const { return entries_; }
    DataFile::Position StoredPosition() const { return position_; }

    struct Saved {
        // Another program had changed the data file since it was read; its version is
        // now the backup.
        bool otherVersionKept = false;
    };

    // Rewrites the data file with `position` and `entries` in the folder the session
    // opened, refusing a save when another folder or a new link stands there. The data
    // file goes to the backup first when the entries change or when another program
    // changed it since it was read, so the backup keeps the entries as they stood before
    // the last real change. Either every file takes its new contents and the session holds
    // them, or nothing changes, on disk or here.
    std::variant<Saved, StoreError> SaveData(DataFile::Position position, const Entries& entries);

    // The close: the entries as they stand, with the window's last position.
    std::variant<Saved, StoreError> SaveAtClose(DataFile::Position position);

private:
    DataSession(const QString& programDirectory, const FolderPin& pin, DataFile::Contents contents,
                QByteArray read);

    QString programDirectory_;
    FolderPin pin_;
    Entries entries_;
    DataFile::Position position_;
    QByteArray read_; // the data file's bytes as last read or written
};
