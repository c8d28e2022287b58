#include "instance_lock.h"

#include <QSysInfo>
#include <cerrno>

InstanceLock::InstanceLock(const QString& path) : path_(path), lock_(path)
{
    // A lock whose process has ended is stale at once, however recent.
    lock_.setStaleLockTime(0);
}

InstanceLock::Outcome InstanceLock::Acquire(bool takeOverOtherHost)
{
    errno = 0;
    if (lock_.tryLock(0))
        return Outcome::Held;
    const int error = errno;
    // Any other failure is no other copy, and without a lock a second copy could start:
    // QLockFile keeps no reason of its own, the system's is still in errno.
    if (lock_.error() != QLockFile::LockFailedError) {
        if (error != 0)
            reason_ = qt_error_string(error);
        else if (lock_.error() == QLockFile::PermissionError)
            reason_ = qt_error_string(EACCES);
        else
            reason_ = QStringLiteral("QLockFile::UnknownError");
        return Outcome::Failed;
    }

    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock_.getLockInfo(&pid, &host, &application))
        return TakeOver() ? Outcome::Held : Outcome::OtherCopy;
    if (!host.isEmpty() && host != QSysInfo::machineHostName()) {
        otherHost_ = host;
        if (!takeOverOtherHost)
            return Outcome::OtherHost;
        return TakeOver() ? Outcome::Held : Outcome::OtherCopy;
    }
    return Outcome::OtherCopy;
}

// A copy that is running holds a file lock on its lock file, so this never removes a live
// one, even one it has only begun to write.
bool InstanceLock::TakeOver()
{
    return lock_.removeStaleLockFile() && lock_.tryLock(0);
}
