#include "data_folder.h"

#include "atomic_write.h"
#include "cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

StoreError Problem(StoreError::Kind kind, const QString& path, StoreError::Cause cause)
{
    return StoreError{kind, path, cause, {}};
}

} // namespace

// The whole file, read and parsed; a file that does not read faithfully is damaged.
std::variant<Loaded, StoreError> ReadDataFile(const QString& path)
{
    if (!Cp932::Available())
        return Problem(StoreError::Kind::Read, path, StoreError::Cause::NoConverter);
    QByteArray bytes;
    if (auto error = ReadWholeFile(path, bytes))
        return *error;
    return ParseDataFile(path, std::move(bytes));
}

std::variant<Loaded, StoreError> ParseDataFile(const QString& path, QByteArray bytes)
{
    if (!Cp932::Available())
        return Problem(StoreError::Kind::Read, path, StoreError::Cause::NoConverter);
    auto parsed = DataFile::Parse(bytes);
    if (const auto* bad = std::get_if<DataFile::ParseError>(&parsed)) {
        StoreError error = Problem(StoreError::Kind::Read, path, StoreError::Cause::Damaged);
        error.damage = *bad;
        return error;
    }
    return Loaded{std::get<DataFile::Contents>(std::move(parsed)), std::move(bytes)};
}

QString DataPath(const QString& programDirectory)
{
    return AppDir(programDirectory) + StoreFiles::Data;
}

QString BackupPath(const QString& programDirectory)
{
    return AppDir(programDirectory) + StoreFiles::Backup;
}

QString EncryptedPath(const QString& programDirectory)
{
    return AppDir(programDirectory) + StoreFiles::Encrypted;
}

QString EncryptedBackupPath(const QString& programDirectory)
{
    return AppDir(programDirectory) + StoreFiles::EncryptedBackup;
}

StartFiles FindDataFiles(const QString& programDirectory)
{
    if (QFileInfo::exists(EncryptedPath(programDirectory)))
        return StartFiles::Encrypted;
    if (QFileInfo::exists(DataPath(programDirectory)))
        return StartFiles::DataFile;
    if (QFileInfo::exists(BackupPath(programDirectory)))
        return StartFiles::BackupOnly;
    if (QFileInfo::exists(EncryptedBackupPath(programDirectory)))
        return StartFiles::EncryptedBackupOnly;
    return StartFiles::Neither;
}

std::optional<StoreError> CreateDefaultFile(const QString& programDirectory,
                                            DataFile::Position position, const QString& groupTitle)
{
    const QString path = DataPath(programDirectory);
    const auto bytes = DataFile::DefaultFile(position, groupTitle);
    if (!bytes)
        return Problem(StoreError::Kind::Write, path,
                       Cp932::Available() ? StoreError::Cause::UnstorableText
                                          : StoreError::Cause::NoConverter);
    return AtomicWrite(path, *bytes);
}

std::optional<StoreError> RestoreBackup(const QString& programDirectory)
{
    const auto read = ReadDataFile(BackupPath(programDirectory));
    if (const auto* error = std::get_if<StoreError>(&read))
        return *error;
    return AtomicWrite(DataPath(programDirectory), std::get<Loaded>(read).bytes);
}

std::variant<Loaded, StoreError> ReadStoredData(const QString& programDirectory)
{
    return ReadDataFile(DataPath(programDirectory));
}

QStringList RemoveLeftovers(const QString& programDirectory)
{
    // The names a save gives its temporaries: the file's name, a dot, six letters or digits.
    static const QRegularExpression temporary(QRegularExpression::anchoredPattern(
        QStringLiteral("(%1|%2|%3|%4|%5)\\.[A-Za-z0-9]{6}")
            .arg(QRegularExpression::escape(StoreFiles::Data),
                 QRegularExpression::escape(StoreFiles::Backup),
                 QRegularExpression::escape(StoreFiles::Settings),
                 QRegularExpression::escape(StoreFiles::Encrypted),
                 QRegularExpression::escape(StoreFiles::EncryptedBackup))));
    QStringList removed;
    const QDir dir(programDirectory);
    const auto found =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& file : found) {
        if (!file.isFile() || file.isSymLink() || !temporary.match(file.fileName()).hasMatch())
            continue;
        if (QFile::remove(file.filePath()))
            removed << file.fileName();
    }
    return removed;
}
