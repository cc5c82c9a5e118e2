// startwatch: starts a program on the X display and reports, from outside,
// when a strip of the screen first showed its settled look, and how much
// memory the program held.
//
//   startwatch [--region X,Y,W,H] [--watch SECONDS] -- program [args...]
//
// It reads the strip every 2 ms for the given seconds (default 4). The look
// the strip has at the end is the settled one; the time reported is when that
// look first appeared and stayed (the last change of the strip), in ms after
// the program's exec. Then it reads the program's peak and current resident
// memory from /proc, ends the program and prints one line:
//
//   usable_ms=<ms> peak_rss_kb=<kB> rss_kb=<kB> exec_monotonic_ms=<ms>
//
// exec_monotonic_ms is CLOCK_MONOTONIC at the exec, so that times the
// program logs on the same clock can be set against it.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char **environ;

namespace
{

using Clock = std::chrono::steady_clock;

struct Region {
    int x = 0, y = 0, w = 0, h = 0;
};

// The strip's pixels, or nothing when the server refused (the strip is off screen).
std::vector<uint8_t> grab(xcb_connection_t *c, xcb_window_t root, const Region &r)
{
    xcb_get_image_cookie_t cookie = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(r.x),
                                                  int16_t(r.y), uint16_t(r.w), uint16_t(r.h), ~0u);
    xcb_get_image_reply_t *reply = xcb_get_image_reply(c, cookie, nullptr);
    if (!reply)
        return {};
    const uint8_t *data = xcb_get_image_data(reply);
    std::vector<uint8_t> pixels(data, data + xcb_get_image_data_length(reply));
    std::free(reply);
    return pixels;
}

// One line of /proc/<pid>/status in kB ("VmHWM", "VmRSS"); -1 when absent.
long statusKb(pid_t pid, const char *key)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

int usage()
{
    std::fputs("usage: startwatch [--region X,Y,W,H] [--watch SECONDS] -- program [args...]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    Region region;
    double watchSeconds = 4.0;
    int i = 1;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        }
        if (std::strcmp(argv[i], "--region") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%d,%d,%d,%d", &region.x, &region.y, &region.w, &region.h) != 4)
                return usage();
        } else if (std::strcmp(argv[i], "--watch") == 0 && i + 1 < argc) {
            watchSeconds = std::atof(argv[++i]);
        } else {
            return usage();
        }
    }
    if (i >= argc)
        return usage();

    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fputs("startwatch: no X display\n", stderr);
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int n = 0; n < screenNumber; ++n)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    if (region.w <= 0 || region.h <= 0)
        region = {0, 0, it.data->width_in_pixels, it.data->height_in_pixels};
    const std::vector<uint8_t> before = grab(c, root, region);

    timespec mono{};
    clock_gettime(CLOCK_MONOTONIC, &mono);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[i], nullptr, nullptr, argv + i, environ) != 0) {
        std::fprintf(stderr, "startwatch: cannot start %s\n", argv[i]);
        return 1;
    }

    std::vector<uint8_t> last = before;
    Clock::time_point lastChange = start;
    const Clock::time_point end =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(watchSeconds));
    while (Clock::now() < end) {
        std::vector<uint8_t> now = grab(c, root, region);
        if (now != last) {
            lastChange = Clock::now();
            last = std::move(now);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const long peak = statusKb(pid, "VmHWM");
    const long rss = statusKb(pid, "VmRSS");
    kill(pid, SIGTERM);
    int status = 0;
    for (int n = 0; n < 300 && waitpid(pid, &status, WNOHANG) == 0; ++n)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    xcb_disconnect(c);

    if (last == before) {
        std::fputs("startwatch: the strip never changed\n", stderr);
        return 1;
    }
    const double ms = std::chrono::duration<double, std::milli>(lastChange - start).count();
    std::printf("usable_ms=%.1f peak_rss_kb=%ld rss_kb=%ld exec_monotonic_ms=%.1f\n", ms, peak, rss,
                double(mono.tv_sec) * 1000.0 + double(mono.tv_nsec) / 1e6);
    return 0;
}
