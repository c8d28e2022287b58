#pragma once

// What writing a file safely takes of each system (atomic_write_unix.cpp, _win.cpp).

#include <QFileDevice>
#include <QString>
#include <optional>

// Leaves the open file to its owner alone; nullopt, or the system's reason it could not.
std::optional<QString> MakeOwnerOnly(QFileDevice& file);

// Puts what was written to the open file on the disk; nullopt, or the system's reason it
// could not. A kind of file that cannot be flushed is no failure.
std::optional<QString> FlushToDisk(QFileDevice& file);

// A rename is only durable once the folder holding the name is on disk too. The files are
// in place by then: a failure here cannot be undone, and is not reported.
void SyncFolder(const QString& folder);
