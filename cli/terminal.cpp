// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminal.h"

// Readline's headers use FILE without including <stdio.h>.
#include <cstdio>
//
#include <fcntl.h>
#include <pwd.h>
#include <readline/history.h>
#include <readline/readline.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "cli/line_input.h"
#include "cli/signals.h"

namespace zentu::cli {

namespace {

constexpr const char* kPrompt = "zentu> ";
constexpr const char* kBanner = "Çıkmak için Ctrl-D";
constexpr int kHistoryLines = 1000;

// The history file. Failing to write it is told once and otherwise ignored: the prompt
// keeps its history for this run.
class History {
  public:
    explicit History(std::string path) : path_(std::move(path)) {}

    void Load() {
        stifle_history(kHistoryLines);
        if (path_.empty()) return;
        if (!MakeParents()) return;
        const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) return Fail(errno);
        close(fd);
        read_history(path_.c_str());
    }

    void Add(const std::string& line) {
        if (line.find_first_not_of(' ') == std::string::npos) return;
        if (history_length > 0) {
            const HIST_ENTRY* last = history_get(history_base + history_length - 1);
            if (last && line == last->line) return;
        }
        add_history(line.c_str());
        if (path_.empty() || failed_) return;
        if (const int error = append_history(1, path_.c_str())) return Fail(error);
        history_truncate_file(path_.c_str(), kHistoryLines);
    }

  private:
    // Creates the folders above the file, as private as the file.
    bool MakeParents() {
        for (std::size_t slash = path_.find('/', 1); slash != std::string::npos;
             slash = path_.find('/', slash + 1)) {
            const std::string dir = path_.substr(0, slash);
            if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
                Fail(errno);
                return false;
            }
        }
        return true;
    }

    void Fail(int error) {
        if (!failed_)
            std::fprintf(stderr, "zentu-cli: history not saved in '%s': %s\n", path_.c_str(),
                         std::strerror(error));
        failed_ = true;
    }

    std::string path_;
    bool failed_ = false;
};

// What the line handler needs; readline's callbacks take no context.
struct Session {
    const std::function<void(std::string_view)>* execute = nullptr;
    History* history = nullptr;
    PromptSignals* signals = nullptr;
    bool done = false;
};
Session g_session;

extern "C" void OnLine(char* text) {
    if (!text) {  // Ctrl-D on an empty line
        g_session.done = true;
        rl_callback_handler_remove();  // no fresh prompt after this one
        return;
    }
    // A pasted block arrives as one text; each of its lines is a line of its own.
    g_session.signals->Pause();
    for (const std::string_view line : SplitLines(text)) {
        g_session.history->Add(std::string(line));
        (*g_session.execute)(line);
    }
    std::free(text);
    g_session.signals->Resume();
}

// Ctrl-C at the prompt: abandon whatever is being typed or searched and start afresh on
// a new line, as shells do; Up then begins again from the newest line.
void ClearLine() {
    rl_callback_sigcleanup();  // ends a search (Ctrl-R) and shows the line it had found
    rl_point = rl_end;
    rl_redisplay();
    rl_echo_signal_char(SIGINT);
    rl_crlf();
    rl_free_line_state();
    rl_callback_handler_remove();
    rl_callback_handler_install(kPrompt, OnLine);
}

}  // namespace

std::string HistoryPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/zentu/history";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || !*home) return {};
    return std::string(home) + "/.local/state/zentu/history";
}

void RunTerminal(const std::function<void(std::string_view)>& execute) {
    // Readline needs the character set of the terminal to move over multi-byte letters.
    std::setlocale(LC_CTYPE, "");
    FILE* out = isatty(STDOUT_FILENO) ? stdout : stderr;

    History history(HistoryPath());
    history.Load();
    PromptSignals signals;
    g_session = Session{&execute, &history, &signals, false};

    rl_readline_name = "zentu";  // for "$if zentu" in ~/.inputrc
    rl_instream = stdin;
    rl_outstream = out;
    rl_catch_signals = 0;  // the prompt handles its signals itself (PromptSignals)
    rl_catch_sigwinch = 0;
    rl_change_environment = 0;
    rl_inhibit_completion = 1;  // Tab is a character like the others

    std::fprintf(out, "%s\n", kBanner);
    std::fflush(out);
    rl_callback_handler_install(kPrompt, OnLine);
    int ended_by = 0;  // a signal that ends the program
    while (!g_session.done && !ended_by) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(STDIN_FILENO, &ready);
        if (signals.fd() >= 0) FD_SET(signals.fd(), &ready);
        const int n =
            select(std::max(STDIN_FILENO, signals.fd()) + 1, &ready, nullptr, nullptr, nullptr);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (signals.fd() >= 0 && FD_ISSET(signals.fd(), &ready)) {
            char received[64];
            const ssize_t count = read(signals.fd(), received, sizeof received);
            for (ssize_t i = 0; i < count; ++i) {
                const int s = received[i];
                if (s == SIGINT) {
                    ClearLine();
                } else if (s == SIGWINCH) {
                    rl_resize_terminal();
                } else if (s == SIGTSTP) {
                    rl_cleanup_after_signal();
                    PromptSignals::ActAsDefault(SIGTSTP);
                    rl_reset_after_signal();
                    rl_forced_update_display();
                } else {
                    ended_by = s;
                }
            }
            continue;
        }
        if (FD_ISSET(STDIN_FILENO, &ready)) rl_callback_read_char();
    }
    if (!g_session.done) rl_callback_handler_remove();
    std::fputc('\n', out);
    std::fflush(out);
    if (ended_by) PromptSignals::ActAsDefault(ended_by);
}

}  // namespace zentu::cli
