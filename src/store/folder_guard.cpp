#include "folder_guard.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <dirent.h>
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

// Every name directly in `folder`, hidden ones included, sorted; false with errno set
// when the folder cannot be read.
bool ListFolder(const QByteArray& folder, QStringList& names)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << QFile::decodeName(name);
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    errno = readError;
    names.sort();
    return readError == 0;
}

} // namespace

FolderCheck CheckDataFolder(const QString& folder)
{
    const uid_t me = ::geteuid();
    const QByteArray nativeFolder = QFile::encodeName(folder);
    struct stat info {};
    if (::stat(nativeFolder.constData(), &info) != 0)
        return Found(Problem::CannotExamine, folder, errno);
    if (info.st_uid != me)
        return Found(Problem::FolderOfAnotherUser, folder);
    // Under an access control list the group bits are its mask: they show write access
    // granted to any further user or group as well.
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return Found(Problem::FolderWritableByOthers, folder);

    QStringList names;
    if (!ListFolder(nativeFolder, names))
        return Found(Problem::CannotExamine, folder, errno);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const QString& name : names) {
        const QString path = prefix + name;
        const QByteArray nativePath = QFile::encodeName(path);
        if (::lstat(nativePath.constData(), &info) != 0) {
            if (errno == ENOENT) // gone since the listing: nothing left to trust or fear
                continue;
            return Found(Problem::CannotExamine, path, errno);
        }
        if (info.st_uid != me)
            return Found(Problem::FileOfAnotherUser, path);
        // Reading or writing through a link reaches the file it leads to. One that leads
        // nowhere reaches nobody's file.
        if (S_ISLNK(info.st_mode) && ::stat(nativePath.constData(), &info) == 0 &&
            info.st_uid != me) {
            FolderCheck check = Found(Problem::LinkToAnotherUsersFile, path);
            check.target = QFileInfo(path).canonicalFilePath();
            return check;
        }
    }
    return {};
}
