#pragma once

#include <QString>

// The files of a program directory. Their names are part of the format users keep.
namespace StoreFiles {
inline const QString Data = QStringLiteral("Cofferly.Dat");
inline const QString Backup = QStringLiteral("Cofferly.bak");
inline const QString Lock = QStringLiteral("Cofferly.lock");
inline const QString Settings = QStringLiteral("Cofferly.ini");
} // namespace StoreFiles

// The program directory with exactly one "/" after it, for the names above.
inline QString AppDir(const QString& programDirectory)
{
    return programDirectory.endsWith(u'/') ? programDirectory : programDirectory + u'/';
}
