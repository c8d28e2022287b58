#pragma once

// What the store suites do to files through each system's own calls
// (system_files_unix.cpp, _win.cpp).

#include <QList>
#include <QString>

namespace SystemFiles {

// The file's identity: a file replaced by a save gets another. 0 when it cannot be read.
quint64 Identity(const QString& path);

// Whether only the user running the program may read or change the file.
bool OwnerOnly(const QString& path);

// Lets every user read the file.
bool LetEveryoneRead(const QString& path);

// Whether the system has links that its file calls follow, named pipes that can stand in
// a file's place and a cap on the size of the files a process writes: Link(), Pipe() and
// LimitFileSize() work only where it has.
bool HasUnixFiles();

// Puts at `path` a link to `target`, of the kind the system's own file calls follow.
bool Link(const QString& target, const QString& path);

// Puts at `path` a named pipe.
bool Pipe(const QString& path);

// The system's reason a folder cannot be read as a file.
QString DirectoryReason();

// Caps the size of the files this process writes at `bytes`; a negative size lifts the cap.
bool LimitFileSize(qint64 bytes);

// The system's error codes for a full disk, a file in use by another program, a denied
// access and a path too long, in that order.
QList<int> UsualErrors();

} // namespace SystemFiles
