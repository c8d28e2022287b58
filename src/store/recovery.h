#pragma once

#include "store_error.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What a start can offer for a data file it cannot read: the backup beside it, or the
// file's own texts when an editor saved them as UTF-8 (as Notepad does by default).

// The data file `bytes` as code page 932, when they are UTF-8 (with or without the mark
// editors put first) whose every character code page 932 holds faithfully, and read whole
// as a data file once converted; nullopt otherwise.
std::optional<QByteArray> FromEditorUtf8(const QByteArray& bytes);

// The backup's bytes when it reads whole as a data file; nullopt otherwise.
std::optional<QByteArray> BackupThatReads(const QString& programDirectory);

// Keeps the `unreadable` bytes of the data file at `dataPath` (plain or encrypted) under a
// name of their own (KeepCopy), then puts `replacement` in its place; returns the kept
// copy's path. The unreadable version is never lost: nothing is replaced unless it was
// kept first.
std::variant<QString, StoreError> ReplaceKeeping(const QString& dataPath,
                                                 const QByteArray& unreadable,
                                                 const QByteArray& replacement);
