// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace zentu::cli {

namespace {

std::atomic<int> g_interrupts{0};
std::atomic<bool> g_computing{false};
std::atomic<int> g_prompt_fd{-1};

constexpr int kPassedSignals[] = {SIGTSTP, SIGTERM, SIGHUP, SIGQUIT};

void PassToPrompt(int fd, int signal_number) {
    const char byte = char(signal_number);
    // The pipe does not block: when it is full the prompt has plenty to handle already.
    [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
}

extern "C" void OnInterrupt(int signal_number) {
    if (g_computing.load()) {
        if (g_interrupts.fetch_add(1) >= 1) _exit(128 + SIGINT);
        return;
    }
    const int fd = g_prompt_fd.load();
    if (fd < 0) _exit(128 + SIGINT);
    PassToPrompt(fd, signal_number);
}

extern "C" void OnPromptSignal(int signal_number) {
    const int fd = g_prompt_fd.load();
    if (fd >= 0) PassToPrompt(fd, signal_number);
}

void SetHandler(int signal_number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal_number, &action, nullptr);
}

}  // namespace

void InstallInterruptHandler() {
    SetHandler(SIGINT, OnInterrupt);
}

LineComputation::LineComputation() {
    g_interrupts = 0;
    g_computing = true;
}

LineComputation::~LineComputation() {
    g_computing = false;
}

bool CancelRequested() {
    return g_interrupts.load() > 0;
}

PromptSignals::PromptSignals() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    read_fd_ = fds[0];
    write_fd_ = fds[1];
    g_prompt_fd = write_fd_;
    SetHandler(SIGWINCH, OnPromptSignal);
    Resume();
}

PromptSignals::~PromptSignals() {
    if (read_fd_ < 0) return;
    Pause();
    SetHandler(SIGWINCH, SIG_DFL);
    g_prompt_fd = -1;
    close(read_fd_);
    close(write_fd_);
}

void PromptSignals::Pause() {
    if (read_fd_ < 0) return;
    for (int s : kPassedSignals) SetHandler(s, SIG_DFL);
}

void PromptSignals::Resume() {
    if (read_fd_ < 0) return;
    for (int s : kPassedSignals) SetHandler(s, OnPromptSignal);
}

void PromptSignals::ActAsDefault(int signal_number) {
    struct sigaction previous {};
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, &previous);
    raise(signal_number);  // SIGTSTP returns here once the process is continued
    sigaction(signal_number, &previous, nullptr);
}

}  // namespace zentu::cli
