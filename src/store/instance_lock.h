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
        Failed,    // it cannot be written (a full disk, a read-only folder); see Reason()
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
    // Why a lock that Acquire() found Failed cannot be written, in the system's words.
    const QString& Reason() const { return reason_; }

private:
    bool TakeOver();

    QString path_;
    QString otherHost_;
    QString reason_;
    QLockFile lock_;
};
