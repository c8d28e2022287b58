#pragma once

#include <QLockFile>
#include <QString>

// Keeps a second copy of the program off the same data files: two copies would overwrite
// each other's saves. Held until the object goes.
class InstanceLock {
public:
    enum class Outcome {
        Held,      // the lock is ours
        OtherCopy, // a copy of the program holds it, or it cannot be taken over
        OtherHost, // it was written on another computer; see OtherHost()
    };

    explicit InstanceLock(const QString& path);

    // Takes the lock. A lock that nobody can hold any more is taken over: one left by a
    // copy that ended without removing it, and one that is empty or unreadable (cut off by
    // a power failure). A lock of another computer (a program folder on a shared or
    // removable disk) is taken over only when `takeOverOtherHost`: the user decides.
    Outcome Acquire(bool takeOverOtherHost = false);

    const QString& Path() const { return path_; }
    // The computer named in a lock that Acquire() found to be another's.
    const QString& OtherHost() const { return otherHost_; }

private:
    bool TakeOver();

    QString path_;
    QString otherHost_;
    QLockFile lock_;
};
