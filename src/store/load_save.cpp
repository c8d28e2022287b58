#include "load_save.h"

#include "atomic_write.h"
#include "resources/texts.h"

#include <QFile>
#include <QFileInfo>

QString AppDir(const QString& programDirectory)
{
    return programDirectory.endsWith(u'/') ? programDirectory : programDirectory + u'/';
}

std::optional<StoreError> LoadData(EntryTable& table, DataHost& host)
{
    table.DataCount = 0;
    host.ClearTitles();
    const QString dataPath = AppDir(host.ProgramDirectory()) + Texts::DataFileName;

    if (!QFileInfo::exists(dataPath)) {
        if (auto error = AtomicWrite(dataPath, DataFile::DefaultFile(host.WindowPosition())))
            return error;
    }

    QByteArray bytes;
    if (auto error = ReadWholeFile(dataPath, bytes))
        return error;
    auto parsed = DataFile::Parse(bytes);
    if (const auto* bad = std::get_if<DataFile::ParseError>(&parsed))
        return StoreError{StoreError::Kind::Read, dataPath, bad->what};
    auto& contents = std::get<DataFile::Contents>(parsed);

    // The window decides whether the stored position is on a screen.
    host.MoveWindow(contents.position);

    const EntryTable& read = contents.table;
    for (int n = 1; n <= read.DataCount; ++n) {
        table.DataCount = static_cast<qint16>(n);
        table.DataTitle[n] = read.DataTitle[n];
        table.DataID[n] = read.DataID[n];
        table.DataPW[n] = read.DataPW[n];
        table.DataURL[n] = read.DataURL[n];
        const bool group = table.IsGroup(n);
        host.AppendTitle(table.DataTitle[n], ImageFor(group), group ? 0 : 1);
    }

    if (table.DataCount > 0)
        host.SelectTitle(1);
    return std::nullopt;
}

std::optional<StoreError> SaveData(const EntryTable& table, DataHost& host)
{
    const QString dir = AppDir(host.ProgramDirectory());
    const QString dataPath = dir + Texts::DataFileName;
    const QString backupPath = dir + Texts::BackupFileName;

    const auto newData = DataFile::Format(host.WindowPosition(), table);
    if (!newData)
        return StoreError{StoreError::Kind::Write, dataPath, Texts::ReasonUnstorableText};

    // A data file that has gone missing has nothing to back up; the table is still saved.
    std::optional<QByteArray> oldData;
    if (QFileInfo::exists(dataPath)) {
        QByteArray bytes;
        if (auto error = ReadWholeFile(dataPath, bytes))
            return error;
        oldData = std::move(bytes);
    }

    std::vector<PendingWrite> writes;
    if (oldData)
        writes.push_back({backupPath, *oldData});
    writes.push_back({dataPath, *newData});
    return AtomicWriteAll(writes);
}
