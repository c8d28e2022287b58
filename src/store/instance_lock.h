#pragma once

#include <QByteArray>
#include <QString>

// Keeps a second copy of the program off the same data files: two copies would overwrite
// each other's saves. Held until the object goes.
//
// The lock file is created owner-only and held with the system's own lock while the copy
// runs (flock on Linux, a share mode on Windows), so that a copy that has ended, however it
// ended, holds nothing, and a process number used again cannot pass for it. The file names
// the process and the computer, as "pid\napplication\nhost\n".
class InstanceLock {
public:
    enum class Outcome {
        Held,      // the lock is ours
        OtherCopy, // a copy of the program holds it, or it cannot be taken over
        OtherHost, // it was written on another computer; see OtherHost()
        Failed,    // it cannot be written (a full disk, a read-only folder); see Reason()
    };

    explicit InstanceLock(const QString& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock. A lock that nobody holds is taken over without a word when it was
    // left by a copy on this computer, or is empty or unreadable (cut off by a power
    // failure). One written on another computer (a program folder on a shared or removable
    // disk) is taken over only when `takeOverOtherHost`: the user decides.
    Outcome Acquire(bool takeOverOtherHost = false);

    const QString& Path() const { return path_; }
    // The computer named in a lock that Acquire() found to be another's.
    const QString& OtherHost() const { return otherHost_; }
    // Why a lock that Acquire() found Failed cannot be written, in the system's words.
    const QString& Reason() const { return reason_; }

    // The computer a lock's text names; empty when the text names none.
    static QString HostOf(const QByteArray& text);
    // Whether a lock naming `host` was written on this computer. Computer names are
    // compared without regard to case, as Windows and the DNS compare them.
    static bool ThisComputer(const QString& host);

private:
    QString path_;
    QString otherHost_;
    QString reason_;
    long long handle_ = -1; // the open lock file while held
};
