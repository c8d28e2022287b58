#include "folder_guard.h"
#include "folder_guard_os.h"

#include "store_files.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Problem = FolderCheck::Problem;

// The folders above `folder`, as the system resolves it, up to "/": the first that another
// user could change. Sticky ones (like /tmp) let no one rename what is not theirs.
FolderCheck CheckFoldersAbove(const QString& folder, uid_t me)
{
    char* resolved = ::realpath(QFile::encodeName(folder).constData(), nullptr);
    if (!resolved)
        return Found(Problem::CannotExamine, folder, errno);
    QString path = QFile::decodeName(resolved);
    std::free(resolved);
    while (path != QStringLiteral("/")) {
        const qsizetype slash = path.lastIndexOf(u'/');
        path = slash > 0 ? path.left(slash) : QStringLiteral("/");
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return Found(Problem::CannotExamine, path, errno);
        const bool writableByOthers = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        if ((info.st_uid != me && info.st_uid != 0) ||
            (writableByOthers && !(info.st_mode & S_ISVTX)))
            return Found(Problem::UnsafeFolderAbove, path);
    }
    return {};
}

StoreError SystemError(StoreError::Kind kind, const QString& path, int error)
{
    return StoreError{kind, path, StoreError::Cause::System, qt_error_string(error)};
}

// The folder a link of ours leads into holds the file the program reads and replaces:
// whoever may change that folder may swap the file, as in the program's own.
FolderCheck CheckFolderOfTarget(const QByteArray& link, uid_t me)
{
    char* resolved = ::realpath(link.constData(), nullptr);
    if (!resolved)
        return Found(Problem::CannotExamine, QFile::decodeName(link), errno);
    QByteArray folder(resolved);
    std::free(resolved);
    folder.truncate(std::max<qsizetype>(folder.lastIndexOf('/'), 1));
    const QString path = QFile::decodeName(folder);
    struct stat info {};
    if (::stat(folder.constData(), &info) != 0)
        return Found(Problem::CannotExamine, path, errno);
    if (info.st_uid != me)
        return Found(Problem::FolderOfAnotherUser, path);
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return Found(Problem::FolderWritableByOthers, path);
    return CheckFoldersAbove(path, me);
}

// A link of ours: the file it leads to, and the folder that holds it, must be ours.
FolderCheck CheckLink(const QString& path, const QByteArray& nativePath, uid_t me)
{
    struct stat info {};
    // One that leads nowhere would have the next save create a file wherever it points,
    // where someone else may put a file of theirs first.
    if (::stat(nativePath.constData(), &info) != 0) {
        if (errno != ENOENT)
            return Found(Problem::CannotExamine, path, errno);
        FolderCheck check = Found(Problem::LinkLeadsNowhere, path);
        check.target = QFileInfo(path).symLinkTarget();
        return check;
    }
    if (info.st_uid != me) {
        FolderCheck check = Found(Problem::LinkToAnotherUsersFile, path);
        check.target = QFileInfo(path).canonicalFilePath();
        return check;
    }
    return CheckFolderOfTarget(nativePath, me);
}

// One of the program's own files; a link of ours is followed to the file it leads to.
OwnFileFacts ExamineOwnFile(const QString& path, uid_t me)
{
    OwnFileFacts facts;
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(nativePath.constData(), &info) != 0) {
        facts.missing = errno == ENOENT;
        facts.systemError = errno;
        return facts;
    }
    if (info.st_uid != me) {
        facts.refused = Found(Problem::FileOfAnotherUser, path);
        return facts;
    }
    // Reading or writing through a link reaches the file it leads to.
    if (S_ISLNK(info.st_mode)) {
        facts.refused = CheckLink(path, nativePath, me);
        ::stat(nativePath.constData(), &info);
    }
    facts.regular = S_ISREG(info.st_mode);
    facts.names = info.st_nlink;
    return facts;
}

} // namespace

FolderCheck CheckDataFolder(const QString& folder)
{
    const uid_t me = ::geteuid();
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return Found(Problem::CannotExamine, folder, errno);
    if (info.st_uid != me)
        return Found(Problem::FolderOfAnotherUser, folder);
    FolderCheck rest = CheckFoldersAbove(folder, me);
    if (!rest.Refused())
        rest =
            CheckOwnFiles(folder, [me](const QString& path) { return ExamineOwnFile(path, me); });
    // Under an access control list the group bits are its mask: they show write access
    // granted to any further user or group as well, and chmod go-w takes it away.
    if (!(info.st_mode & (S_IWGRP | S_IWOTH)))
        return rest;
    FolderCheck check = Found(Problem::FolderWritableByOthers, folder);
    check.mendable = !rest.Refused();
    return check;
}

FolderCheck CheckProgramFile(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return Found(Problem::CannotExamine, path, errno);
    const bool othersOwn = info.st_uid != ::geteuid() && info.st_uid != 0;
    if (othersOwn || (info.st_mode & (S_IWGRP | S_IWOTH)))
        return Found(Problem::ProgramOpenToOthers, path);
    return {};
}

std::optional<StoreError> MakeFolderPrivate(const QString& folder)
{
    const QByteArray nativePath = QFile::encodeName(folder);
    struct stat info {};
    if (::stat(nativePath.constData(), &info) != 0)
        return SystemError(StoreError::Kind::Read, folder, errno);
    if (::chmod(nativePath.constData(), info.st_mode & 07777 & ~mode_t(S_IWGRP | S_IWOTH)) != 0)
        return SystemError(StoreError::Kind::Write, folder, errno);
    return std::nullopt;
}

std::variant<QStringList, StoreError> TightenFileModes(const QString& folder)
{
    const QString prefix = AppDir(folder);
    QStringList tightened;
    for (const QString* name : kOwnFiles) {
        const QString path = prefix + *name;
        const QByteArray nativePath = QFile::encodeName(path);
        struct stat info {};
        if (::stat(nativePath.constData(), &info) != 0) {
            if (errno == ENOENT)
                continue;
            return SystemError(StoreError::Kind::Read, path, errno);
        }
        if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IRWXG | S_IRWXO)) == 0)
            continue;
        if (::chmod(nativePath.constData(), S_IRUSR | S_IWUSR) != 0)
            return SystemError(StoreError::Kind::Write, path, errno);
        tightened << path;
    }
    return tightened;
}

std::variant<FolderId, QString> IdentifyFolder(const QString& folder)
{
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return qt_error_string(errno);
    return FolderId{info.st_dev, info.st_ino};
}
