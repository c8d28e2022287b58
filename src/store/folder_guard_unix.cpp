#include "folder_guard.h"
#include "folder_guard_os.h"

#include "store_files.h"

#include <QFile>
#include <QFileInfo>

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

} // namespace

FolderCheck CheckDataFolder(const QString& folder)
{
    const uid_t me = ::geteuid();
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return Found(Problem::CannotExamine, folder, errno);
    if (info.st_uid != me)
        return Found(Problem::FolderOfAnotherUser, folder);
    // Under an access control list the group bits are its mask: they show write access
    // granted to any further user or group as well.
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return Found(Problem::FolderWritableByOthers, folder);
    if (FolderCheck above = CheckFoldersAbove(folder, me); above.Refused())
        return above;

    const QString prefix = WithSlash(folder);
    for (const QString* name : kOwnFiles) {
        const QString path = prefix + *name;
        const QByteArray nativePath = QFile::encodeName(path);
        if (::lstat(nativePath.constData(), &info) != 0) {
            if (errno == ENOENT) // not there yet: the program creates it as its own
                continue;
            return Found(Problem::CannotExamine, path, errno);
        }
        if (info.st_uid != me)
            return Found(Problem::FileOfAnotherUser, path);
        if (S_ISLNK(info.st_mode)) {
            // Reading or writing through a link reaches the file it leads to: that file must
            // be ours. One that leads nowhere would have the next save create a file
            // wherever it points, where someone else may put a file of theirs first.
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
        }
        if (FolderCheck own = CheckOwnFile(name, path, S_ISREG(info.st_mode), info.st_nlink);
            own.Refused())
            return own;
    }
    return {};
}

std::variant<QStringList, StoreError> TightenFileModes(const QString& folder)
{
    const QString prefix = WithSlash(folder);
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
