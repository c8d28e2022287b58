#include "load_save.h"

#include "atomic_write.h"
#include "cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString DataPath(const QString& programDirectory)
{
    return AppDir(programDirectory) + StoreFiles::Data;
}

QString BackupPath(const QString& programDirectory)
{
    return AppDir(programDirectory) + StoreFiles::Backup;
}

StoreError Problem(StoreError::Kind kind, const QString& path, StoreError::Cause cause)
{
    return StoreError{kind, path, cause, {}};
}

// The whole file, read and parsed; a file that does not read faithfully is damaged.
std::variant<Loaded, StoreError> ReadDataFile(const QString& path, QByteArray* read = nullptr)
{
    if (!Cp932::Available())
        return Problem(StoreError::Kind::Read, path, StoreError::Cause::NoConverter);
    QByteArray bytes;
    if (auto error = ReadWholeFile(path, bytes))
        return *error;
    auto parsed = DataFile::Parse(bytes);
    if (const auto* bad = std::get_if<DataFile::ParseError>(&parsed)) {
        StoreError error = Problem(StoreError::Kind::Read, path, StoreError::Cause::Damaged);
        error.damage = *bad;
        return error;
    }
    Loaded loaded{std::get<DataFile::Contents>(std::move(parsed)), Fingerprint::Of(bytes)};
    if (read)
        *read = std::move(bytes);
    return loaded;
}

// The bytes after a first line that holds nothing but the position record, or nullopt.
std::optional<QByteArrayView> EntryBytes(const QByteArray& file)
{
    const qsizetype lineEnd = file.indexOf("\r\n");
    if (lineEnd < 0)
        return std::nullopt;
    const QByteArrayView line = QByteArrayView(file).first(lineEnd);
    if (line.contains('"') || line.contains('\r') || line.contains('\n'))
        return std::nullopt;
    return QByteArrayView(file).sliced(lineEnd + 2);
}

// Whether `entries`, written as `newData`, differ from the entries `oldData` holds. The
// same bytes after the position line mean the same entries; otherwise the file is read,
// as a file edited by hand may hold the same entries in another shape.
bool EntriesDiffer(const QByteArray& oldData, const QByteArray& newData, const Entries& entries)
{
    const auto oldEntries = EntryBytes(oldData);
    if (oldEntries && oldEntries == EntryBytes(newData))
        return false;
    const auto parsed = DataFile::Parse(oldData);
    const auto* old = std::get_if<DataFile::Contents>(&parsed);
    return !old || old->entries != entries;
}

} // namespace

QString AppDir(const QString& programDirectory)
{
    return programDirectory.endsWith(u'/') ? programDirectory : programDirectory + u'/';
}

Fingerprint Fingerprint::Of(const QByteArray& bytes)
{
    return {true, bytes};
}

StartFiles FindDataFiles(const QString& programDirectory)
{
    if (QFileInfo::exists(DataPath(programDirectory)))
        return StartFiles::DataFile;
    if (QFileInfo::exists(BackupPath(programDirectory)))
        return StartFiles::BackupOnly;
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
    QByteArray bytes;
    const auto read = ReadDataFile(BackupPath(programDirectory), &bytes);
    if (const auto* error = std::get_if<StoreError>(&read))
        return *error;
    return AtomicWrite(DataPath(programDirectory), bytes);
}

std::variant<Loaded, StoreError> LoadData(const QString& programDirectory)
{
    return ReadDataFile(DataPath(programDirectory));
}

std::variant<Saved, StoreError> SaveData(const QString& programDirectory,
                                         DataFile::Position position, const Entries& entries,
                                         const Fingerprint& lastRead)
{
    const QString dataPath = DataPath(programDirectory);
    if (!Cp932::Available())
        return Problem(StoreError::Kind::Write, dataPath, StoreError::Cause::NoConverter);
    const auto newData = DataFile::Format(position, entries);
    if (!newData)
        return Problem(StoreError::Kind::Write, dataPath, StoreError::Cause::UnstorableText);

    // A data file that has gone missing has nothing to back up; the entries are still saved.
    std::optional<QByteArray> oldData;
    if (QFileInfo::exists(dataPath)) {
        QByteArray bytes;
        if (auto error = ReadWholeFile(dataPath, bytes))
            return *error;
        oldData = std::move(bytes);
    }

    Saved saved{Fingerprint::Of(*newData)};
    bool backUp = false;
    if (oldData) {
        saved.otherVersionKept = Fingerprint::Of(*oldData) != lastRead;
        if (saved.otherVersionKept) {
            backUp = true;
        } else {
            // Only a change of entries replaces the backup, never a moved window.
            backUp = EntriesDiffer(*oldData, *newData, entries);
        }
    }

    std::vector<PendingWrite> writes;
    if (backUp)
        writes.push_back({BackupPath(programDirectory), *oldData});
    if (oldData != newData)
        writes.push_back({dataPath, *newData});
    if (writes.empty())
        return saved;
    if (auto error = AtomicWriteAll(writes))
        return *error;
    return saved;
}

QStringList RemoveLeftovers(const QString& programDirectory)
{
    // The names QSaveFile gives its temporaries: the file's name, a dot, six letters or digits.
    static const QRegularExpression temporary(QRegularExpression::anchoredPattern(
        QStringLiteral("Cofferly\\.(Dat|bak)\\.[A-Za-z0-9]{6}")));
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
