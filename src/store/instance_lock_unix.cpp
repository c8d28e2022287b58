#include "atomic_write_os.h"
#include "file_io_unix.h"
#include "instance_lock_os.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

LockOpen Refused(int error, QString& reason)
{
    reason = qt_error_string(error);
    return LockOpen::Failed;
}

// Whether `path` still names the open file: a copy that ends removes its lock while
// holding it, and one opened just before that removal must not count as held.
bool StillNamed(int fd, const QByteArray& path)
{
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace

LockOpen OpenLockFile(const QString& path, long long& handle, QString& reason)
{
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 10; ++attempt) {
        // Owner-only from its creation; never through a link, never blocking on a pipe.
        constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        bool created = true;
        int fd = ::open(name.constData(), kFlags | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno == EEXIST) {
            created = false;
            fd = ::open(name.constData(), kFlags);
            if (fd < 0 && errno == ENOENT)
                continue; // removed meanwhile: create it again
        }
        if (fd < 0)
            return Refused(errno, reason);
        struct stat status {};
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            const int error = S_ISREG(status.st_mode) ? errno : EINVAL;
            ::close(fd);
            return Refused(error, reason);
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return LockOpen::Busy;
            return Refused(error, reason);
        }
        if (StillNamed(fd, name)) {
            handle = fd;
            return created ? LockOpen::Created : LockOpen::Found;
        }
        ::close(fd);
    }
    return Refused(EAGAIN, reason);
}

bool ReadLockText(long long handle, QByteArray& text, QString& reason)
{
    const int fd = int(handle);
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        reason = qt_error_string(errno);
        return false;
    }
    // A lock is a line or three; more is garbage, and garbage is stale.
    return ReadUpTo(text, 4096, std::bind_front(&ReadOnce, fd), reason);
}

bool WriteLockText(long long handle, const QByteArray& text, QString& reason)
{
    const int fd = int(handle);
    int error = 0;
    if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0)
        error = errno;
    else
        error = FillAndSync(fd, text);
    if (error != 0)
        reason = qt_error_string(error);
    return error == 0;
}

void ReleaseLockFile(const QString& path, long long handle, bool remove)
{
    if (remove)
        ::unlink(QFile::encodeName(path).constData());
    ::close(int(handle));
}

long long ThisProcess()
{
    return ::getpid();
}
