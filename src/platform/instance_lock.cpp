#include "instance_lock.h"

#include "desktop.h"
#include "resources/texts.h"

#include <QSysInfo>

InstanceLock::InstanceLock(const QString& path) : path_(path), lock_(path)
{
    // A lock whose process has ended is stale at once, however recent.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::Acquire(Desktop& desktop, const QString& dataPath)
{
    // Other failures (a folder that cannot be written) are not another copy: the saves
    // will report them.
    if (lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError)
        return true;

    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock_.getLockInfo(&pid, &host, &application)) {
        if (TakeOver())
            return true;
    } else if (!host.isEmpty() && host != QSysInfo::machineHostName()) {
        MessageRequest question{Texts::LockOfOtherHost.arg(host, path_), Texts::MessageTitle,
                                MessageRequest::Buttons::YesNo, MessageRequest::Answer::No,
                                QMessageBox::Question};
        if (desktop.Show(nullptr, question) != MessageRequest::Answer::Yes)
            return false;
        if (TakeOver())
            return true;
    }
    MessageRequest running{Texts::AlreadyRunning.arg(dataPath, path_), Texts::MessageTitle,
                           MessageRequest::Buttons::Ok, MessageRequest::Answer::Ok,
                           QMessageBox::Information};
    desktop.Show(nullptr, running);
    return false;
}

// A copy that is running holds a file lock on its lock file, so this never removes a live
// one, even one it has only begun to write.
bool InstanceLock::TakeOver()
{
    return lock_.removeStaleLockFile() && lock_.tryLock(0);
}
