// Start-up of a desktop program: the time from launching it to its first visible
// top-level window, and its resident memory a moment after that. Used to compare the
// calculator with other programs on the same X display (e.g. under Xvfb):
//
//   zentu_startup_timer RUNS PROGRAM [ARGS...]
//
// For each run it prints the milliseconds to the first mapped window and the resident
// set in megabytes one second later; then the median of each.
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

double ResidentMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024;
        }
        std::getline(status, key);
    }
    return 0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zentu_startup_timer RUNS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "zentu_startup_timer: no X display\n");
        return 1;
    }
    std::vector<double> times, memory;
    for (int run = 0; run < runs; ++run) {
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        XSync(display, True);
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            execvp(argv[2], argv + 2);
            _exit(127);
        }
        bool mapped = false;
        while (!mapped) {
            XEvent event;
            XNextEvent(display, &event);
            mapped = event.type == MapNotify;
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double mb = ResidentMegabytes(pid);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        times.push_back(ms);
        memory.push_back(mb);
        std::printf("run %d: %.1f ms to the first window, %.1f MB resident\n", run + 1, ms, mb);
    }
    std::printf("median: %.1f ms, %.1f MB\n", Median(times), Median(memory));
    XCloseDisplay(display);
    return 0;
}
