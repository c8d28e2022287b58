#pragma once

#include "store_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

struct PendingWrite {
    QString path;
    QByteArray bytes;
    // Set for a file that another program may write too: it is put in place by an exchange
    // that keeps whatever stood there at that instant. Given what was displaced, this says
    // whether it is known: nullopt, it is not, and is kept under a name of its own
    // (KeepCopy's); an empty name, it is the caller's own and goes; else the name of a copy
    // of it already kept, whose place it takes, so that a program still writing it in place
    // finishes it there.
    std::function<std::optional<QString>(const QByteArray&)> known = {};
};

// Writes files that only their owner may read (they hold passwords in plain text), each
// through a temporary file created owner-only and renamed into place, so that no reader
// ever sees a partial file.
//
// All the temporaries are written out before the first rename; `beforeRename`, if given,
// is asked then, and an error from it stops the call with nothing renamed. Should a later
// rename still fail, the files already renamed are given their earlier contents back, so a
// failed call leaves every file as it was; no temporary is left, whatever folder it is in.
// The folders are flushed after the renames. Versions displaced by an exchange and kept are
// added to `caught`: another program may have been writing them, so they may be partial.
using BeforeRename = std::function<std::optional<StoreError>()>;
std::optional<StoreError> AtomicWriteAll(const std::vector<PendingWrite>& writes,
                                         const BeforeRename& beforeRename = {},
                                         QStringList* caught = nullptr);

// Reads the whole of a regular file of at most `maxSize` bytes, through a link only when
// `followLinks`. Anything else is refused without blocking: a pipe, a device or a
// directory. A read that fails after some bytes is an error, even where the system would
// hand back the part it got.
std::optional<StoreError> ReadWholeFile(const QString& path, QByteArray& bytes,
                                        bool followLinks = true, qint64 maxSize = kMaxDataFileSize);

// Writes `bytes` to a new file named `path`, a dot and the local date and time
// (Cofferly.Dat.20261207-211503, with "-2" and on when that name is taken), readable by the
// owner only, and returns its path. An existing file is never replaced.
std::variant<QString, StoreError> KeepCopy(const QString& path, const QByteArray& bytes);

// Removes the files at `paths` that are there, in that order, then flushes their folders:
// a set of files given up one by one, so that an interruption leaves the later ones.
std::optional<StoreError> RemoveFiles(const QStringList& paths);

inline std::optional<StoreError> AtomicWrite(const QString& path, const QByteArray& bytes)
{
    return AtomicWriteAll({{path, bytes}});
}
