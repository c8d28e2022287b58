#include "folder_guard.h"

#include "store_files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Problem = FolderCheck::Problem;

FolderCheck Found(Problem problem, const QString& path, int systemError = 0)
{
    FolderCheck check;
    check.problem = problem;
    check.path = path;
    check.systemError = systemError;
    return check;
}

// The program's own files: whoever owns one of them, or the file a link there leads to,
// can read the passwords or have the next save written into a file of theirs.
const QString* const kOwnFiles[] = {&StoreFiles::Data, &StoreFiles::Backup, &StoreFiles::Lock};

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

    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
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
        if (!S_ISLNK(info.st_mode))
            continue;
        // Reading or writing through a link reaches the file it leads to: that file must be
        // ours. One that leads nowhere would have the next save create a file wherever it
        // points, where someone else may put a file of theirs first.
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
    return {};
}
