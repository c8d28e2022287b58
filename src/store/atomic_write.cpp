#include "atomic_write.h"
#include "atomic_write_os.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <memory>
#include <set>

namespace {

StoreError WriteError(const QString& path, const QString& reason)
{
    return StoreError{StoreError::Kind::Write, path, StoreError::Cause::System, reason};
}

// A file of a call, from its temporary to its place.
struct Staged {
    std::unique_ptr<SaveFolder> folder;
    QString name;      // the file's name in the folder
    QString temporary; // empty once renamed or removed
};

// Where a name is written: a link of ours is written through to the file it leads to.
void Place(const QString& path, Staged& staged)
{
    const QFileInfo info(path);
    const QFileInfo real(info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath());
    staged.folder = std::make_unique<SaveFolder>(real.absolutePath());
    staged.name = real.fileName();
}

// Creates a new file of its own beside `name`, named by `nameFor(n)` for the first n that is
// free, holding `bytes`. The name, or the error.
template <typename NameFor>
std::variant<QString, OsFailure> CreateNew(SaveFolder& folder, const QByteArray& bytes,
                                           NameFor nameFor)
{
    for (int n = 1; n < 1000; ++n) {
        const QString name = nameFor(n);
        const OsResult failed = folder.Create(name, bytes);
        if (!failed)
            return name;
        if (failed->kind != OsFailure::Kind::NameTaken)
            return *failed;
    }
    return OsFailure{OsFailure::Kind::Other, qt_error_string(EEXIST)};
}

std::optional<StoreError> Stage(const PendingWrite& write, Staged& staged)
{
    Place(write.path, staged);
    if (const auto& error = staged.folder->OpenError())
        return WriteError(write.path, *error);
    auto created = CreateNew(*staged.folder, write.bytes,
                             [&staged](int) { return TemporaryName(staged.name); });
    if (const auto* failed = std::get_if<OsFailure>(&created))
        return WriteError(write.path, failed->reason);
    staged.temporary = std::get<QString>(created);
    return std::nullopt;
}

void Discard(std::vector<Staged>& staged)
{
    for (Staged& s : staged)
        if (!s.temporary.isEmpty() && s.folder->Remove(s.temporary))
            s.temporary.clear();
}

// KeepCopy's names: the name, a dot and the local date and time, then "-2" and on.
QString KeptName(const QString& stem, int n)
{
    return n == 1 ? stem : stem + u'-' + QString::number(n);
}

QString KeptStem(const QString& name)
{
    return name + u'.' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

// What stood at the place of an exchange: removed when it is known, else kept.
void Settle(SaveFolder& folder, const QString& displaced, const Staged& staged,
            const PendingWrite& write, QStringList* caught)
{
    QByteArray bytes;
    const QString path = folder.Path() + u'/' + displaced;
    std::optional<QString> known;
    if (!ReadWholeFile(path, bytes, false))
        known = write.known(bytes);
    if (known && known->isEmpty()) {
        folder.Remove(displaced);
        return;
    }
    const QFileInfo copy(known.value_or(QString()));
    if (known && copy.absolutePath() == folder.Path() &&
        !folder.Replace(displaced, copy.fileName())) {
        folder.Tighten(copy.fileName());
        return;
    }
    const QString stem = KeptStem(staged.name);
    QString kept = path; // where it stays if no name of its own can be given
    for (int n = 1; n < 1000; ++n) {
        const OsResult failed = folder.RenameToNew(displaced, KeptName(stem, n));
        if (!failed) {
            folder.Tighten(KeptName(stem, n));
            kept = folder.Path() + u'/' + KeptName(stem, n);
        }
        if (!failed || failed->kind != OsFailure::Kind::NameTaken)
            break;
    }
    if (caught)
        *caught << kept;
}

// Puts a staged file in its place. Where another program may write it, by an exchange;
// where the system cannot exchange, by a plain rename, which replaces what stands there.
OsResult Commit(Staged& staged, const PendingWrite& write, QStringList* caught)
{
    SaveFolder& folder = *staged.folder;
    OsResult result;
    for (int attempt = 0; write.known && attempt < 3; ++attempt) {
        QString displaced;
        result = folder.Exchange(staged.temporary, staged.name, displaced);
        if (!result) {
            staged.temporary.clear();
            Settle(folder, displaced, staged, write, caught);
            return result;
        }
        if (result->kind != OsFailure::Kind::Missing)
            break;
        // Nothing there: a rename that refuses a file arriving meanwhile, then once more.
        result = folder.RenameToNew(staged.temporary, staged.name);
        if (!result || result->kind != OsFailure::Kind::NameTaken)
            break;
    }
    if (!write.known || (result && result->kind == OsFailure::Kind::Unsupported))
        result = folder.Replace(staged.temporary, staged.name);
    if (!result)
        staged.temporary.clear();
    return result;
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

void PutBack(Staged& staged, const Previous& previous)
{
    SaveFolder& folder = *staged.folder;
    if (!previous.bytes) {
        folder.Remove(staged.name);
        return;
    }
    auto created =
        CreateNew(folder, *previous.bytes, [&staged](int) { return TemporaryName(staged.name); });
    if (const auto* name = std::get_if<QString>(&created))
        if (folder.Replace(*name, staged.name))
            folder.Remove(*name);
}

void SyncFolders(const std::vector<Staged>& staged)
{
    std::set<QString> synced;
    for (const Staged& s : staged)
        if (synced.insert(s.folder->Path()).second)
            s.folder->Sync();
}

} // namespace

QString TemporaryName(const QString& name)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QChar::fromLatin1(letters[QRandomGenerator::global()->bounded(62)]);
    return name + u'.' + suffix;
}

bool ReadUpTo(QByteArray& bytes, qint64 most, const ReadSome& readSome, QString& reason)
{
    bytes.resize(static_cast<qsizetype>(most));
    qint64 done = 0;
    while (done < most) {
        const qint64 n = readSome(bytes.data() + done, most - done, reason);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(static_cast<qsizetype>(done));
    return true;
}

std::optional<StoreError> ReadSized(const QString& path, qint64 size, qint64 maxSize,
                                    const ReadSome& readSome, QByteArray& bytes)
{
    using Cause = StoreError::Cause;
    if (size > maxSize)
        return ReadFailure(path, Cause::TooLarge);
    // One byte more than the size, to notice a file that grew while it was read.
    if (QString reason; !ReadUpTo(bytes, size + 1, readSome, reason))
        return ReadFailure(path, Cause::System, reason);
    if (bytes.size() != size)
        return ReadFailure(path, Cause::ReadIncomplete);
    return std::nullopt;
}

std::variant<QString, StoreError> KeepCopy(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    SaveFolder folder(info.absolutePath());
    const QString stem = KeptStem(info.fileName());
    if (const auto& error = folder.OpenError())
        return WriteError(path, *error);
    auto created = CreateNew(folder, bytes, [&stem](int n) { return KeptName(stem, n); });
    if (const auto* failed = std::get_if<OsFailure>(&created))
        return WriteError(folder.Path() + u'/' + stem, failed->reason);
    folder.Sync();
    return folder.Path() + u'/' + std::get<QString>(created);
}

std::optional<StoreError> AtomicWriteAll(const std::vector<PendingWrite>& writes,
                                         const BeforeRename& beforeRename, QStringList* caught)
{
    std::vector<Staged> staged(writes.size());
    // Every temporary made so far goes on any way out but the last.
    auto failed = [&staged](std::optional<StoreError> error) {
        Discard(staged);
        return error;
    };
    for (size_t i = 0; i < writes.size(); ++i)
        if (auto error = Stage(writes[i], staged[i]))
            return failed(error);

    std::vector<Previous> previous(writes.size());
    for (size_t i = 0; i + 1 < writes.size(); ++i)
        if (auto error = Remember(writes[i].path, previous[i]))
            return failed(error);

    if (beforeRename) {
        if (auto error = beforeRename())
            return failed(error);
    }

    for (size_t i = 0; i < writes.size(); ++i) {
        const OsResult result = Commit(staged[i], writes[i], caught);
        if (!result)
            continue;
        for (size_t j = 0; j < i; ++j)
            PutBack(staged[j], previous[j]);
        return failed(WriteError(writes[i].path, result->reason));
    }
    SyncFolders(staged);
    return std::nullopt;
}

std::optional<StoreError> RemoveFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        SaveFolder folder(info.absolutePath());
        if (const auto& error = folder.OpenError())
            return WriteError(path, *error);
        if (!folder.Remove(info.fileName()))
            return WriteError(path, qt_error_string());
        // The next name goes only once this removal is on the disk.
        folder.Sync();
    }
    return std::nullopt;
}
