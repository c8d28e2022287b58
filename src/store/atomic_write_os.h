#pragma once

// What writing a file safely takes of each system (atomic_write_unix.cpp, _win.cpp).

#include "store_error.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Why a file operation of SaveFolder did not happen.
struct OsFailure {
    enum class Kind {
        Other,       // the system refused; `reason` says why
        NameTaken,   // a file, a folder or a link already has the name
        Missing,     // there is nothing to exchange with
        Unsupported, // this file system cannot exchange two names
    };
    Kind kind = Kind::Other;
    QString reason;
};
using OsResult = std::optional<OsFailure>;

// A folder files are written in. Held open where the system allows it (Linux), so that
// every name the save creates, renames or removes lies in the folder opened, even when
// another folder is put at its path meanwhile: nothing of a save is left elsewhere.
class SaveFolder {
public:
    explicit SaveFolder(const QString& path);
    ~SaveFolder();
    SaveFolder(const SaveFolder&) = delete;
    SaveFolder& operator=(const SaveFolder&) = delete;

    const QString& Path() const { return path_; }
    // Why the folder could not be opened; nullopt when it was.
    const std::optional<QString>& OpenError() const { return openError_; }

    // Creates `name`, readable and writable by the owner only from its first byte, never
    // over an existing name nor through a link; writes `bytes` and puts them on the disk.
    // A file that cannot be written whole is removed again.
    OsResult Create(const QString& name, const QByteArray& bytes);
    // Renames `from` to `to`, replacing what stands there.
    OsResult Replace(const QString& from, const QString& to);
    // Puts `from` in the place of `to` in one step, keeping what stood at `to` at that very
    // instant under the name it sets `displaced` to (on Linux the two names swap).
    OsResult Exchange(const QString& from, const QString& to, QString& displaced);
    // Renames `from` to `to` only where nothing has that name.
    OsResult RenameToNew(const QString& from, const QString& to);
    bool Remove(const QString& name);
    // Leaves a file another program made (a version displaced and kept) to its owner alone,
    // as the start does with the data file.
    void Tighten(const QString& name);
    // A rename is only durable once the folder holding the name is on disk too. The files
    // are in place by then: a failure here cannot be undone, and is not reported.
    void Sync();

private:
    QString path_;
    std::optional<QString> openError_;
    long long handle_ = -1;
};

// One read of the system's: at most `most` bytes into `into`; the count, 0 at the end, or -1
// with `reason` set.
using ReadSome = std::function<qint64(char* into, qint64 most, QString& reason)>;

// Reads until `bytes` holds `most` bytes or the file ends; false with `reason` on a failure.
bool ReadUpTo(QByteArray& bytes, qint64 most, const ReadSome& readSome, QString& reason);

// A read of `path` that failed for `cause`.
inline StoreError ReadFailure(const QString& path, StoreError::Cause cause,
                              const QString& reason = {})
{
    return StoreError{StoreError::Kind::Read, path, cause, reason};
}

// The whole of a regular file that was `size` bytes long when it was opened, into `bytes`;
// one over `maxSize` is refused unread.
std::optional<StoreError> ReadSized(const QString& path, qint64 size, qint64 maxSize,
                                    const ReadSome& readSome, QByteArray& bytes);

// A name for a temporary beside `name`: a dot and six letters or digits, as the start's
// clean-up knows them.
QString TemporaryName(const QString& name);
