#include "atomic_write.h"
#include "atomic_write_os.h"

#include <QFile>
#include <QScopeGuard>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<QString> MakeOwnerOnly(QFileDevice& file)
{
    if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0)
        return qt_error_string(errno);
    return std::nullopt;
}

std::optional<QString> FlushToDisk(QFileDevice& file)
{
    // EINVAL and EROFS mean only that this kind of file cannot be synced.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return qt_error_string(errno);
    return std::nullopt;
}

void SyncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<StoreError> ReadWholeFile(const QString& path, QByteArray& bytes, bool followLinks)
{
    using Cause = StoreError::Cause;
    auto error = [&path](Cause cause, const QString& reason = {}) {
        return StoreError{StoreError::Kind::Read, path, cause, reason};
    };
    // Non-blocking, so that a pipe put in the file's place cannot stall the start-up.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return error(Cause::System, qt_error_string(errno));
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return error(Cause::System, qt_error_string(errno));
    if (S_ISDIR(status.st_mode))
        return error(Cause::System, qt_error_string(EISDIR));
    if (!S_ISREG(status.st_mode))
        return error(Cause::NotRegularFile);
    if (status.st_size > kMaxDataFileSize)
        return error(Cause::TooLarge);

    // One byte more than the size, to notice a file that grew while it was read.
    bytes.resize(static_cast<qsizetype>(status.st_size) + 1);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return error(Cause::System, qt_error_string(errno));
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    if (done != status.st_size)
        return error(Cause::ReadIncomplete);
    return std::nullopt;
}
