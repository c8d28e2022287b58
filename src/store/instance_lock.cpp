#include "instance_lock.h"

#include <QSysInfo>

InstanceLock::InstanceLock(const QString& path) : path_(path), lock_(path)
{
    // A lock whose process has ended is stale at once, however recent.
    lock_.setStaleLockTime(0);
}

InstanceLock::Outcome InstanceLock::Acquire(bool takeOverOtherHost)
{
    // Other failures (a folder that cannot be written) are not another copy: the saves
    // will report them.
    if (lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError)
        return Outcome::Held;

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
