#include "atomic_write.h"

#include "resources/texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

StoreError WriteError(const QString& path, const QString& reason)
{
    return StoreError{StoreError::Kind::Write, path, reason};
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

} // namespace

std::optional<StoreError> ReadWholeFile(const QString& path, QByteArray& bytes)
{
    auto error = [&path](const QString& reason) {
        return StoreError{StoreError::Kind::Read, path, reason};
    };
    if (QFileInfo(path).isDir())
        return error(qt_error_string(EISDIR));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return error(file.errorString());
    const qint64 size = file.size();
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return error(file.errorString());
    // Qt reports a failed read only when it got nothing at all; a file that stops short
    // of its size was not read whole.
    if (bytes.size() != size)
        return error(Texts::ReasonReadIncomplete);
    return std::nullopt;
}

std::optional<StoreError> AtomicWriteAll(const std::vector<PendingWrite>& writes)
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

    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i]->commit())
            continue;
        const QString reason = files[i]->errorString();
        for (size_t j = 0; j < i; ++j)
            PutBack(previous[j]);
        return WriteError(writes[i].path, reason);
    }
    return std::nullopt;
}
