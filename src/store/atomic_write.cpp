#include "atomic_write.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace {

StoreError WriteError(const QString& path, const QString& reason)
{
    return StoreError{StoreError::Kind::Write, path, StoreError::Cause::System, reason};
}

std::optional<StoreError> OpenAndFill(QSaveFile& file, const QByteArray& bytes)
{
    // Unbuffered, so that a write the disk cuts short is followed by one that fails with
    // the system's reason (a full disk, a size limit) rather than by Qt's "Unknown error".
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteError(file.fileName(), file.errorString());
#ifdef Q_OS_UNIX
    if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0)
        return WriteError(file.fileName(), qt_error_string(errno));
#endif
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return WriteError(file.fileName(), file.errorString());
        done += n;
    }
#ifdef Q_OS_UNIX
    // Qt syncs the temporary before renaming it into place but ignores a failed sync; data
    // that may not have reached the disk must not replace a good file. EINVAL and EROFS
    // mean only that this kind of file cannot be synced.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return WriteError(file.fileName(), qt_error_string(errno));
#endif
    return std::nullopt;
}

// What a file held before this call, so that it can be put back.
struct Previous {
    QString path;
    std::optional<QByteArray> bytes; // nullopt: the file did not exist
};

// A file that exists but cannot be read is an error: putting back a part of it, or
// removing it as if it had never been there, would lose what it held.
std::optional<StoreError> Remember(const QString& path, Previous& previous)
{
    previous = {path, std::nullopt};
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QByteArray bytes;
    if (auto error = ReadWholeFile(path, bytes))
        return error;
    previous.bytes = std::move(bytes);
    return std::nullopt;
}

void PutBack(const Previous& previous)
{
    if (!previous.bytes) {
        QFile::remove(previous.path);
        return;
    }
    QSaveFile file(previous.path);
    if (!OpenAndFill(file, *previous.bytes))
        file.commit();
}

// A rename is only durable once the folder holding the name is on disk too. The files
// are in place by then: a failure here cannot be undone, and is not reported.
void SyncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<StoreError> WriteAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return StoreError{StoreError::Kind::Write,
                              {},
                              StoreError::Cause::System,
                              qt_error_string(n < 0 ? errno : ENOSPC)};
        done += n;
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return StoreError{
            StoreError::Kind::Write, {}, StoreError::Cause::System, qt_error_string(errno)};
    return std::nullopt;
}

} // namespace

std::variant<QString, StoreError> KeepCopy(const QString& path, const QByteArray& bytes)
{
    const QString stem =
        path + u'.' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? stem : stem + u'-' + QString::number(n);
        const QByteArray native = QFile::encodeName(name);
        // O_EXCL: never a file that is already there, nor through a link of that name.
        const int fd =
            ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return WriteError(name, qt_error_string(errno));
        auto error = WriteAll(fd, bytes);
        if (::close(fd) != 0 && !error)
            error = WriteError(name, qt_error_string(errno));
        if (error) {
            ::unlink(native.constData());
            error->path = name;
            return *error;
        }
        SyncFolder(QFileInfo(name).absolutePath());
        return name;
    }
    return WriteError(stem, qt_error_string(EEXIST));
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

std::optional<StoreError> AtomicWriteAll(const std::vector<PendingWrite>& writes,
                                         const BeforeRename& beforeRename)
{
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const auto& w : writes) {
        auto file = std::make_unique<QSaveFile>(w.path);
        if (auto error = OpenAndFill(*file, w.bytes))
            return error; // every temporary so far is discarded with its QSaveFile
        files.push_back(std::move(file));
    }

    std::vector<Previous> previous(files.size());
    for (size_t i = 0; i + 1 < files.size(); ++i)
        if (auto error = Remember(writes[i].path, previous[i]))
            return error;

    if (beforeRename) {
        if (auto error = beforeRename())
            return error;
    }

    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i]->commit())
            continue;
        const QString reason = files[i]->errorString();
        for (size_t j = 0; j < i; ++j)
            PutBack(previous[j]);
        return WriteError(writes[i].path, reason);
    }
    // Where the names now are: a link of ours to a file elsewhere was written through.
    std::set<QString> folders;
    for (const auto& w : writes) {
        const QString written = QFileInfo(w.path).canonicalFilePath();
        if (!written.isEmpty())
            folders.insert(QFileInfo(written).absolutePath());
    }
    for (const QString& folder : folders)
        SyncFolder(folder);
    return std::nullopt;
}
