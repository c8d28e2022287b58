// Turning encryption on and off, the password change, the lock. Each writes the new set
// whole and reads it back before the old one goes, so a kill leaves one whole set.
#include "data_session.h"

#include "atomic_write.h"
#include "data_folder.h"

#include <QFileInfo>

namespace {

StoreError SealError(StoreError::Kind kind, const QString& path, SealedFile::Refusal refusal)
{
    StoreError error{kind, path, StoreError::Cause::SealRefused, {}};
    error.seal = refusal;
    return error;
}

bool Exists(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// The plain bytes of the sealed file at `path` under `key`; nullopt when it is not there or
// does not open with it (a backup of another set, or damaged).
std::optional<QByteArray> OpenedWith(const SealKey& key, const QString& path)
{
    QByteArray sealed;
    if (!Exists(path) || ReadWholeFile(path, sealed))
        return std::nullopt;
    auto opened = SealedFile::Open(key, sealed);
    if (auto* plain = std::get_if<QByteArray>(&opened))
        return std::move(*plain);
    return std::nullopt;
}

} // namespace

std::optional<StoreError> DataSession::WriteAndCompare(const std::vector<PendingWrite>& writes,
                                                       const SealKey* key,
                                                       const QList<QByteArray>& plains) const
{
    auto check = [this]() -> std::optional<StoreError> {
        if (auto error = CheckPinnedFolder(programDirectory_, pin_, SavedFiles::Data))
            return error;
        return CheckPinnedFolder(programDirectory_, pin_, SavedFiles::Encrypted);
    };
    if (auto error = AtomicWriteAll(writes, check))
        return error;
    for (size_t i = 0; i < writes.size(); ++i) {
        const QString& path = writes[i].path;
        QByteArray back;
        if (auto error = ReadWholeFile(path, back))
            return error;
        if (back != writes[i].bytes)
            return StoreError{StoreError::Kind::Read, path, StoreError::Cause::ReadIncomplete, {}};
        if (!key)
            continue;
        const auto opened = SealedFile::Open(*key, back);
        if (!std::holds_alternative<QByteArray>(opened) ||
            std::get<QByteArray>(opened) != plains.value(qsizetype(i)))
            return SealError(StoreError::Kind::Read, path, SealedFile::Refusal::NotOpened);
    }
    return std::nullopt;
}

std::optional<StoreError> DataSession::KeepOthersVersion() const
{
    auto now = DataFileNow();
    if (auto* error = std::get_if<StoreError>(&now))
        return std::move(*error);
    const auto& bytes = std::get<std::optional<QByteArray>>(now);
    if (!bytes || *bytes == read_)
        return std::nullopt;
    auto kept = KeepCopy(DataPath(), *bytes);
    if (auto* error = std::get_if<StoreError>(&kept))
        return std::move(*error);
    return std::nullopt;
}

std::variant<QStringList, StoreError> DataSession::TurnOnEncryption(QStringView password)
{
    if (sealing_) {
        if (auto error = ChangePassword(password))
            return *error;
        return PlainKeptCopies();
    }
    const QString dataPath = EncryptedPath(programDirectory_);
    const QString backupPath = EncryptedBackupPath(programDirectory_);
    if (auto error = CheckPinnedFolder(programDirectory_, pin_, SavedFiles::Data))
        return *error;
    const SealedFile::Header header = SealedFile::NewHeader();
    auto key = DeriveKey(password, header.salt, header.cost);
    if (!key)
        return SealError(StoreError::Kind::Write, dataPath, SealedFile::Refusal::NoMemory);
    if (auto error = KeepOthersVersion())
        return *error;
    std::vector<PendingWrite> writes;
    QList<QByteArray> plains;
    if (Exists(BackupPath())) {
        QByteArray backup;
        if (auto error = ReadWholeFile(BackupPath(), backup))
            return *error;
        writes.push_back({backupPath, SealedFile::Seal(*key, header, backup)});
        plains << backup;
    } else if (auto error = RemoveFiles({backupPath})) {
        return *error; // a sealed backup of another set, left by a turn-on cut short
    }
    writes.push_back({dataPath, SealedFile::Seal(*key, header, read_)});
    plains << read_;
    if (auto error = WriteAndCompare(writes, &*key, plains)) {
        RemoveFiles({dataPath, backupPath});
        return *error;
    }
    // The encrypted set is whole from here on; the plain files go, the backup first.
    const QStringList plainFiles{BackupPath(), DataPath()};
    sealing_ = Sealing{std::move(*key), header, read_};
    read_ = writes.back().bytes;
    wrote_ = true;
    if (auto error = RemoveFiles(plainFiles))
        return *error;
    return PlainKeptCopies();
}

std::optional<StoreError> DataSession::TurnOffEncryption()
{
    if (!sealing_)
        return std::nullopt;
    if (Locked())
        return Refusal(DataPath(), StoreError::Cause::Locked);
    if (auto error = KeepOthersVersion())
        return error;
    const QString dataPath = ::DataPath(programDirectory_);
    const QString backupPath = ::BackupPath(programDirectory_);
    // A plain file left beside the encrypted one at the start is kept, never overwritten.
    QByteArray beside;
    if (Exists(dataPath) && !ReadWholeFile(dataPath, beside) && beside != sealing_->plain) {
        auto kept = KeepCopy(dataPath, beside);
        if (auto* error = std::get_if<StoreError>(&kept))
            return std::move(*error);
    }
    std::vector<PendingWrite> writes;
    if (auto backup = OpenedWith(sealing_->key, BackupPath()))
        writes.push_back({backupPath, std::move(*backup)});
    else if (auto error = RemoveFiles({backupPath}))
        return error; // not the backup of these entries
    writes.push_back({dataPath, sealing_->plain});
    if (auto error = WriteAndCompare(writes))
        return error;
    const QStringList sealedFiles{DataPath(), BackupPath()};
    read_ = std::move(sealing_->plain);
    sealing_.reset(); // and the key with it
    wrote_ = true;
    return RemoveFiles(sealedFiles);
}

std::optional<StoreError> DataSession::ChangePassword(QStringView password)
{
    if (!sealing_)
        return std::nullopt;
    if (Locked())
        return Refusal(DataPath(), StoreError::Cause::Locked);
    const SealedFile::Header header = SealedFile::NewHeader();
    auto key = DeriveKey(password, header.salt, header.cost);
    if (!key)
        return SealError(StoreError::Kind::Write, DataPath(), SealedFile::Refusal::NoMemory);
    if (auto error = KeepOthersVersion())
        return error;
    std::vector<PendingWrite> writes;
    QList<QByteArray> plains;
    // A backup that does not open with the old key is not this set's: it stays as it is.
    if (auto backup = OpenedWith(sealing_->key, BackupPath())) {
        writes.push_back({BackupPath(), SealedFile::Seal(*key, header, *backup)});
        plains << *backup;
    }
    writes.push_back({DataPath(), SealedFile::Seal(*key, header, sealing_->plain)});
    plains << sealing_->plain;
    if (auto error = WriteAndCompare(writes, &*key, plains))
        return error;
    sealing_->key = std::move(*key);
    sealing_->header = header;
    read_ = writes.back().bytes;
    wrote_ = true;
    return std::nullopt;
}

void DataSession::Lock()
{
    if (sealing_)
        sealing_->key.Wipe();
}

std::optional<StoreError> DataSession::Unlock(QStringView password)
{
    if (!sealing_)
        return std::nullopt;
    // What the session last read or wrote: the disk may hold another program's version.
    auto unlocked = SealedFile::Unlock(password, read_);
    if (auto* refused = std::get_if<SealedFile::Refusal>(&unlocked))
        return SealError(StoreError::Kind::Read, DataPath(), *refused);
    auto& opened = std::get<SealedFile::Unlocked>(unlocked);
    sealing_->key = std::move(opened.key);
    sealing_->header = opened.header;
    return std::nullopt;
}
