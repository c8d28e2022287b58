#include "fault_shim.h"

// The C library's own inline wrappers would clash with the definitions below.
#undef _FORTIFY_SOURCE

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct State {
    std::mutex mutex;
    std::string prefix; // empty: not watching
    std::array<bool, 4096> watchedFd{};
    std::array<bool, 4096> unsynced{};      // written to since its last successful sync
    std::array<std::string, 4096> fdPath{}; // what a watched descriptor was opened as
    std::set<std::string> unsyncedPaths;    // files written to and closed before a sync
    std::vector<std::pair<std::string, unsigned>> created; // files created, with their modes
    int unsyncedLinks = 0;
    long long byteBudget = -1; // -1: no budget
    std::set<int> failOps;
    int failFrom = 0; // 0: none
    int operations = 0;
    int failures = 0;
    std::string log;
    std::function<void()> beforeSync;
};

State& S()
{
    static State state;
    return state;
}

template <typename F> F Real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool Under(const State& s, const char* path)
{
    return !s.prefix.empty() && path && std::strncmp(path, s.prefix.c_str(), s.prefix.size()) == 0;
}

bool Watched(const State& s, int fd)
{
    return !s.prefix.empty() && fd >= 0 && fd < int(s.watchedFd.size()) && s.watchedFd[fd];
}

// The whole path a call names: a relative one is taken from a watched folder's descriptor.
// Empty when the call is not on a watched path.
std::string Resolved(const State& s, int dirfd, const char* path)
{
    if (!path)
        return {};
    if (path[0] != '/' && dirfd != AT_FDCWD && Watched(s, dirfd))
        return s.fdPath[dirfd] + '/' + path;
    return Under(s, path) ? std::string(path) : std::string();
}

// A file put in place under a new name while data written to it was not on the disk.
void CheckRenamed(State& s, const std::string& from)
{
    if (s.unsyncedPaths.erase(from) > 0) {
        ++s.unsyncedLinks;
        s.log += "  -> renamed before its data was synced\n";
    }
}

// Counts one watched operation; true when it is to fail.
bool Count(State& s, const char* name, const std::string& what)
{
    ++s.operations;
    s.log += std::string(name) + ' ' + what + '\n';
    const bool fail =
        s.failOps.count(s.operations) > 0 || (s.failFrom > 0 && s.operations >= s.failFrom);
    if (fail) {
        ++s.failures;
        s.log += "  -> failed\n";
    }
    return fail;
}

// Records a sync's result; a failed one leaves the data unsynced.
int Synced(int fd, int result)
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    if (result == 0 && fd >= 0 && fd < int(s.unsynced.size()))
        s.unsynced[fd] = false;
    return result;
}

// The action waiting for a sync of `fd`, run once, outside the lock.
void RunBeforeSync(int fd)
{
    std::function<void()> action;
    {
        std::lock_guard lock(S().mutex);
        if (Watched(S(), fd))
            action.swap(S().beforeSync);
    }
    if (action)
        action();
}

int Fail(int error)
{
    errno = error;
    return -1;
}

int OpenCommon(const char* name, int dirfd, const char* path, int flags, mode_t mode)
{
    using OpenAt = int (*)(int, const char*, int, ...);
    static const auto real = Real<OpenAt>("openat64");
    State& s = S();
    std::unique_lock lock(s.mutex);
    const std::string full = Resolved(s, dirfd, path);
    const bool watched = !full.empty();
    if (watched && Count(s, name, full))
        return Fail(EIO);
    lock.unlock();
    const int fd = real(dirfd, path, flags, mode);
    lock.lock();
    if (fd >= 0 && fd < int(s.watchedFd.size())) {
        s.watchedFd[fd] = watched;
        s.fdPath[fd] = full;
    }
    if (fd >= 0 && watched && (flags & O_CREAT))
        s.created.emplace_back(full, unsigned(mode));
    return fd;
}

mode_t ModeArg(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

} // namespace

namespace FaultShim {

void Watch(const std::string& directory)
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    s.prefix = directory;
    s.byteBudget = -1;
    s.failOps.clear();
    s.failFrom = 0;
    s.operations = s.failures = 0;
    s.unsynced = {};
    s.unsyncedPaths.clear();
    s.created.clear();
    s.unsyncedLinks = 0;
    s.log.clear();
}

void Stop()
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    s.prefix.clear();
    s.byteBudget = -1;
    s.failOps.clear();
    s.failFrom = 0;
    s.beforeSync = nullptr;
}

void BeforeNextSync(std::function<void()> action)
{
    std::lock_guard lock(S().mutex);
    S().beforeSync = std::move(action);
}

void FailAfterBytes(long long bytes)
{
    std::lock_guard lock(S().mutex);
    S().byteBudget = bytes;
}

void FailOperation(int n)
{
    std::lock_guard lock(S().mutex);
    S().failOps.insert(n);
}

void FailFrom(int n)
{
    std::lock_guard lock(S().mutex);
    S().failFrom = n;
}

int Operations()
{
    std::lock_guard lock(S().mutex);
    return S().operations;
}

int Failures()
{
    std::lock_guard lock(S().mutex);
    return S().failures;
}

int UnsyncedLinks()
{
    std::lock_guard lock(S().mutex);
    return S().unsyncedLinks;
}

std::vector<std::pair<std::string, unsigned>> Created()
{
    std::lock_guard lock(S().mutex);
    return S().created;
}

std::string Log()
{
    std::lock_guard lock(S().mutex);
    return S().log;
}

} // namespace FaultShim

extern "C" {

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArg(flags, args);
    va_end(args);
    return OpenCommon("open", AT_FDCWD, path, flags, mode);
}

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArg(flags, args);
    va_end(args);
    return OpenCommon("open", AT_FDCWD, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArg(flags, args);
    va_end(args);
    return OpenCommon("openat", dirfd, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArg(flags, args);
    va_end(args);
    return OpenCommon("openat", dirfd, path, flags, mode);
}

ssize_t read(int fd, void* buffer, size_t count)
{
    static const auto real = Real<ssize_t (*)(int, void*, size_t)>("read");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (Watched(s, fd) && Count(s, "read", std::to_string(fd)))
            return Fail(EIO);
    }
    return real(fd, buffer, std::min<size_t>(count, 64));
}

ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    State& s = S();
    std::unique_lock lock(s.mutex);
    if (!Watched(s, fd))
        return lock.unlock(), real(fd, buffer, count);
    if (Count(s, "write", std::to_string(fd) + ' ' + std::to_string(count)))
        return Fail(ENOSPC);
    if (s.byteBudget >= 0) {
        if (s.byteBudget == 0 && count > 0)
            return Fail(ENOSPC);
        count = std::min<size_t>(count, static_cast<size_t>(s.byteBudget));
    }
    lock.unlock();
    const ssize_t written = real(fd, buffer, count);
    lock.lock();
    if (written > 0 && s.byteBudget >= 0)
        s.byteBudget -= written;
    if (written > 0)
        s.unsynced[fd] = true;
    return written;
}

int close(int fd)
{
    static const auto real = Real<int (*)(int)>("close");
    State& s = S();
    std::unique_lock lock(s.mutex);
    const bool fail = Watched(s, fd) && Count(s, "close", std::to_string(fd));
    if (Watched(s, fd) && s.unsynced[fd])
        s.unsyncedPaths.insert(s.fdPath[fd]);
    if (fd >= 0 && fd < int(s.watchedFd.size()))
        s.watchedFd[fd] = s.unsynced[fd] = false;
    lock.unlock();
    const int result = real(fd);
    return fail ? Fail(EIO) : result;
}

int fsync(int fd)
{
    static const auto real = Real<int (*)(int)>("fsync");
    RunBeforeSync(fd);
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (Watched(s, fd) && Count(s, "fsync", std::to_string(fd)))
            return Fail(EIO);
    }
    return Synced(fd, real(fd));
}

int fdatasync(int fd)
{
    static const auto real = Real<int (*)(int)>("fdatasync");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (Watched(s, fd) && Count(s, "fdatasync", std::to_string(fd)))
            return Fail(EIO);
    }
    return Synced(fd, real(fd));
}

int fchmod(int fd, mode_t mode)
{
    static const auto real = Real<int (*)(int, mode_t)>("fchmod");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (Watched(s, fd) && Count(s, "fchmod", std::to_string(fd)))
            return Fail(EIO);
    }
    return real(fd, mode);
}

int linkat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath, int flags)
{
    static const auto real = Real<int (*)(int, const char*, int, const char*, int)>("linkat");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        const std::string to = Resolved(s, newdirfd, newpath);
        if (!to.empty() && Count(s, "linkat", to))
            return Fail(EIO);
    }
    const int result = real(olddirfd, oldpath, newdirfd, newpath, flags);
    int fd = -1;
    if (result == 0 && std::sscanf(oldpath, "/proc/self/fd/%d", &fd) == 1) {
        std::lock_guard lock(s.mutex);
        if (Watched(s, fd) && s.unsynced[fd]) {
            ++s.unsyncedLinks;
            s.log += "  -> linked before its data was synced\n";
        }
    }
    return result;
}

int link(const char* oldpath, const char* newpath)
{
    static const auto real = Real<int (*)(const char*, const char*)>("link");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (Under(s, newpath) && Count(s, "link", newpath))
            return Fail(EIO);
    }
    return real(oldpath, newpath);
}

int rename(const char* oldpath, const char* newpath)
{
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (Under(s, newpath) && Count(s, "rename", newpath))
            return Fail(EIO);
        if (Under(s, newpath))
            CheckRenamed(s, oldpath);
    }
    return real(oldpath, newpath);
}

int renameat2(int olddirfd, const char* oldpath, int newdirfd, const char* newpath, unsigned flags)
{
    static const auto real =
        Real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        const std::string to = Resolved(s, newdirfd, newpath);
        if (!to.empty() && Count(s, flags ? "renameat2" : "rename", to))
            return Fail(EIO);
        if (!to.empty())
            CheckRenamed(s, Resolved(s, olddirfd, oldpath));
    }
    return real(olddirfd, oldpath, newdirfd, newpath, flags);
}

int renameat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath)
{
    return renameat2(olddirfd, oldpath, newdirfd, newpath, 0);
}

int unlink(const char* path)
{
    static const auto real = Real<int (*)(const char*)>("unlink");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (Under(s, path) && Count(s, "unlink", path))
            return Fail(EIO);
    }
    return real(path);
}

int unlinkat(int dirfd, const char* path, int flags)
{
    static const auto real = Real<int (*)(int, const char*, int)>("unlinkat");
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        const std::string full = Resolved(s, dirfd, path);
        if (!full.empty() && Count(s, "unlink", full))
            return Fail(EIO);
    }
    return real(dirfd, path, flags);
}

} // extern "C"
