// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the desktop program against SpeedCrunch on the same X display (run it
// under Xvfb): each iteration launches both, one after the other, and times each from
// the launch to its first mapped top-level window; one second later it reads each one's
// resident memory. The reported time is Zentu's; the counters give both programs'
// averages and Zentu's share of SpeedCrunch's time.
//
//   DISPLAY=:1 build/bin/zentu_bench_startup [--zentu=PATH] [--other=PROGRAM]
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string g_zentu = ZENTU_BINARY;  // the build's own program unless told otherwise
std::string g_other = "speedcrunch";

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

struct Launch {
    double ms = 0;
    double megabytes = 0;
    bool ok = false;
};

// Starts `program`, waits for a window to be mapped on the display, then measures its
// memory a second later and ends it.
Launch TimeLaunch(Display* display, const std::string& program) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execlp(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    Launch launch;
    if (pid < 0) return launch;
    for (;;) {
        // A program that fails to start maps nothing: give up after ten seconds.
        if (XPending(display) == 0) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) return launch;
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(10)) break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            launch.ok = true;
            break;
        }
    }
    launch.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    launch.megabytes = ResidentMegabytes(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return launch;
}

void BM_StartupAgainstOther(benchmark::State& state) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display (run under Xvfb)");
        return;
    }
    double zentu_ms = 0, other_ms = 0, zentu_mb = 0, other_mb = 0;
    for (auto _ : state) {
        const Launch zentu = TimeLaunch(display, g_zentu);
        const Launch other = TimeLaunch(display, g_other);
        if (!zentu.ok || !other.ok) {
            state.SkipWithError(("no window from " + (zentu.ok ? g_other : g_zentu)).c_str());
            break;
        }
        state.SetIterationTime(zentu.ms / 1000);
        zentu_ms += zentu.ms;
        other_ms += other.ms;
        zentu_mb += zentu.megabytes;
        other_mb += other.megabytes;
    }
    XCloseDisplay(display);
    const double n = static_cast<double>(state.iterations());
    if (n == 0 || other_ms == 0) return;
    state.counters["zentu_ms"] = zentu_ms / n;
    state.counters["other_ms"] = other_ms / n;
    state.counters["time_share"] = zentu_ms / other_ms;
    state.counters["zentu_MB"] = zentu_mb / n;
    state.counters["other_MB"] = other_mb / n;
}
BENCHMARK(BM_StartupAgainstOther)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--zentu=", 8) == 0) g_zentu = argv[i] + 8;
        if (std::strncmp(argv[i], "--other=", 8) == 0) g_other = argv[i] + 8;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
