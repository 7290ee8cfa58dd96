// SPDX-License-Identifier: GPL-3.0-or-later
// zentu-cli: the calculator's line execution on the command line.
//
// Executes lines given with -e, read from the named files or from standard input, each
// exactly as the desktop window's EXEC does, with the engine state carried from line to
// line, and writes each rewritten line to standard output. Message boxes the engine
// shows (DSEE, DIF) are written to standard error, one line each, when they would open.
// At a terminal, standard input is read through the prompt of terminal.h.
#include <fcntl.h>
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/line_input.h"
#include "cli/signals.h"
#include "cli/terminal.h"
#include "engine/engine.h"

namespace {

constexpr const char* kUsage = "usage: zentu-cli [OPTION]... [FILE]...\n";

constexpr const char* kHelp =
    "Executes calculator lines as the Zentu window's EXEC does and prints each line\n"
    "rewritten as expression=result (or expression=error message).\n"
    "\n"
    "  -e, --expression=EXPR     execute EXPR as a line; repeatable, in order\n"
    "  -r, --result-only         print only what follows the \"=\" of each line: the\n"
    "                            result or the error message\n"
    "      --decimals=N          round results to N decimals, 0..12; -1 (default)\n"
    "                            does not round\n"
    "      --decimal-separator=C decimal separator for message-box texts (DSEE, DIF);\n"
    "                            default: the locale's, \".\" when it has none\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and exit\n"
    "\n"
    "The lines of -e come first, then the FILEs in order; \"-\" is standard input,\n"
    "read when neither FILE nor -e is given. All lines share one engine: ANS() and\n"
    "the data series carry over. Input is UTF-8; a byte-order mark at the start is\n"
    "dropped, and CR LF, LF or CR ends a line.\n"
    "\n"
    "Message boxes are written to standard error. At a terminal the prompt edits\n"
    "lines with GNU Readline and keeps a history in $XDG_STATE_HOME/zentu/history\n"
    "(~/.local/state/zentu/history). Ctrl-C clears the line; during a long\n"
    "computation it ends that line (the line shows the error), and a second Ctrl-C\n"
    "quits. Ctrl-D quits.\n"
    "\n"
    "Exit status: 0 when every line was evaluated without an error message; 1 when a\n"
    "line ended in an error message or could not be rounded, or a file could not be\n"
    "read; 2 for a usage error.\n";

// Long options without a short form.
enum : int { kDecimals = 256, kDecimalSeparator, kVersion };

constexpr option kOptions[] = {
    {"expression", required_argument, nullptr, 'e'},
    {"result-only", no_argument, nullptr, 'r'},
    {"decimals", required_argument, nullptr, kDecimals},
    {"decimal-separator", required_argument, nullptr, kDecimalSeparator},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};
constexpr const char* kShortOptions = "e:rh";

struct Options {
    int decimals = -1;
    std::string separator;
    bool result_only = false;
    std::vector<std::string> expressions;
    std::vector<std::string> files;
};

std::string LocaleSeparator() {
    std::string sep = ".";
    if (std::setlocale(LC_NUMERIC, "")) {
        const char* dp = std::localeconv()->decimal_point;
        if (dp && *dp) sep = dp;
    }
    std::setlocale(LC_NUMERIC, "C");
    return sep;
}

// A whole number from -1 to 12, written with digits only (and a leading "-").
bool ParseDecimals(std::string_view text, int& out) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 2) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (negative) v = -v;
    if (v < -1 || v > 12) return false;
    out = v;
    return true;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "zentu-cli: %s\n%sTry 'zentu-cli --help' for more information.\n",
                 message.c_str(), kUsage);
    return 2;
}

const option* OptionByValue(int value) {
    for (const option* o = kOptions; o->name; ++o)
        if (o->val == value) return o;
    return nullptr;
}

// How the user wrote the option that getopt_long stopped at: "--name" (without any
// "=value") for a long one, "-c" for a short one.
std::string WrittenOption(const char* arg, int short_option) {
    if (arg && std::strncmp(arg, "--", 2) == 0) {
        const std::string_view text(arg);
        return std::string(text.substr(0, text.find('=')));
    }
    return std::string("-") + char(short_option);
}

// The message for what getopt_long refused: a missing value, a value given to an
// option that takes none, an unknown or an ambiguous option.
std::string RefusedOption(const char* arg, int short_option) {
    const option* known = short_option ? OptionByValue(short_option) : nullptr;
    std::string written = WrittenOption(arg, short_option);
    if (known && written.starts_with("--")) written = std::string("--") + known->name;
    if (known && known->has_arg == no_argument) return written + " takes no value";
    if (known) {
        switch (known->val) {
            case kDecimals:
                return written + " needs a value 0..12 or -1";
            case kDecimalSeparator:
                return written + " needs a separator, such as ','";
            default:
                return written + " needs an expression";
        }
    }
    if (written.starts_with("--")) {
        std::string matches;
        for (const option* o = kOptions; o->name; ++o)
            if (std::string_view(o->name).starts_with(written.substr(2)))
                matches += std::string(matches.empty() ? "" : ", ") + "--" + o->name;
        if (matches.find(',') != std::string::npos)
            return "option '" + written + "' is ambiguous: " + matches;
    }
    return "unknown option '" + written + "'";
}

// Fills `options`; gives -1 to go on, else the exit status (help, version, usage error).
int ParseOptions(int argc, char** argv, Options& options) {
    opterr = 0;  // the messages below name the problem
    while (true) {
        const int before = optind;
        const int c = getopt_long(argc, argv, kShortOptions, kOptions, nullptr);
        if (c == -1) break;
        switch (c) {
            case 'e':
                options.expressions.emplace_back(optarg);
                break;
            case 'r':
                options.result_only = true;
                break;
            case kDecimals:
                if (!ParseDecimals(optarg, options.decimals))
                    return UsageError(std::string("--decimals needs a value 0..12 or -1, not '") +
                                      optarg + "'");
                break;
            case kDecimalSeparator:
                if (!*optarg)
                    return UsageError("--decimal-separator needs a separator, such as ','");
                options.separator = optarg;
                break;
            case 'h':
                std::fputs(kUsage, stdout);
                std::fputs(kHelp, stdout);
                return 0;
            case kVersion:
                std::puts("zentu-cli " ZENTU_VERSION);
                return 0;
            default:
                // optind has moved past the refused word unless it stopped inside a
                // group of short options ("-rq").
                return UsageError(
                    RefusedOption(optind > before ? argv[optind - 1] : argv[before], optopt));
        }
    }
    for (int i = optind; i < argc; ++i) options.files.emplace_back(argv[i]);
    return -1;
}

// Executes lines in one engine and writes what EXEC writes for each.
class Calculator {
  public:
    explicit Calculator(const Options& options)
        : decimals_(options.decimals), result_only_(options.result_only) {
        engine_.LocaleDecimalSeparator = options.separator;
        engine_.ShowBox = [](zentu::BoxKind, const std::string& text) {
            std::fflush(stdout);
            std::fwrite(text.data(), 1, text.size(), stderr);
            std::fputc('\n', stderr);
            std::fflush(stderr);
        };
        engine_.CancelRequested = [] { return zentu::cli::CancelRequested(); };
    }

    // `echoed`: the line is on the terminal above, where Ctrl-C may have been echoed.
    void Execute(std::string_view line, bool echoed = false) {
        std::string written;
        {
            zentu::cli::LineComputation computation;
            try {
                written = zentu::LineExecution(engine_, line, decimals_);
            } catch (const std::exception& e) {
                // The rounding overflowed: the line stays as it was, without a result.
                std::fflush(stdout);
                std::fprintf(stderr, "zentu-cli: %s\n", e.what());
                failed_ = true;
                written = result_only_ ? std::string() : std::string(line);
            }
        }
        if (echoed && zentu::cli::CancelRequested()) std::fputc('\r', stdout);  // over "^C"
        // The engine cut the line at its first "=", so the first "=" written is EXEC's.
        const std::size_t equals = written.find('=');
        if (equals != std::string::npos) {
            const std::string_view after = std::string_view(written).substr(equals + 1);
            if (after == zentu::kParenthesisError || after == zentu::kSyntaxError ||
                after == zentu::kFailureError)
                failed_ = true;
            if (result_only_) written.erase(0, equals + 1);
        }
        std::fwrite(written.data(), 1, written.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);  // a program driving us through a pipe sees each line at once
    }

    bool failed() const { return failed_; }

  private:
    zentu::Engine engine_;
    int decimals_;
    bool result_only_;
    bool failed_ = false;  // a line ended in an error message or was not executed
};

// Reads lines from `fd` to its end; false (with a message) when reading failed.
bool ExecuteAll(int fd, const std::string& name, Calculator& calculator) {
    zentu::cli::LineReader reader(fd);
    std::string line;
    while (reader.Next(line)) calculator.Execute(line);
    if (reader.error()) {
        std::fflush(stdout);
        std::fprintf(stderr, "zentu-cli: cannot read %s: %s\n", name.c_str(),
                     std::strerror(reader.error()));
        return false;
    }
    return true;
}

bool ExecuteFile(const std::string& name, Calculator& calculator) {
    if (name == "-") {
        if (isatty(STDIN_FILENO)) {
            zentu::cli::RunTerminal(
                [&calculator](std::string_view line) { calculator.Execute(line, true); });
            return true;
        }
        return ExecuteAll(STDIN_FILENO, "standard input", calculator);
    }
    const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::fflush(stdout);
        std::fprintf(stderr, "zentu-cli: cannot open '%s': %s\n", name.c_str(),
                     std::strerror(errno));
        return false;
    }
    struct stat info {};
    bool ok;
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fflush(stdout);
        std::fprintf(stderr, "zentu-cli: cannot read '%s': %s\n", name.c_str(),
                     std::strerror(EISDIR));
        ok = false;
    } else {
        ok = ExecuteAll(fd, "'" + name + "'", calculator);
    }
    close(fd);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    options.separator = LocaleSeparator();
    if (const int status = ParseOptions(argc, argv, options); status >= 0) return status;

    Calculator calculator(options);
    zentu::cli::InstallInterruptHandler();

    bool read_all = true;
    for (const std::string& expression : options.expressions)
        for (const std::string_view line : zentu::cli::SplitLines(expression))
            calculator.Execute(line);
    if (options.files.empty() && options.expressions.empty()) options.files.emplace_back("-");
    for (const std::string& name : options.files)
        if (!ExecuteFile(name, calculator)) read_all = false;

    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "zentu-cli: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return read_all && !calculator.failed() ? 0 : 1;
}
