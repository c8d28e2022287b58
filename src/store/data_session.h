#pragma once

#include "atomic_write.h"
#include "data_file.h"
#include "entry.h"
#include "folder_guard.h"
#include "sealed_file.h"
#include "store_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

struct SavePlan;

// The user's data for one run of the program: the entries as last read or written, the
// position stored with them, and the bytes the data file held then. Every change goes
// through it, so what the store decides (the backup rule, another program's version kept,
// texts the file cannot hold) is decided in one place, and the windows only show it.
class DataSession {
public:
    // What Open() leaves to the user before it can go on.
    enum class Question {
        RestoreBackup,   // the data file is missing beside its backup: put the backup back?
        OpenBackup,      // the data file cannot be read, its backup can: open the backup?
        ConvertFromUtf8, // an editor saved the data file as UTF-8: convert it back?
        Password,        // the encrypted data file is there: its password? (`unreadable`
                         // says why the last one did not open it)
        PlainBeside,     // a plain data file stands beside the encrypted one: import it?
    };
    struct Asking {
        Question question;
        // Why the data file could not be read (OpenBackup, ConvertFromUtf8)
        std::optional<StoreError> unreadable;
    };
    struct Answers {
        bool restoreBackup = false;
        bool openBackup = false;
        bool convertFromUtf8 = false;
        // The password typed for the encrypted data file; empty while not asked.
        QString password{};
        // A plain data file beside the encrypted one: nullopt while not asked, true to
        // import its entries (the encrypted version kept under a name of its own first),
        // false to leave it where it is.
        std::optional<bool> importPlain{};
    };

    // Opens the program directory's data file. A first start writes the default file:
    // `firstPosition`, then one group entry titled `newGroupTitle`. A data file missing
    // beside its backup is never replaced by the default, and a data file that cannot be
    // read is replaced only by its backup or its own texts from UTF-8, kept under a name of
    // its own first: Open() returns the question, and is called again with the user's
    // answer. Nothing is written on an error.
    static std::variant<DataSession, Asking, StoreError> Open(const QString& programDirectory,
                                                              DataFile::Position firstPosition,
                                                              const QString& newGroupTitle,
                                                              Answers answers);

    const QString& ProgramDirectory() const { return programDirectory_; }
    // The folder as it stood when the session opened; the settings file is saved there too.
    const FolderPin& Pin() const { return pin_; }
    // Cofferly.Enc and Cofferly.Enc.bak in place of Cofferly.Dat and Cofferly.bak.
    bool Encrypted() const { return sealing_.has_value(); }
    // Encrypted, with the key wiped: nothing can be saved until Unlock().
    bool Locked() const { return sealing_ && !sealing_->key.IsSet(); }
    QString DataPath() const;
    QString BackupPath() const;
    const Entries& Table() const { return entries_; }
    DataFile::Position StoredPosition() const { return position_; }

    struct SaveReport {
        // Versions of the data file that another program wrote since the session last
        // read or wrote it, each kept under a name of its own (KeepCopy()) before the save.
        QStringList keptVersions;
        // Versions another program put in place at the very instant of the save, caught by
        // the exchange and kept: one written in place may have been caught half way.
        QStringList caughtVersions;
        // The session's own last save, kept under a name of its own by a save that writes
        // nothing because another program's version replaced it; empty when not needed.
        QString ownVersion;
    };

    // Rewrites the data file with `position` and `entries` in the folder the session
    // opened, refusing a save when another folder or a new link stands there. A version of
    // the data file that another program wrote since the session read it is never
    // replaced: a save that changes no entry leaves it as it is and writes nothing; any
    // other save keeps it under a name of its own first, and so does a save that finds
    // another version arriving just before its renames. When the entries change, the
    // entries as the session last had them go to the backup, so the backup keeps the
    // entries as they stood before the last real change. Either every file takes its new
    // contents and the session holds them, or nothing changes, on disk or here (a kept
    // version stays kept). The data file is replaced by an exchange, so whatever stands
    // there at that instant is kept too. A save that writes nothing because of another
    // program's version keeps the session's own last save, when it is no longer on disk.
    std::variant<SaveReport, StoreError> SaveData(DataFile::Position position,
                                                  const Entries& entries);

    // The close: the entries as they stand, with the window's last position.
    std::variant<SaveReport, StoreError> SaveAtClose(DataFile::Position position);

    // Turning encryption on with `password`: Cofferly.Enc.bak from the backup and
    // Cofferly.Enc from the entries, both read back and compared, and only then the plain
    // files removed. A kill at any moment leaves one whole set. Returns the plain kept
    // copies still in the folder (PlainKeptCopies()).
    std::variant<QStringList, StoreError> TurnOnEncryption(QStringView password);
    // Turning it off: the plain files written back, then the encrypted ones removed.
    std::optional<StoreError> TurnOffEncryption();
    // Both encrypted files sealed again under a key from `password` with a fresh salt.
    std::optional<StoreError> ChangePassword(QStringView password);
    // Wipes the key; the entries stay with the session, the window hides them.
    void Lock();
    // A key from `password` that opens what the session last read or wrote; a refusal is
    // SealRefused and leaves the session locked.
    std::optional<StoreError> Unlock(QStringView password);
    // The plain data file's bytes (code page 932) written to `path`, readable by the user
    // alone: the way back to older tools.
    std::optional<StoreError> ExportLegacy(const QString& path) const;
    // The entries of the plain data file at `path` replace the session's; the version they
    // replace is kept under a name of its own first (SaveReport::ownVersion).
    std::variant<SaveReport, StoreError> ImportLegacy(const QString& path);
    // The names of the plain kept copies (Cofferly.Dat.YYYYMMDD-HHMMSS) in the folder.
    QStringList PlainKeptCopies() const;
    // Removes those of `names` that are plain kept copies in the folder.
    std::optional<StoreError> RemoveKeptCopies(const QStringList& names);

private:
    // What an encrypted session holds besides the sealed bytes.
    struct Sealing {
        SealKey key;               // wiped while locked
        SealedFile::Header header; // the salt and cost the key was derived with
        QByteArray plain;          // the plain bytes sealed in read_

        Sealing(SealKey k, const SealedFile::Header& h, QByteArray p)
            : key(std::move(k)), header(h), plain(std::move(p))
        {
        }
        // A copy of the session holds the key in guarded memory of its own.
        Sealing(const Sealing& other)
            : key(other.key.Duplicate()), header(other.header), plain(other.plain)
        {
        }
        Sealing& operator=(const Sealing& other)
        {
            if (this != &other)
                *this = Sealing(other);
            return *this;
        }
        Sealing(Sealing&&) = default;
        Sealing& operator=(Sealing&&) = default;
    };

    DataSession(const QString& programDirectory, const FolderPin& pin, DataFile::Contents contents,
                QByteArray read, std::optional<Sealing> sealing = std::nullopt);

    // Open() with an encrypted data file, or its backup alone (`backupOnly`).
    static std::variant<DataSession, Asking, StoreError>
    OpenEncrypted(const QString& programDirectory, const FolderPin& pin, bool backupOnly,
                  const Answers& answers);
    // The plain data file beside the encrypted one taken in, then removed with its backup.
    std::optional<StoreError> ImportPlainBeside();

    // What a save writes for the data file's `plain` bytes: sealed when encrypted, and then
    // the bytes last read or written again when nothing changed (a fresh nonce would make
    // every save differ from the disk).
    QByteArray Sealed(const QByteArray& plain) const;
    // The plain bytes of read_.
    const QByteArray& Plain() const { return sealing_ ? sealing_->plain : read_; }
    SavedFiles Saved() const { return sealing_ ? SavedFiles::Encrypted : SavedFiles::Data; }
    // A refusal to write `path` for `cause`.
    static StoreError Refusal(const QString& path, StoreError::Cause cause);
    // Writes `writes` (the folder and its links checked just before the renames), then reads
    // every file back: it must hold the bytes written and, given `key`, open to `plains`'.
    std::optional<StoreError> WriteAndCompare(const std::vector<PendingWrite>& writes,
                                              const SealKey* key = nullptr,
                                              const QList<QByteArray>& plains = {}) const;
    // Keeps the data file on disk under a name of its own when it is not read_.
    std::optional<StoreError> KeepOthersVersion() const;

    // The check just before a save's renames; what it keeps goes into `round`.
    struct Round; // what one save has seen and kept
    BeforeRename CheckBeforeRenames(Round& round) const;
    // Does what `plan` says: keeps versions, writes the files.
    std::optional<StoreError> Carry(const SavePlan& plan, Round& round);
    // Keeps read_, a save of this session's, under a name of its own.
    std::optional<StoreError> KeepOwnVersion(SaveReport& report);

    // The data file as it is now; nullopt when it is not there.
    std::variant<std::optional<QByteArray>, StoreError> DataFileNow() const;

    QString programDirectory_;
    FolderPin pin_;
    Entries entries_;
    DataFile::Position position_;
    QByteArray read_;                // the data file's bytes as last read or written
    bool wrote_ = false;             // read_ is a save of this session's own
    std::optional<Sealing> sealing_; // set while the data files are the encrypted ones
};
