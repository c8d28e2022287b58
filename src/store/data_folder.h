#pragma once

#include "data_file.h"
#include "store_error.h"
#include "store_files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

// The data file and its backup in the program directory.
QString DataPath(const QString& programDirectory);
QString BackupPath(const QString& programDirectory);
// The encrypted data file and its backup.
QString EncryptedPath(const QString& programDirectory);
QString EncryptedBackupPath(const QString& programDirectory);

// Which data files a program directory holds before the first load. The encrypted data
// file comes first: a plain one beside it is a question of its own. Without either data
// file the plain backup comes before the encrypted one.
enum class StartFiles { DataFile, BackupOnly, Neither, Encrypted, EncryptedBackupOnly };
StartFiles FindDataFiles(const QString& programDirectory);

// Writes the default file: `position`, then one group entry titled `groupTitle`.
std::optional<StoreError> CreateDefaultFile(const QString& programDirectory,
                                            DataFile::Position position, const QString& groupTitle);

// Puts the backup in the data file's place, only when the backup reads whole.
std::optional<StoreError> RestoreBackup(const QString& programDirectory);

struct Loaded {
    DataFile::Contents contents;
    QByteArray bytes; // as read, to tell later whether another program has changed the file
};

// Reads the data file whole. Nothing is written, whatever the file holds.
std::variant<Loaded, StoreError> ReadStoredData(const QString& programDirectory);
// The same for a data file at `path`; `bytes` already read are parsed alone.
std::variant<Loaded, StoreError> ReadDataFile(const QString& path);
std::variant<Loaded, StoreError> ParseDataFile(const QString& path, QByteArray bytes);

// Removes the temporary files that an interrupted save left in the program directory
// (they hold passwords); returns their names. Only while holding the lock: a running save
// of another copy would lose its temporary.
QStringList RemoveLeftovers(const QString& programDirectory);
