#pragma once

#include "data_file.h"
#include "store_error.h"
#include "store_files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

// The program directory with exactly one "/" after it.
QString AppDir(const QString& programDirectory);

// What a read of the data file saw, to tell later whether another program has changed
// the file since. Only the bytes count: a file rewritten with the same bytes lost nothing.
// They are kept whole (shared with the read, a few kilobytes): comparing them is exact,
// and costs less than hashing them.
struct Fingerprint {
    bool exists = false;
    QByteArray bytes;

    static Fingerprint Of(const QByteArray& bytes);
    friend bool operator==(const Fingerprint&, const Fingerprint&) = default;
};

// Which of the two files a program directory holds before the first load.
enum class StartFiles { DataFile, BackupOnly, Neither };
StartFiles FindDataFiles(const QString& programDirectory);

// Writes the default file: `position`, then one group entry titled `groupTitle`.
std::optional<StoreError> CreateDefaultFile(const QString& programDirectory,
                                            DataFile::Position position, const QString& groupTitle);

// Puts the backup in the data file's place, only when the backup reads whole.
std::optional<StoreError> RestoreBackup(const QString& programDirectory);

struct Loaded {
    DataFile::Contents contents;
    Fingerprint read;
};

// Reads the data file whole. Nothing is written, whatever the file holds.
std::variant<Loaded, StoreError> LoadData(const QString& programDirectory);

struct Saved {
    Fingerprint written;
    // The data file had been changed by another program since `lastRead`; its version is
    // now the backup.
    bool otherVersionKept = false;
};

// Rewrites the data file with `position` and `entries`. The data file goes to the backup
// first when the entries change or when another program changed it since `lastRead`, so the
// backup keeps the entries as they stood before the last real change. Either every file
// takes its new contents, or none changes.
std::variant<Saved, StoreError> SaveData(const QString& programDirectory,
                                         DataFile::Position position, const Entries& entries,
                                         const Fingerprint& lastRead);

// Removes the temporary files that an interrupted save left in the program directory
// (they hold passwords); returns their names. Only while holding the lock: a running save
// of another copy would lose its temporary.
QStringList RemoveLeftovers(const QString& programDirectory);
