#include "instance_lock.h"
#include "instance_lock_os.h"

#include <QByteArrayList>
#include <QSysInfo>

namespace {

// The one source of this computer's name, for writing a lock and for reading one.
QString ThisHost()
{
    return QSysInfo::machineHostName();
}

} // namespace

InstanceLock::InstanceLock(const QString& path) : path_(path)
{
}

InstanceLock::~InstanceLock()
{
    if (handle_ >= 0)
        ReleaseLockFile(path_, handle_, true);
}

QString InstanceLock::HostOf(const QByteArray& text)
{
    // The layout the program's locks have always had: process, application, computer.
    const QList<QByteArray> lines = text.split('\n');
    bool number = false;
    lines.value(0).toLongLong(&number);
    if (!number || lines.size() < 3)
        return {};
    return QString::fromUtf8(lines[2]).trimmed();
}

bool InstanceLock::ThisComputer(const QString& host)
{
    return host.compare(ThisHost(), Qt::CaseInsensitive) == 0;
}

InstanceLock::Outcome InstanceLock::Acquire(bool takeOverOtherHost)
{
    if (handle_ >= 0)
        return Outcome::Held;
    for (int attempt = 0; attempt < 3; ++attempt) {
        long long handle = -1;
        const LockOpen opened = OpenLockFile(path_, handle, reason_);
        if (opened == LockOpen::Busy)
            return Outcome::OtherCopy;
        if (opened == LockOpen::Failed)
            return Outcome::Failed;
        if (opened == LockOpen::Found) {
            QByteArray text;
            if (!ReadLockText(handle, text, reason_)) {
                ReleaseLockFile(path_, handle, false);
                return Outcome::Failed;
            }
            const QString host = HostOf(text);
            if (!host.isEmpty() && !ThisComputer(host) && !takeOverOtherHost) {
                otherHost_ = host;
                ReleaseLockFile(path_, handle, false);
                return Outcome::OtherHost;
            }
            // Nobody holds it: an empty or garbled one, or one of this computer, is stale.
            // It goes, and one of this copy's own, private from its creation, takes its place.
            ReleaseLockFile(path_, handle, true);
            continue;
        }
        const QByteArray mine =
            QByteArray::number(ThisProcess()) + "\ncofferly\n" + ThisHost().toUtf8() + '\n';
        if (!WriteLockText(handle, mine, reason_)) {
            ReleaseLockFile(path_, handle, true);
            return Outcome::Failed;
        }
        handle_ = handle;
        return Outcome::Held;
    }
    // Another copy keeps putting a lock there as this one removes a stale one.
    return Outcome::OtherCopy;
}
