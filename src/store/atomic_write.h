#pragma once

#include "store_error.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

struct PendingWrite {
    QString path;
    QByteArray bytes;
};

// Writes files that only their owner may read (they hold passwords in plain text), each
// through a temporary file renamed into place, so that no reader ever sees a partial file.
//
// All the temporaries are written out before the first rename. Should a later rename still
// fail, the files already renamed are given their earlier contents back, so a failed call
// leaves every file as it was.
std::optional<StoreError> AtomicWriteAll(const std::vector<PendingWrite>& writes);

// Reads the whole of a regular file of at most kMaxDataFileSize bytes, through a link only
// when `followLinks`. Anything else is refused without blocking: a pipe, a device or a
// directory. A read that fails after some bytes is an error, even where the system would
// hand back the part it got.
std::optional<StoreError> ReadWholeFile(const QString& path, QByteArray& bytes,
                                        bool followLinks = true);

inline std::optional<StoreError> AtomicWrite(const QString& path, const QByteArray& bytes)
{
    return AtomicWriteAll({{path, bytes}});
}
