#include "atomic_write.h"
#include "atomic_write_os.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <memory>
#include <set>

namespace {

StoreError WriteError(const QString& path, const QString& reason)
{
    return StoreError{StoreError::Kind::Write, path, StoreError::Cause::System, reason};
}

// Leaves a file just opened to its owner, writes `bytes` into it and puts them on the disk;
// nullopt, or the reason it could not. Opened unbuffered, a write the disk cuts short is
// followed by one that fails with the system's reason (a full disk, a size limit) rather
// than by Qt's "Unknown error".
std::optional<QString> Fill(QFileDevice& file, const QByteArray& bytes)
{
    if (auto reason = MakeOwnerOnly(file))
        return reason;
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return file.errorString();
        done += n;
    }
    // Qt flushes a temporary before renaming it into place but ignores a failure; data
    // that may not have reached the disk must not replace a good file.
    return FlushToDisk(file);
}

std::optional<StoreError> OpenAndFill(QSaveFile& file, const QByteArray& bytes)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteError(file.fileName(), file.errorString());
    if (auto reason = Fill(file, bytes))
        return WriteError(file.fileName(), *reason);
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

std::variant<QString, StoreError> KeepCopy(const QString& path, const QByteArray& bytes)
{
    const QString stem =
        path + u'.' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? stem : stem + u'-' + QString::number(n);
        QFile file(name);
        // NewOnly: never a file that is already there, nor through a link of that name.
        // Fill() leaves it to its owner before a byte is written.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            const QFileInfo taken(name);
            if (taken.exists() || taken.isSymLink())
                continue;
            return WriteError(name, file.errorString());
        }
        std::optional<QString> reason = Fill(file, bytes);
        file.close();
        if (!reason && file.error() != QFileDevice::NoError)
            reason = file.errorString();
        if (reason) {
            file.remove();
            return WriteError(name, *reason);
        }
        SyncFolder(QFileInfo(name).absolutePath());
        return name;
    }
    return WriteError(stem, qt_error_string(EEXIST));
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
