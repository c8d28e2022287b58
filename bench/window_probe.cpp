// Starts a program on the current X display and reports, for the first top-level window it
// maps, how long after the start the window was mapped and how long until its first
// contents were drawn into it, then the process's peak resident memory. The program is
// ended afterwards.
//
// The same watcher serves every program measured, so the figures compare like with like:
// the clock starts just before exec and stops at the X server's damage report for the
// window, which comes when the program's first painted frame reaches it.
//
//   window_probe [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]
//   prints: mapped_ms=... painted_ms=... cpu_ms=... peak_rss_kib=...
//   (cpu_ms: the CPU time the program had used by the first paint)
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <map>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// CPU time that all the process's threads have used so far, in milliseconds. Unlike the
// wall-clock times, it hardly changes with what else the machine is doing.
double CpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            double onCpu = 0;
            if (schedstat >> onCpu)
                ns += onCpu;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

// VmHWM: the most resident memory the process has had, in KiB.
long PeakRssKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

pid_t Start(char** argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0); // its own group, so that a wrapper and the program end together
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return pid;
}

void End(pid_t pid)
{
    kill(-pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    int settleMs = 300;
    int timeoutMs = 20000;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--settle") == 0 && first + 1 < argc)
            settleMs = std::atoi(argv[++first]);
        else if (std::strcmp(argv[first], "--timeout") == 0 && first + 1 < argc)
            timeoutMs = std::atoi(argv[++first]);
        else if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]\n",
                     argv[0]);
        return 2;
    }

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    const auto t0 = Clock::now();
    const pid_t pid = Start(argv + first);

    std::map<xcb_window_t, xcb_damage_damage_t> watched;
    xcb_window_t window = XCB_NONE;
    double mappedMs = -1;
    double paintedMs = -1;
    double cpuMs = -1;
    const int fd = xcb_get_file_descriptor(c);
    while (MsSince(t0) < timeoutMs) {
        if (paintedMs >= 0 && MsSince(t0) > paintedMs + settleMs)
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "the program ended before its window was drawn\n");
            return 1;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 10);
        while (
            std::unique_ptr<xcb_generic_event_t, decltype(&free)> e{xcb_poll_for_event(c), &free}) {
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                auto* created = reinterpret_cast<xcb_create_notify_event_t*>(e.get());
                if (created->parent != root || created->override_redirect)
                    continue;
                // Watch from creation on, so that no drawing can slip by before the map.
                const xcb_damage_damage_t d = xcb_generate_id(c);
                xcb_damage_create(c, d, created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(c);
                watched[created->window] = d;
            } else if (type == XCB_MAP_NOTIFY) {
                auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(e.get());
                if (window == XCB_NONE && !mapped->override_redirect &&
                    watched.count(mapped->window)) {
                    window = mapped->window;
                    mappedMs = MsSince(t0);
                }
            } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
                auto* drawn = reinterpret_cast<xcb_damage_notify_event_t*>(e.get());
                if (drawn->drawable == window && paintedMs < 0) {
                    paintedMs = MsSince(t0);
                    cpuMs = CpuMs(pid);
                }
            }
        }
        if (xcb_connection_has_error(c))
            break;
    }
    const long peak = PeakRssKib(pid);
    End(pid);
    xcb_disconnect(c);
    if (paintedMs < 0) {
        std::fprintf(stderr, "no window was drawn within %d ms\n", timeoutMs);
        return 1;
    }
    std::printf("mapped_ms=%.1f painted_ms=%.1f cpu_ms=%.1f peak_rss_kib=%ld\n", mappedMs,
                paintedMs, cpuMs, peak);
    return 0;
}
