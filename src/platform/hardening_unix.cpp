#include "hardening.h"
#include "hardening_os.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

mode_t startingMask = 022;

} // namespace

void HardenThisSystem()
{
    // The data file, its backup, the lock and the temporary files of a save: none of them
    // for the group or others. A stricter mask the user chose is kept.
    startingMask = ::umask(077);
    ::umask(startingMask | 077);

    // A core file would hold the passwords. Both limits, so nothing can raise it again.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);

    // A file-size limit must fail the write, which is reported, not kill us mid-save.
    std::signal(SIGXFSZ, SIG_IGN);

#ifdef __linux__
    // Not dumpable: no core even where the limit is not consulted (a core_pattern pipe),
    // and no other process of the same user may attach to us or read /proc/<pid>/mem.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

void RestoreChildFileMask()
{
    ::umask(startingMask);
}
