#include "system_files.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace SystemFiles {

quint64 Identity(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

bool OwnerOnly(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
           (status.st_mode & 0777) == 0600;
}

bool LetEveryoneRead(const QString& path)
{
    return ::chmod(QFile::encodeName(path).constData(), 0644) == 0;
}

bool HasUnixFiles()
{
    return true;
}

bool Link(const QString& target, const QString& path)
{
    return QFile::link(target, path);
}

bool Pipe(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

QString DirectoryReason()
{
    return qt_error_string(EISDIR);
}

bool LimitFileSize(qint64 bytes)
{
    static const rlimit original = [] {
        std::signal(SIGXFSZ, SIG_IGN); // a write over the cap fails rather than ending us
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        return limit;
    }();
    rlimit limit = original;
    if (bytes >= 0)
        limit.rlim_cur = rlim_t(bytes);
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

QList<int> UsualErrors()
{
    return {ENOSPC, ETXTBSY, EACCES, ENAMETOOLONG};
}

} // namespace SystemFiles
