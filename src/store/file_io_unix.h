#pragma once

// Plain reads and writes on an open file, as the store's Linux files share them.

#include <QByteArray>
#include <QString>

// One read of at most `most` bytes into `into`, tried again when a signal cuts it short:
// the count, 0 at the end, or -1 with the system's `reason`.
qint64 ReadOnce(int fd, char* into, qint64 most, QString& reason);

// Writes the whole of `bytes`, then puts them on the disk; 0 or the system's error.
int FillAndSync(int fd, const QByteArray& bytes);
