// SPDX-License-Identifier: GPL-3.0-or-later
// Signals of zentu-cli.
//
// Ctrl-C (SIGINT) has three meanings. While a line is computed, the first one ends that
// line's computation as a failure (the engine polls CancelRequested) and a second one
// ends the program. At the terminal prompt it goes to the prompt, which clears the line.
// Anywhere else (waiting for piped input, say) it ends the program.
//
// While the terminal prompt waits, the signals that need the terminal put back
// (SIGTSTP, SIGTERM, SIGHUP, SIGQUIT) and SIGWINCH are passed to it as well: each
// writes its number into a pipe that the prompt watches beside standard input.
#pragma once

namespace zentu::cli {

void InstallInterruptHandler();

// Marks the computation of one line for the lifetime of the object.
class LineComputation {
  public:
    LineComputation();
    ~LineComputation();
    LineComputation(const LineComputation&) = delete;
    LineComputation& operator=(const LineComputation&) = delete;
};

// Ctrl-C was pressed during the current (or last) line's computation.
bool CancelRequested();

// The pipe through which the prompt receives its signals.
class PromptSignals {
  public:
    PromptSignals();   // opens the pipe and installs the handlers
    ~PromptSignals();  // the handlers and the pipe go
    PromptSignals(const PromptSignals&) = delete;
    PromptSignals& operator=(const PromptSignals&) = delete;

    // The end to read signal numbers from (one byte each), or -1 without a pipe.
    int fd() const { return read_fd_; }
    // While a line is computed, SIGTSTP, SIGTERM, SIGHUP and SIGQUIT act as usual (the
    // terminal is as the prompt found it); Resume passes them to the prompt again.
    void Pause();
    void Resume();
    // Stops the process for SIGTSTP, or ends it for the others, as they would have.
    static void ActAsDefault(int signal_number);

  private:
    int read_fd_ = -1, write_fd_ = -1;
};

}  // namespace zentu::cli
