#pragma once

// The lock file on each system (instance_lock_unix.cpp, _win.cpp).

#include <QByteArray>
#include <QString>

enum class LockOpen {
    Created, // created owner-only, and locked: `handle` is set
    Found,   // it was there, and nobody held it: now locked, `handle` is set
    Busy,    // a running copy holds it
    Failed,  // the system refused; `reason` says why
};
LockOpen OpenLockFile(const QString& path, long long& handle, QString& reason);

// The whole text of the locked file; false, with the reason, when it cannot be read.
bool ReadLockText(long long handle, QByteArray& text, QString& reason);
// Replaces the text of the locked file and puts it on the disk.
bool WriteLockText(long long handle, const QByteArray& text, QString& reason);

// Lets the file go. `remove`: it is deleted first, while still locked, so that no other
// copy can take the lock of a name that is about to vanish.
void ReleaseLockFile(const QString& path, long long handle, bool remove);

// The number of this process.
long long ThisProcess();
