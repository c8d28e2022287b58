#include "data_session.h"

#include "atomic_write.h"
#include "cp932.h"
#include "load_save.h"
#include "recovery.h"

#include <QFileInfo>

DataSession::DataSession(const QString& programDirectory, const FolderPin& pin,
                         DataFile::Contents contents, QByteArray read)
    : programDirectory_(programDirectory), pin_(pin), entries_(std::move(contents.entries)),
      position_(contents.position), read_(std::move(read))
{
}

QString DataSession::DataPath() const
{
    return ::DataPath(programDirectory_);
}

QString DataSession::BackupPath() const
{
    return ::BackupPath(programDirectory_);
}

namespace {

// What the start can offer in place of a data file that cannot be read.
struct Offer {
    DataSession::Question question;
    QByteArray unreadable;  // the data file as it is, to be kept
    QByteArray replacement; // what would take its place
};

// A data file an editor saved as UTF-8 comes back converted; anything else damaged gives
// way to a backup that reads whole. A file that could not be read at all is left alone.
std::optional<Offer> OfferFor(const QString& programDirectory, const StoreError& unreadable)
{
    using Question = DataSession::Question;
    QByteArray bytes;
    if (unreadable.cause != StoreError::Cause::Damaged ||
        ReadWholeFile(DataPath(programDirectory), bytes))
        return std::nullopt;
    if (auto converted = FromEditorUtf8(bytes))
        return Offer{Question::ConvertFromUtf8, bytes, std::move(*converted)};
    if (auto backup = BackupThatReads(programDirectory))
        return Offer{Question::OpenBackup, bytes, std::move(*backup)};
    return std::nullopt;
}

bool Accepted(const Offer& offer, const DataSession::Answers& answers)
{
    return offer.question == DataSession::Question::ConvertFromUtf8 ? answers.convertFromUtf8
                                                                    : answers.openBackup;
}

} // namespace

std::variant<DataSession, DataSession::Asking, StoreError>
DataSession::Open(const QString& programDirectory, DataFile::Position firstPosition,
                  const QString& newGroupTitle, Answers answers)
{
    // The folder as checked at start, before anything is written in it.
    auto pinned = PinFolder(programDirectory);
    if (auto* failed = std::get_if<StoreError>(&pinned))
        return std::move(*failed);
    std::optional<StoreError> error;
    switch (FindDataFiles(programDirectory)) {
    case StartFiles::DataFile:
        break;
    case StartFiles::Neither:
        error = CreateDefaultFile(programDirectory, firstPosition, newGroupTitle);
        break;
    case StartFiles::BackupOnly:
        if (!answers.restoreBackup)
            return Asking{Question::RestoreBackup, std::nullopt};
        error = RestoreBackup(programDirectory);
        break;
    }
    if (error)
        return *error;
    auto loaded = LoadData(programDirectory);
    if (auto* failed = std::get_if<StoreError>(&loaded)) {
        const auto offer = OfferFor(programDirectory, *failed);
        if (!offer)
            return std::move(*failed);
        if (!Accepted(*offer, answers))
            return Asking{offer->question, std::move(*failed)};
        auto kept = ReplaceKeeping(programDirectory, offer->unreadable, offer->replacement);
        if (auto* keptError = std::get_if<StoreError>(&kept))
            return std::move(*keptError);
        loaded = LoadData(programDirectory);
        if (auto* still = std::get_if<StoreError>(&loaded))
            return std::move(*still);
    }
    Loaded& read = std::get<Loaded>(loaded);
    return DataSession(programDirectory, std::get<FolderPin>(pinned), std::move(read.contents),
                       std::move(read.bytes));
}

std::variant<std::optional<QByteArray>, StoreError> DataSession::ReadDataFile() const
{
    const QString dataPath = DataPath();
    if (!QFileInfo::exists(dataPath) && !QFileInfo(dataPath).isSymLink())
        return std::nullopt;
    QByteArray bytes;
    // A link put there since the start is refused, not read through.
    if (auto error = ReadWholeFile(dataPath, bytes, pin_.dataLink))
        return *error;
    return bytes;
}

std::variant<DataSession::Saved, StoreError> DataSession::SaveData(DataFile::Position position,
                                                                   const Entries& entries)
{
    const QString dataPath = DataPath();
    auto refused = [&dataPath](StoreError::Cause cause) {
        return StoreError{StoreError::Kind::Write, dataPath, cause, {}};
    };
    if (!Cp932::Available())
        return refused(StoreError::Cause::NoConverter);
    auto newData = DataFile::Format(position, entries);
    if (!newData)
        return refused(StoreError::Cause::UnstorableText);
    if (auto error = CheckPinnedFolder(programDirectory_, pin_))
        return *error;

    // A data file that has gone missing has nothing to back up; the entries are still saved.
    auto read = ReadDataFile();
    if (auto* error = std::get_if<StoreError>(&read))
        return std::move(*error);
    const std::optional<QByteArray> oldData = std::get<std::optional<QByteArray>>(read);

    Saved saved;
    auto keep = [&](const QByteArray& other) -> std::optional<StoreError> {
        auto kept = KeepCopy(dataPath, other);
        if (auto* error = std::get_if<StoreError>(&kept))
            return std::move(*error);
        saved.keptVersions << std::get<QString>(kept);
        return std::nullopt;
    };
    const bool changed = entries != entries_;
    if (oldData && *oldData != read_ && *oldData != *newData) {
        // Another program's version: a moved window is not worth replacing it for.
        if (!changed)
            return saved;
        if (auto error = keep(*oldData))
            return *error;
    }

    // The backup takes the entries as the session had them, whatever else the disk held.
    std::vector<PendingWrite> writes;
    if (oldData && changed)
        writes.push_back({BackupPath(), read_});
    if (oldData != newData)
        writes.push_back({dataPath, *newData});
    // Once more just before the renames: a version put in place while the temporaries were
    // written would otherwise be replaced unseen.
    auto checkAgain = [&]() -> std::optional<StoreError> {
        if (auto error = CheckPinnedFolder(programDirectory_, pin_))
            return error;
        auto now = ReadDataFile();
        if (auto* error = std::get_if<StoreError>(&now))
            return std::move(*error);
        const auto& nowData = std::get<std::optional<QByteArray>>(now);
        if (nowData && nowData != oldData && *nowData != *newData)
            return keep(*nowData);
        return std::nullopt;
    };
    if (!writes.empty()) {
        if (auto error = AtomicWriteAll(writes, checkAgain))
            return *error;
    }
    entries_ = entries;
    position_ = position;
    read_ = std::move(*newData);
    return saved;
}

std::variant<DataSession::Saved, StoreError> DataSession::SaveAtClose(DataFile::Position position)
{
    return SaveData(position, entries_);
}
