// The start over the encrypted data file: the password, a damaged file beside a good
// backup, the backup alone, a plain data file beside it.
#include "data_session.h"

#include "atomic_write.h"
#include "data_folder.h"
#include "recovery.h"

#include <QFileInfo>

namespace {

struct OpenedFile {
    QByteArray sealed; // the file as read
    SealedFile::Header header;
    QByteArray plain;
    DataFile::Contents contents;
};

StoreError SealError(const QString& path, SealedFile::Refusal refusal)
{
    StoreError error{StoreError::Kind::Read, path, StoreError::Cause::SealRefused, {}};
    error.seal = refusal;
    return error;
}

// One password tried on the files of a start. The key is derived once for each salt and
// cost met, and both files of a set share them: a wrong password costs one derivation.
class PasswordTrial {
public:
    explicit PasswordTrial(QStringView password) : password_(password) {}

    // The encrypted file at `path` read, opened and parsed by the one reader.
    std::variant<OpenedFile, StoreError> Open(const QString& path)
    {
        OpenedFile file;
        if (auto error = ReadWholeFile(path, file.sealed))
            return *error;
        const auto header = SealedFile::ReadHeader(file.sealed);
        if (const auto* refused = std::get_if<SealedFile::Refusal>(&header))
            return SealError(path, *refused);
        file.header = std::get<SealedFile::Header>(header);
        if (!key_.IsSet() || file.header.salt != salt_ || !(file.header.cost == cost_)) {
            auto derived = DeriveKey(password_, file.header.salt, file.header.cost);
            if (!derived)
                return SealError(path, SealedFile::Refusal::NoMemory);
            key_ = std::move(*derived);
            salt_ = file.header.salt;
            cost_ = file.header.cost;
        }
        auto opened = SealedFile::Open(key_, file.sealed);
        if (const auto* refused = std::get_if<SealedFile::Refusal>(&opened))
            return SealError(path, *refused);
        file.plain = std::get<QByteArray>(std::move(opened));
        auto parsed = ParseDataFile(path, file.plain);
        if (auto* error = std::get_if<StoreError>(&parsed))
            return std::move(*error);
        file.contents = std::get<Loaded>(std::move(parsed)).contents;
        return file;
    }

    // The key of the file last opened.
    SealKey TakeKey() { return std::move(key_); }

private:
    QStringView password_;
    SealKey key_;
    Salt salt_{};
    KdfCost cost_;
};

} // namespace

std::variant<DataSession, DataSession::Asking, StoreError>
DataSession::OpenEncrypted(const QString& programDirectory, const FolderPin& pin, bool backupOnly,
                           const Answers& answers)
{
    if (backupOnly && !answers.restoreBackup)
        return Asking{Question::RestoreBackup, std::nullopt};
    if (answers.password.isEmpty())
        return Asking{Question::Password, std::nullopt};
    // A refusal of the seal asks for the password again; any other failure ends here.
    auto askAgain = [](StoreError error) -> std::variant<DataSession, Asking, StoreError> {
        if (error.cause == StoreError::Cause::SealRefused)
            return Asking{Question::Password, std::move(error)};
        return error;
    };
    const QString dataPath = EncryptedPath(programDirectory);
    PasswordTrial trial(answers.password);
    auto opened =
        backupOnly ? trial.Open(EncryptedBackupPath(programDirectory)) : trial.Open(dataPath);
    if (auto* failed = std::get_if<StoreError>(&opened)) {
        if (failed->cause != StoreError::Cause::SealRefused &&
            failed->cause != StoreError::Cause::Damaged)
            return std::move(*failed);
        const QString backupPath = EncryptedBackupPath(programDirectory);
        auto backup = backupOnly || !QFileInfo::exists(backupPath)
                          ? std::variant<OpenedFile, StoreError>(*failed)
                          : trial.Open(backupPath);
        if (!std::holds_alternative<OpenedFile>(backup))
            return askAgain(std::move(*failed));
        if (!answers.openBackup)
            return Asking{Question::OpenBackup, std::move(*failed)};
        QByteArray unreadable;
        if (auto error = ReadWholeFile(dataPath, unreadable))
            return *error;
        auto kept = ReplaceKeeping(dataPath, unreadable, std::get<OpenedFile>(backup).sealed);
        if (auto* error = std::get_if<StoreError>(&kept))
            return std::move(*error);
        opened = std::move(backup);
    } else if (backupOnly) {
        if (auto error = AtomicWrite(dataPath, std::get<OpenedFile>(opened).sealed))
            return *error;
    }
    OpenedFile& file = std::get<OpenedFile>(opened);
    DataSession session(programDirectory, pin, std::move(file.contents), std::move(file.sealed),
                        Sealing{trial.TakeKey(), file.header, std::move(file.plain)});
    if (!QFileInfo::exists(::DataPath(programDirectory)))
        return session;
    if (!answers.importPlain)
        return Asking{Question::PlainBeside, std::nullopt};
    if (*answers.importPlain) {
        if (auto error = session.ImportPlainBeside())
            return *error;
    }
    return session;
}

std::optional<StoreError> DataSession::ImportPlainBeside()
{
    const QString plainPath = ::DataPath(programDirectory_);
    auto read = ReadDataFile(plainPath);
    if (auto* error = std::get_if<StoreError>(&read))
        return std::move(*error);
    Loaded& plain = std::get<Loaded>(read);
    // The same bytes are a turn-on or turn-off cut short: there is nothing to take in.
    if (plain.bytes != sealing_->plain) {
        auto kept = KeepCopy(DataPath(), read_);
        if (auto* error = std::get_if<StoreError>(&kept))
            return std::move(*error);
        auto saved = SaveData(plain.contents.position, plain.contents.entries);
        if (auto* error = std::get_if<StoreError>(&saved))
            return std::move(*error);
    }
    return RemoveFiles({::BackupPath(programDirectory_), plainPath});
}
