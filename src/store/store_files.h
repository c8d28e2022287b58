#pragma once

#include <QString>

// The files of a program directory. Their names are part of the format users keep.
namespace StoreFiles {
inline const QString Data = QStringLiteral("Cofferly.Dat");
inline const QString Backup = QStringLiteral("Cofferly.bak");
inline const QString Lock = QStringLiteral("Cofferly.lock");
inline const QString Settings = QStringLiteral("Cofferly.ini");
// The encrypted data file and its backup, under names an older copy of the program never
// reads as its own.
inline const QString Encrypted = QStringLiteral("Cofferly.Enc");
inline const QString EncryptedBackup = QStringLiteral("Cofferly.Enc.bak");
} // namespace StoreFiles

// The program directory with exactly one "/" after it, for the names above.
inline QString AppDir(const QString& programDirectory)
{
    return programDirectory.endsWith(u'/') ? programDirectory : programDirectory + u'/';
}
