#pragma once

#include <QLockFile>
#include <QString>

class Desktop;

// Keeps a second copy of the program off the same data files: two copies would overwrite
// each other's saves. Held until the object goes.
class InstanceLock {
public:
    explicit InstanceLock(const QString& path);

    // Takes the lock. A lock that nobody can hold any more is taken over: one left by a
    // copy that ended without removing it, and one that is empty or unreadable (cut off by
    // a power failure). A lock of another computer (a program folder on a shared or
    // removable disk) is taken over only if the user says so. False when the program must
    // not start; the user has been told why.
    bool Acquire(Desktop& desktop, const QString& dataPath);

private:
    bool TakeOver();

    QString path_;
    QLockFile lock_;
};
