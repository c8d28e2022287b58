#include "atomic_write.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

StoreError WriteError(const QString& path, const QString& reason)
{
    return StoreError{StoreError::Kind::Write, path, reason};
}

std::optional<StoreError> OpenAndFill(QSaveFile& file, const QByteArray& bytes)
{
    if (!file.open(QIODevice::WriteOnly))
        return WriteError(file.fileName(), file.errorString());
#ifdef Q_OS_UNIX
    if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0)
        return WriteError(file.fileName(), qt_error_string(errno));
#endif
    if (file.write(bytes) != bytes.size() || !file.flush())
        return WriteError(file.fileName(), file.errorString());
    return std::nullopt;
}

// What a file held before this call, so that it can be put back.
struct Previous {
    QString path;
    std::optional<QByteArray> bytes; // nullopt: the file did not exist
};

Previous Remember(const QString& path)
{
    QFile file(path);
    if (!QFileInfo::exists(path) || !file.open(QIODevice::ReadOnly))
        return {path, std::nullopt};
    return {path, file.readAll()};
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

std::optional<StoreError> AtomicWriteAll(const std::vector<PendingWrite>& writes)
{
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const auto& w : writes) {
        auto file = std::make_unique<QSaveFile>(w.path);
        if (auto error = OpenAndFill(*file, w.bytes))
            return error; // every temporary so far is discarded with its QSaveFile
        files.push_back(std::move(file));
    }

    std::vector<Previous> previous;
    if (files.size() > 1)
        for (size_t i = 0; i + 1 < files.size(); ++i)
            previous.push_back(Remember(writes[i].path));

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
