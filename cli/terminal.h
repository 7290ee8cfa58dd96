// SPDX-License-Identifier: GPL-3.0-or-later
// The interactive prompt: GNU Readline line editing and a history kept between runs.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zentu::cli {

// Where the history is kept: $XDG_STATE_HOME/zentu/history, or
// ~/.local/state/zentu/history when XDG_STATE_HOME is unset, empty or not absolute.
// Empty when there is no home directory either.
std::string HistoryPath();

// Reads lines at the terminal (standard input) until Ctrl-D and hands each to `execute`,
// which writes its answer. The prompt, the echo and the banner go to standard output
// when it is a terminal, else to standard error.
void RunTerminal(const std::function<void(std::string_view line)>& execute);

}  // namespace zentu::cli
