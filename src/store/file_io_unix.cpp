#include "file_io_unix.h"

#include <cerrno>
#include <unistd.h>

qint64 ReadOnce(int fd, char* into, qint64 most, QString& reason)
{
    for (;;) {
        const ssize_t n = ::read(fd, into, size_t(most));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            reason = qt_error_string(errno);
            return -1;
        }
    }
}

int FillAndSync(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        // A write the disk cuts short is followed by one that fails with the reason.
        done += n;
    }
    // EINVAL and EROFS mean only that this kind of file cannot be synced.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return errno;
    return 0;
}
