// SPDX-License-Identifier: GPL-3.0-or-later
// zentu-cli: the calculator's line execution on the command line.
//
// Reads lines from the named files (or standard input), executes each exactly as the
// desktop window's EXEC does, with the engine state carried from line to line, and
// writes each rewritten line to standard output. Message boxes the engine shows (DSEE,
// DIF) are written to standard error, one line each, when they would open.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "engine.h"

namespace {

constexpr const char* kUsage =
    "usage: zentu-cli [--decimals N] [--decimal-separator C] [FILE...]\n";

constexpr const char* kHelp =
    "Executes calculator lines as the Zentu window's EXEC does and prints each line\n"
    "rewritten as expression=result (or expression=error message).\n"
    "\n"
    "  FILE...                  read lines from these files (UTF-8); default: standard input\n"
    "  --decimals N             round results to N decimals, 0..12; -1 (default) does not round\n"
    "  --decimal-separator C    decimal separator for message-box texts (DSEE, DIF);\n"
    "                           default: the locale's, \".\" when it has none\n"
    "  --help                   show this help\n"
    "\n"
    "Message boxes are written to standard error. On a terminal a prompt is shown;\n"
    "Ctrl-C ends a long computation (the line shows the error), a second Ctrl-C quits.\n";

std::atomic<int> g_interrupts{0};
std::atomic<bool> g_evaluating{false};

extern "C" void OnInterrupt(int) {
    if (!g_evaluating.load() || g_interrupts.fetch_add(1) >= 1) _exit(130);
}

std::string LocaleSeparator() {
    std::string sep = ".";
    if (std::setlocale(LC_NUMERIC, "")) {
        const char* dp = std::localeconv()->decimal_point;
        if (dp && *dp) sep = dp;
    }
    std::setlocale(LC_NUMERIC, "C");
    return sep;
}

bool ParseDecimals(const char* text, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < -1 || v > 12) return false;
    out = int(v);
    return true;
}

int RunStream(std::istream& in, zentu::Engine& engine, int decimals, bool prompt) {
    std::string line;
    while (true) {
        if (prompt) {
            std::fputs("zentu> ", stdout);
            std::fflush(stdout);
        }
        if (!std::getline(in, line)) break;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        g_interrupts = 0;
        g_evaluating = true;
        try {
            std::string result = zentu::LineExecution(engine, line, decimals);
            g_evaluating = false;
            std::fwrite(result.data(), 1, result.size(), stdout);
        } catch (const std::exception& e) {
            // The rounding overflowed: the line stays as it was.
            g_evaluating = false;
            std::fprintf(stderr, "zentu-cli: %s\n", e.what());
            std::fwrite(line.data(), 1, line.size(), stdout);
        }
        std::fputc('\n', stdout);
        std::fflush(stdout);  // a program driving us through a pipe sees each line at once
    }
    if (prompt) std::fputc('\n', stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int decimals = -1;
    std::string separator = LocaleSeparator();
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        } else if (arg == "--decimals" && i + 1 < argc) {
            if (!ParseDecimals(argv[++i], decimals)) {
                std::fprintf(stderr, "zentu-cli: --decimals takes a whole number from -1 to 12\n%s", kUsage);
                return 2;
            }
        } else if (arg == "--decimal-separator" && i + 1 < argc && argv[i + 1][0]) {
            separator = argv[++i];
        } else if (arg == "--") {
            for (++i; i < argc; ++i) files.emplace_back(argv[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "zentu-cli: bad option '%s'\n%s", arg.c_str(), kUsage);
            return 2;
        } else {
            files.push_back(arg);
        }
    }

    zentu::Engine engine;
    engine.LocaleDecimalSeparator = separator;
    engine.ShowBox = [](zentu::BoxKind, const std::string& text) {
        std::fflush(stdout);
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    };
    engine.CancelRequested = [] { return g_interrupts.load() > 0; };
    std::signal(SIGINT, OnInterrupt);

    int status = 0;
    if (files.empty()) {
        const bool prompt = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
        status = RunStream(std::cin, engine, decimals, prompt);
    }
    for (const std::string& name : files) {
        std::ifstream in(name, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "zentu-cli: cannot open '%s': %s\n", name.c_str(), std::strerror(errno));
            status = 1;
            continue;
        }
        RunStream(in, engine, decimals, false);
    }
    std::fflush(stdout);
    return status;
}
