#include "data_session.h"

#include "atomic_write.h"
#include "cp932.h"
#include "data_folder.h"
#include "recovery.h"
#include "save_plan.h"

#include <QFileInfo>

DataSession::DataSession(const QString& programDirectory, const FolderPin& pin,
                         DataFile::Contents contents, QByteArray read,
                         std::optional<Sealing> sealing)
    : programDirectory_(programDirectory), pin_(pin), entries_(std::move(contents.entries)),
      position_(contents.position), read_(std::move(read)), sealing_(std::move(sealing))
{
}

QString DataSession::DataPath() const
{
    return sealing_ ? EncryptedPath(programDirectory_) : ::DataPath(programDirectory_);
}

QString DataSession::BackupPath() const
{
    return sealing_ ? EncryptedBackupPath(programDirectory_) : ::BackupPath(programDirectory_);
}

StoreError DataSession::Refusal(const QString& path, StoreError::Cause cause)
{
    return StoreError{StoreError::Kind::Write, path, cause, {}};
}

QByteArray DataSession::Sealed(const QByteArray& plain) const
{
    if (!sealing_)
        return plain;
    if (plain == sealing_->plain)
        return read_;
    return SealedFile::Seal(sealing_->key, sealing_->header, plain);
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
    switch (const StartFiles files = FindDataFiles(programDirectory)) {
    case StartFiles::Encrypted:
    case StartFiles::EncryptedBackupOnly:
        return OpenEncrypted(programDirectory, std::get<FolderPin>(pinned),
                             files == StartFiles::EncryptedBackupOnly, answers);
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
    auto loaded = ReadStoredData(programDirectory);
    if (auto* failed = std::get_if<StoreError>(&loaded)) {
        const auto offer = OfferFor(programDirectory, *failed);
        if (!offer)
            return std::move(*failed);
        if (!Accepted(*offer, answers))
            return Asking{offer->question, std::move(*failed)};
        auto kept =
            ReplaceKeeping(::DataPath(programDirectory), offer->unreadable, offer->replacement);
        if (auto* keptError = std::get_if<StoreError>(&kept))
            return std::move(*keptError);
        loaded = ReadStoredData(programDirectory);
        if (auto* still = std::get_if<StoreError>(&loaded))
            return std::move(*still);
    }
    Loaded& read = std::get<Loaded>(loaded);
    return DataSession(programDirectory, std::get<FolderPin>(pinned), std::move(read.contents),
                       std::move(read.bytes));
}

std::variant<std::optional<QByteArray>, StoreError> DataSession::DataFileNow() const
{
    const QString dataPath = DataPath();
    if (!QFileInfo::exists(dataPath) && !QFileInfo(dataPath).isSymLink())
        return std::nullopt;
    QByteArray bytes;
    // A link put there since the start is refused, not read through.
    if (auto error = ReadWholeFile(dataPath, bytes, sealing_ ? pin_.encryptedLink : pin_.dataLink))
        return *error;
    return bytes;
}

// What one save has seen and kept of other programs' versions.
struct DataSession::Round {
    QString dataPath;
    std::optional<QByteArray> oldData; // the data file as the save found it
    QByteArray newData;
    DataSession::SaveReport report;
    std::vector<std::pair<QByteArray, QString>> copies; // versions kept, and where

    std::optional<StoreError> Keep(const QByteArray& other)
    {
        auto kept = KeepCopy(dataPath, other);
        if (auto* error = std::get_if<StoreError>(&kept))
            return std::move(*error);
        report.keptVersions << std::get<QString>(kept);
        copies.emplace_back(other, std::get<QString>(kept));
        return std::nullopt;
    }

    // What the exchange displaced: the session's own (to go), a version already kept (its
    // copy's name), or one nobody has seen.
    std::optional<QString> Known(const QByteArray& displaced, const QByteArray& own) const
    {
        if (displaced == own || displaced == newData)
            return QString();
        for (const auto& [bytes, name] : copies)
            if (displaced == bytes)
                return name;
        return std::nullopt;
    }
};

std::variant<DataSession::SaveReport, StoreError> DataSession::SaveData(DataFile::Position position,
                                                                        const Entries& entries)
{
    Round round{DataPath(), {}, {}, {}, {}};
    if (Locked())
        return Refusal(round.dataPath, StoreError::Cause::Locked);
    if (!Cp932::Available())
        return Refusal(round.dataPath, StoreError::Cause::NoConverter);
    auto newData = DataFile::Format(position, entries);
    if (!newData)
        return Refusal(round.dataPath, StoreError::Cause::UnstorableText);
    round.newData = Sealed(*newData);
    if (auto error = CheckPinnedFolder(programDirectory_, pin_, Saved()))
        return *error;
    auto now = DataFileNow();
    if (auto* error = std::get_if<StoreError>(&now))
        return std::move(*error);
    round.oldData = std::get<std::optional<QByteArray>>(std::move(now));

    const SavePlan plan =
        PlanSave({entries_, read_, wrote_}, round.oldData, entries, round.newData);
    if (auto error = Carry(plan, round))
        return *error;
    if (plan.TakesNewEntries()) {
        entries_ = entries;
        position_ = position;
        read_ = std::move(round.newData);
        wrote_ = true;
        if (sealing_)
            sealing_->plain = std::move(*newData);
    }
    return round.report;
}

std::optional<StoreError> DataSession::Carry(const SavePlan& plan, Round& round)
{
    switch (plan.kind) {
    case SavePlan::Kind::LeaveAlone:
        return std::nullopt;
    case SavePlan::Kind::KeepOwnVersion:
        return KeepOwnVersion(round.report);
    case SavePlan::Kind::KeepOthersFirst:
        if (auto error = round.Keep(*round.oldData))
            return error;
        break;
    case SavePlan::Kind::Write:
        break;
    }
    // The backup takes the entries as the session had them, whatever else the disk held.
    std::vector<PendingWrite> writes;
    if (plan.backup)
        writes.push_back({BackupPath(), read_});
    if (plan.data) {
        writes.push_back({round.dataPath, round.newData});
        writes.back().known = [&](const QByteArray& displaced) {
            return round.Known(displaced, read_);
        };
    }
    if (writes.empty())
        return std::nullopt;
    return AtomicWriteAll(writes, CheckBeforeRenames(round), &round.report.caughtVersions);
}

// Once more just before the renames: a version put in place while the temporaries were
// written is kept whole here; the exchange catches one arriving after this read.
BeforeRename DataSession::CheckBeforeRenames(Round& round) const
{
    return [this, &round]() -> std::optional<StoreError> {
        if (auto error = CheckPinnedFolder(programDirectory_, pin_, Saved()))
            return error;
        auto now = DataFileNow();
        if (auto* error = std::get_if<StoreError>(&now))
            return std::move(*error);
        const auto& nowData = std::get<std::optional<QByteArray>>(now);
        if (nowData && nowData != round.oldData && *nowData != round.newData)
            return round.Keep(*nowData);
        return std::nullopt;
    };
}

std::optional<StoreError> DataSession::KeepOwnVersion(SaveReport& report)
{
    auto kept = KeepCopy(DataPath(), read_);
    if (auto* error = std::get_if<StoreError>(&kept))
        return std::move(*error);
    report.ownVersion = std::get<QString>(kept);
    wrote_ = false; // on disk again, under its own name
    return std::nullopt;
}

std::variant<DataSession::SaveReport, StoreError>
DataSession::SaveAtClose(DataFile::Position position)
{
    return SaveData(position, entries_);
}
