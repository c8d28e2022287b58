#include "atomic_write.h"
#include "atomic_write_os.h"
#include "file_io_unix.h"

#include <QFile>
#include <QScopeGuard>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

OsFailure Failure(int error)
{
    using Kind = OsFailure::Kind;
    Kind kind = Kind::Other;
    if (error == EEXIST)
        kind = Kind::NameTaken;
    else if (error == ENOENT)
        kind = Kind::Missing;
    else if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP)
        kind = Kind::Unsupported;
    return OsFailure{kind, qt_error_string(error)};
}

QByteArray Name(const QString& name)
{
    return QFile::encodeName(name);
}

// glibc has had the wrapper since 2.28; the system call serves where it is missing.
int RenameAt2(int dir, const QByteArray& from, const QByteArray& to, unsigned flags)
{
#if defined(RENAME_EXCHANGE)
    return ::renameat2(dir, from.constData(), dir, to.constData(), flags);
#else
    return int(::syscall(SYS_renameat2, dir, from.constData(), dir, to.constData(), flags));
#endif
}

constexpr unsigned kNoReplace = 1 << 0; // RENAME_NOREPLACE
constexpr unsigned kExchange = 1 << 1;  // RENAME_EXCHANGE

} // namespace

SaveFolder::SaveFolder(const QString& path) : path_(path)
{
    handle_ = ::open(Name(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle_ < 0)
        openError_ = qt_error_string(errno);
}

SaveFolder::~SaveFolder()
{
    if (handle_ >= 0)
        ::close(int(handle_));
}

OsResult SaveFolder::Create(const QString& name, const QByteArray& bytes)
{
    const int dir = int(handle_);
    // The mode is given at creation: a default access list on the folder cannot hand the
    // file to anyone else, even for a moment.
    const int fd =
        ::openat(dir, Name(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 S_IRUSR | S_IWUSR);
    if (fd < 0)
        return Failure(errno);
    int error = FillAndSync(fd, bytes);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        return std::nullopt;
    ::unlinkat(dir, Name(name).constData(), 0);
    return Failure(error);
}

OsResult SaveFolder::Replace(const QString& from, const QString& to)
{
    const int dir = int(handle_);
    if (::renameat(dir, Name(from).constData(), dir, Name(to).constData()) != 0)
        return Failure(errno);
    return std::nullopt;
}

OsResult SaveFolder::Exchange(const QString& from, const QString& to, QString& displaced)
{
    if (RenameAt2(int(handle_), Name(from), Name(to), kExchange) != 0)
        return Failure(errno);
    displaced = from;
    return std::nullopt;
}

OsResult SaveFolder::RenameToNew(const QString& from, const QString& to)
{
    const int dir = int(handle_);
    if (RenameAt2(dir, Name(from), Name(to), kNoReplace) == 0)
        return std::nullopt;
    if (errno != EINVAL && errno != ENOSYS)
        return Failure(errno);
    // A file system that knows no such rename: a second name refuses an existing one too.
    if (::linkat(dir, Name(from).constData(), dir, Name(to).constData(), 0) != 0)
        return Failure(errno);
    ::unlinkat(dir, Name(from).constData(), 0);
    return std::nullopt;
}

bool SaveFolder::Remove(const QString& name)
{
    return ::unlinkat(int(handle_), Name(name).constData(), 0) == 0;
}

void SaveFolder::Tighten(const QString& name)
{
    ::fchmodat(int(handle_), Name(name).constData(), S_IRUSR | S_IWUSR, AT_SYMLINK_NOFOLLOW);
}

void SaveFolder::Sync()
{
    ::fsync(int(handle_));
}

std::optional<StoreError> ReadWholeFile(const QString& path, QByteArray& bytes, bool followLinks,
                                        qint64 maxSize)
{
    using Cause = StoreError::Cause;
    // Non-blocking, so that a pipe put in the file's place cannot stall the start-up.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return ReadFailure(path, Cause::System, qt_error_string(errno));
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return ReadFailure(path, Cause::System, qt_error_string(errno));
    if (S_ISDIR(status.st_mode))
        return ReadFailure(path, Cause::System, qt_error_string(EISDIR));
    if (!S_ISREG(status.st_mode))
        return ReadFailure(path, Cause::NotRegularFile);
    return ReadSized(path, status.st_size, maxSize, std::bind_front(&ReadOnce, fd), bytes);
}
