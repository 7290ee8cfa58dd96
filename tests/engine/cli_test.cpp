// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's examples, run through zentu-cli: each session's lines go through one
// process (so the answer store and the data series carry over), and its standard output
// and standard error must hold exactly the expected lines and message boxes.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Row {
    int decimals = -1;
    std::string input, expected, separator = ".";
};

struct Session {
    std::string name;
    std::vector<Row> rows;
    std::vector<std::string> boxes;
};

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 't' || s[i + 1] == '\\')) {
            out += s[i + 1] == 't' ? '\t' : '\\';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string part;
    while (std::getline(ss, part, '\t')) f.push_back(part);
    if (!line.empty() && line.back() == '\t') f.emplace_back();
    return f;
}

std::vector<Session> LoadSessions() {
    std::vector<Session> sessions;
    std::map<std::string, std::size_t> index;
    std::ifstream lines(std::string(ZENTU_EXAMPLES_DIR) + "/engine_lines.tsv");
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = SplitTabs(line);
        if (f.size() < 4) continue;
        auto [it, fresh] = index.emplace(f[0], sessions.size());
        if (fresh) sessions.push_back({f[0], {}, {}});
        Row row;
        row.decimals = std::stoi(f[1]);
        row.input = Unescape(f[2]);
        row.expected = f[3].rfind("re:", 0) == 0 ? f[3] : Unescape(f[3]);
        if (f.size() > 4 && !f[4].empty()) row.separator = f[4];
        sessions[it->second].rows.push_back(row);
    }
    std::ifstream boxes(std::string(ZENTU_EXAMPLES_DIR) + "/engine_boxes.tsv");
    while (std::getline(boxes, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t tab = line.find('\t');
        auto it = index.find(line.substr(0, tab));
        if (it != index.end()) sessions[it->second].boxes.push_back(line.substr(tab + 1));
    }
    return sessions;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

// Runs zentu-cli with the given arguments and input; gives the exit status.
int RunCli(const std::string& args, const std::string& input, std::vector<std::string>& out,
           std::vector<std::string>& err) {
    const std::string base = testing::TempDir() + "zentu_cli_" + std::to_string(getpid());
    { std::ofstream(base + ".in", std::ios::binary) << input; }
    const std::string command = std::string("'") + ZENTU_CLI + "' " + args + " < '" + base +
                                ".in' > '" + base + ".out' 2> '" + base + ".err'";
    const int status = std::system(command.c_str());
    out = ReadLines(base + ".out");
    err = ReadLines(base + ".err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The exit status that a run writing these lines must end with: 1 when a line ended in
// one of the engine's three error messages.
int StatusOf(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string after = line.substr(equals + 1);
        if (after == "Geçersiz parantez..." || after == "Yazım hatası..." ||
            after == "Yazım Hatası...")
            return 1;
    }
    return 0;
}

// The tables' patterns use a small part of ECMAScript regular expressions: literals,
// escapes (\( \) \. \d ...), ".", "[..]" classes, groups, "{n}", "*" and "+". Lines run to
// tens of thousands of characters, beyond what std::regex handles, so they are matched
// here: groups and counts are expanded into a flat list of atoms, and only "*" needs
// backtracking.
struct Atom {
    std::string set;  // the bytes it accepts; empty with `any` for "."
    bool any = false, star = false;
    bool Accepts(char c) const { return any || set.find(c) != std::string::npos; }
};

std::vector<Atom> ParsePattern(const std::string& p, std::size_t& i, bool in_group) {
    std::vector<Atom> seq;
    while (i < p.size()) {
        std::vector<Atom> unit;
        const char c = p[i++];
        if (c == ')' && in_group) return seq;
        if (c == '(') {
            unit = ParsePattern(p, i, true);
        } else if (c == '\\' && i < p.size()) {
            const char e = p[i++];
            unit.push_back(e == 'd' ? Atom{"0123456789"} : Atom{std::string(1, e)});
        } else if (c == '.') {
            unit.push_back(Atom{"", true});
        } else if (c == '[') {
            Atom a;
            for (; i < p.size() && p[i] != ']'; ++i) {
                if (i + 2 < p.size() && p[i + 1] == '-' && p[i + 2] != ']') {
                    for (char x = p[i]; x <= p[i + 2]; ++x) a.set += x;
                    i += 2;
                } else {
                    a.set += p[i];
                }
            }
            ++i;
            unit.push_back(a);
        } else {
            unit.push_back(Atom{std::string(1, c)});
        }
        if (i < p.size() && p[i] == '{') {
            const std::size_t close = p.find('}', i);
            const int n = std::stoi(p.substr(i + 1, close - i - 1));
            i = close + 1;
            for (int k = 0; k < n; ++k) seq.insert(seq.end(), unit.begin(), unit.end());
        } else if (i < p.size() && (p[i] == '*' || p[i] == '+')) {
            if (unit.size() != 1) throw std::runtime_error("unsupported pattern: " + p);
            if (p[i] == '+') seq.push_back(unit[0]);
            unit[0].star = true;
            seq.push_back(unit[0]);
            ++i;
        } else {
            seq.insert(seq.end(), unit.begin(), unit.end());
        }
    }
    return seq;
}

bool MatchFrom(const std::vector<Atom>& a, std::size_t i, const std::string& t, std::size_t j) {
    while (i < a.size()) {
        if (a[i].star) {
            std::size_t most = j;
            while (most < t.size() && a[i].Accepts(t[most])) ++most;
            for (std::size_t k = most + 1; k-- > j;)
                if (MatchFrom(a, i + 1, t, k)) return true;
            return false;
        }
        if (j >= t.size() || !a[i].Accepts(t[j])) return false;
        ++i;
        ++j;
    }
    return j == t.size();
}

bool FullMatch(const std::string& pattern, const std::string& text) {
    std::size_t i = 0;
    return MatchFrom(ParsePattern(pattern, i, false), 0, text, 0);
}

TEST(PatternMatcher, HandlesTheTablesConstructs) {
    EXPECT_TRUE(FullMatch(R"(\({3}1\){3}=1)", "(((1)))=1"));
    EXPECT_FALSE(FullMatch(R"(\({3}1\){3}=1)", "((1))=1"));
    EXPECT_TRUE(FullMatch(R"((SIN\(){2}0\){2}=0)", "SIN(SIN(0))=0"));
    EXPECT_TRUE(FullMatch(R"(x=-2\.0[67]\d*E-13)", "x=-2.07E-13"));
    EXPECT_FALSE(FullMatch(R"(x=-2\.0[67]\d*E-13)", "x=-2.08E-13"));
    EXPECT_TRUE(FullMatch(R"(a.c\d+)", "abc12"));
    EXPECT_FALSE(FullMatch(R"(a.c\d+)", "abc"));
}

void PrintTo(const Session& s, std::ostream* os) {
    *os << s.name;
}

class Examples : public testing::TestWithParam<Session> {};

TEST_P(Examples, LinesAndBoxes) {
    const Session& s = GetParam();
    std::string input;
    for (const Row& r : s.rows) {
        ASSERT_EQ(r.decimals, s.rows[0].decimals) << "one decimals setting per session";
        input += r.input + "\n";
    }
    std::vector<std::string> out, err;
    const std::string args = "--decimals " + std::to_string(s.rows[0].decimals) +
                             " --decimal-separator '" + s.rows[0].separator + "'";
    const int status = RunCli(args, input, out, err);
    ASSERT_EQ(out.size(), s.rows.size());
    EXPECT_EQ(status, StatusOf(out));
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        const std::string& want = s.rows[i].expected;
        if (want.rfind("re:", 0) == 0)
            EXPECT_TRUE(FullMatch(want.substr(3), out[i]))
                << "line " << i + 1 << ": " << out[i].substr(0, 200)
                << "\n  pattern: " << want.substr(0, 200);
        else
            EXPECT_EQ(out[i], want) << "line " << i + 1;
    }
    EXPECT_EQ(err, s.boxes);
}

std::string SessionName(const testing::TestParamInfo<Session>& info) {
    std::string n = info.param.name;
    for (char& c : n)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
}

INSTANTIATE_TEST_SUITE_P(Table, Examples, testing::ValuesIn(LoadSessions()), SessionName);

TEST(ExampleTables, AreFound) {
    EXPECT_GT(LoadSessions().size(), 20u);
}

using Lines = std::vector<std::string>;

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "zentu_cli_" + std::to_string(getpid()) + "_" + name;
}

TEST(Cli, CommandLines) {
    struct Case {
        std::string args, input;
        int status;
        Lines out;
    };
    const Case cases[] = {
        // -e replaces standard input; its lines share one engine, in the order given.
        {"-e '2+3'", "9\n", 0, {"2+3=5"}},
        {"-e 7 --expression 'ANS()+1' --expression='ANS()*2'",
         "",
         0,
         {"7=7", "ANS()+1=8", "ANS()*2=16"}},
        {"-e ''", "", 0, {"=0"}},
        {"-e '1\n2\r\n3\r'", "", 0, {"1=1", "2=2", "3=3"}},
        {"-e 5 -", "ANS()+1\n", 0, {"5=5", "ANS()+1=6"}},
        // -r keeps what follows EXEC's "=", errors included; an old result is cut first.
        {"-r -e 'SQRT(2)'", "", 0, {"1.414213562373"}},
        {"--result-only -e 2+3=9 -e 2+X -e '(1'",
         "",
         1,
         {"5", "Yazım hatası...", "Geçersiz parantez..."}},
        {"-r", "DAT(1;2;3)\nDAVG()\n", 0, {"3", "2"}},
        {"--res -e 4", "", 0, {"4"}},
        // One error message anywhere makes the status 1.
        {"-e 1/0 -e 2", "", 1, {"1/0=Yazım Hatası...", "2=2"}},
        {"", "1\n(\n2\n", 1, {"1=1", "(=Geçersiz parantez...", "2=2"}},
        // Option values after "=" or as the next word.
        {"--decimals=2 -e 1/3", "", 0, {"1/3=0.33"}},
        {"--decimals 2", "1/3\n2*_C\n", 0, {"1/3=0.33", "2*_C=599584916"}},
        {"--decimals=0 -e 2.5 -e 3.5", "", 0, {"2.5=2", "3.5=4"}},
        {"--decimals -1 -e 1/3", "", 0, {"1/3=0.333333333333"}},
        // "-" is standard input; "--" ends the options.
        {"-", "2+3\n", 0, {"2+3=5"}},
        {"--", "2+3\n", 0, {"2+3=5"}},
        {"--version", "1\n", 0, {"zentu-cli " ZENTU_VERSION}},
    };
    for (const Case& c : cases) {
        Lines out, err;
        EXPECT_EQ(RunCli(c.args, c.input, out, err), c.status) << c.args;
        EXPECT_EQ(out, c.out) << c.args;
        EXPECT_EQ(err, Lines{}) << c.args;
    }
}

TEST(Cli, UsageErrorsNameTheProblemAndExecuteNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"-e 1 --decimals", "--decimals needs a value 0..12 or -1"},
        {"-e 1 --decimals=13", "--decimals needs a value 0..12 or -1, not '13'"},
        {"--decimals x", "--decimals needs a value 0..12 or -1, not 'x'"},
        {"--decimals 1.5", "--decimals needs a value 0..12 or -1, not '1.5'"},
        {"--decimals=", "--decimals needs a value 0..12 or -1, not ''"},
        {"--decimal-separator", "--decimal-separator needs a separator, such as ','"},
        {"--decimal-separator=", "--decimal-separator needs a separator, such as ','"},
        {"-e", "-e needs an expression"},
        {"--expression", "--expression needs an expression"},
        {"--help=yes", "--help takes no value"},
        {"--frobnicate", "unknown option '--frobnicate'"},
        {"-e 1 -rq", "unknown option '-q'"},
        {"--decimal 2", "option '--decimal' is ambiguous: --decimals, --decimal-separator"},
    };
    for (const auto& [args, message] : cases) {
        Lines out, err;
        EXPECT_EQ(RunCli(args, "1\n", out, err), 2) << args;
        EXPECT_EQ(out, Lines{}) << args;
        ASSERT_EQ(err.size(), 3u) << args;
        EXPECT_EQ(err[0], "zentu-cli: " + message);
        EXPECT_EQ(err[1], "usage: zentu-cli [OPTION]... [FILE]...");
    }
    Lines out, err;
    EXPECT_EQ(RunCli("-r --help", "1\n", out, err), 0);
    EXPECT_EQ(out.at(0), "usage: zentu-cli [OPTION]... [FILE]...");
}

// Each input as standard input and as a file: the mark is dropped at the start only, and
// every kind of line end ends a line.
TEST(Cli, ByteOrderMarkAndLineEnds) {
    struct Case {
        std::string input;
        int status;
        Lines out;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "1+1\n",
         0,
         {"1+1=2"}},
        {"\xEF\xBB\xBF", 0, {}},
        {"", 0, {}},
        {"\xEF\xBB", 1, {"\xEF\xBB=Yazım Hatası..."}},
        {" \xEF\xBB\xBF"
         "1\n",
         1,
         {" \xEF\xBB\xBF"
          "1=Yazım Hatası..."}},
        {"1\r2\r", 0, {"1=1", "2=2"}},
        {"1\r\n2\n3", 0, {"1=1", "2=2", "3=3"}},
        {"1\r\r\n\n2\r\n", 0, {"1=1", "=0", "=0", "2=2"}},
        {"\xEF\xBB\xBF\r\n", 0, {"=0"}},
    };
    const std::string file = TempPath("input.txt");
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary) << c.input;
        for (const std::string& args : {std::string(), "'" + file + "'"}) {
            Lines out, err;
            EXPECT_EQ(RunCli(args, c.input, out, err), c.status) << testing::PrintToString(c.input);
            EXPECT_EQ(out, c.out) << testing::PrintToString(c.input) << " " << args;
        }
    }
}

TEST(Cli, ReadsFilesInOrderAndReportsUnreadableOnes) {
    const std::string a = TempPath("a.txt"), b = TempPath("b.txt"), dir = TempPath("dir");
    std::ofstream(a) << "DAT(1;2;3)\r\n7\r\n";
    std::ofstream(b) << "\xEF\xBB\xBF"
                        "SUM()+ANS()";
    mkdir(dir.c_str(), 0700);
    Lines out, err;
    EXPECT_EQ(
        RunCli("'" + a + "' /nonexistent/zentu '" + dir + "' - '" + b + "'", "ANS()*2\n", out, err),
        1);
    EXPECT_EQ(out, (Lines{"DAT(1;2;3)=3", "7=7", "ANS()*2=14", "SUM()+ANS()=20"}));
    EXPECT_EQ(err, (Lines{"zentu-cli: cannot open '/nonexistent/zentu': No such file or directory",
                          "zentu-cli: cannot read '" + dir + "': Is a directory"}));
    // After "--" an option's name is a file name.
    EXPECT_EQ(RunCli("-- -r", "1\n", out, err), 1);
    EXPECT_EQ(out, Lines{});
    EXPECT_EQ(err, Lines{"zentu-cli: cannot open '-r': No such file or directory"});
}

// A result beyond the range of the rounding is not written: the line stays as it was (with
// -r an empty line keeps the lines in step), the reason goes to standard error.
TEST(Cli, RoundingOverflowLeavesTheLineAndGoesOn) {
    for (const auto& [args, first] :
         {std::pair{"--decimals 12", "1E4930*1"}, std::pair{"-r --decimals 12", ""}}) {
        Lines out, err;
        EXPECT_EQ(RunCli(args, "1E4930*1\n2\n", out, err), 1);
        EXPECT_EQ(out, (Lines{first, std::string(args).starts_with("-r") ? "2" : "2=2"}));
        ASSERT_EQ(err.size(), 1u);
    }
}

// Every option that --help lists is described in the manual page, which belongs to this
// version.
TEST(Cli, ManualPageMatchesTheHelp) {
    const std::string page = [] {
        std::ifstream in(ZENTU_MAN_PAGE);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    ASSERT_FALSE(page.empty());
    EXPECT_NE(page.find("\"Zentu " ZENTU_VERSION "\""), std::string::npos);
    Lines out, err;
    ASSERT_EQ(RunCli("--help", "", out, err), 0);
    int options = 0;
    for (const std::string& line : out) {
        for (std::size_t at = line.find("--"); at != std::string::npos;
             at = line.find("--", at + 2)) {
            std::size_t stop = at + 2;
            while (stop < line.size() &&
                   (std::islower(static_cast<unsigned char>(line[stop])) || line[stop] == '-'))
                ++stop;
            if (stop == at + 2) continue;
            std::string roff;
            for (char ch : line.substr(at, stop - at))
                roff += ch == '-' ? "\\-" : std::string(1, ch);
            EXPECT_NE(page.find(roff), std::string::npos) << line.substr(at, stop - at);
            ++options;
        }
    }
    EXPECT_GE(options, 6);
}

}  // namespace

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A recorded corpus of generated lines: the engine's results must not change by a single
// character (tests/engine/golden/generate.py made it).
TEST(Golden, CorpusResultsAreUnchanged) {
    for (const auto& [suffix, decimals] : {std::pair{"", -1}, std::pair{"_d4", 4}}) {
        const std::string dir = std::string(ZENTU_GOLDEN_DIR) + "/";
        const std::string input = ReadFile(dir + "lines" + suffix + ".txt");
        ASSERT_FALSE(input.empty());
        std::vector<std::string> out, err;
        const int status = RunCli(
            "--decimals " + std::to_string(decimals) + " --decimal-separator .", input, out, err);
        const std::vector<std::string> expected = ReadLines(dir + "expected" + suffix + ".txt");
        EXPECT_EQ(status, StatusOf(expected));
        const std::vector<std::string> boxes = ReadLines(dir + "boxes" + suffix + ".txt");
        ASSERT_EQ(out.size(), expected.size());
        int shown = 0;
        for (std::size_t i = 0; i < out.size() && shown < 20; ++i)
            if (out[i] != expected[i]) {
                ADD_FAILURE() << "line " << i + 1 << "\n  got:  " << out[i]
                              << "\n  want: " << expected[i];
                ++shown;
            }
        EXPECT_TRUE(err == boxes) << "message boxes differ";
    }
}

}  // namespace

namespace {

// zentu-cli started with its standard input and output on pipes, for tests that talk to
// it while it runs.
struct PipedCli {
    pid_t pid = -1;
    int input = -1;   // written to the program's standard input
    int output = -1;  // read from its standard output

    // Starts the program with one argument, or none when `argument` is null.
    explicit PipedCli(const char* argument) {
        int to_child[2], from_child[2];
        if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(to_child[0], 0);
            dup2(from_child[1], 1);
            close(to_child[1]);
            close(from_child[0]);
            execl(ZENTU_CLI, ZENTU_CLI, argument, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(to_child[0]);
        close(from_child[1]);
        input = to_child[1];
        output = from_child[0];
    }
};

// Ctrl-C ends the running line's computation as a failure and the next line goes on; a
// second Ctrl-C while a line still runs ends the program.
TEST(Cli, InterruptEndsTheCurrentLineOnly) {
    const PipedCli cli(nullptr);
    ASSERT_GT(cli.pid, 0);
    const std::string input = "7\nINT(X;X;0;1;2000000000)\nANS()+1\n";
    ASSERT_EQ(write(cli.input, input.data(), input.size()), ssize_t(input.size()));
    close(cli.input);
    // Wait for the first result, then interrupt the long integral.
    std::string out;
    char buf[256];
    while (out.find('\n') == std::string::npos) {
        const ssize_t n = read(cli.output, buf, sizeof buf);
        ASSERT_GT(n, 0);
        out.append(buf, std::size_t(n));
    }
    usleep(200000);
    kill(cli.pid, SIGINT);
    ssize_t n;
    while ((n = read(cli.output, buf, sizeof buf)) > 0) out.append(buf, std::size_t(n));
    int status = 0;
    waitpid(cli.pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);  // the interrupted line failed
    EXPECT_EQ(out, "7=7\nINT(X;X;0;1;2000000000)=Yazım Hatası...\nANS()+1=8\n");
}

// A program that drives zentu-cli through a pipe gets each answer once the line's end is
// written, also when that end is a lone CR; an LF that follows the CR later belongs to the
// same line end and makes no empty line.
TEST(Cli, AnswersEachLineAsItsEndArrives) {
    const PipedCli cli("-r");
    ASSERT_GT(cli.pid, 0);
    std::string out;
    // Reads until `want` has come, for at most 10 seconds.
    auto read_until = [&](const std::string& want) {
        pollfd p{cli.output, POLLIN, 0};
        while (out.find(want) == std::string::npos && poll(&p, 1, 10000) > 0) {
            char buf[256];
            const ssize_t n = read(cli.output, buf, sizeof buf);
            if (n <= 0) break;
            out.append(buf, std::size_t(n));
        }
        return out.find(want) != std::string::npos;
    };
    const std::string pieces[] = {"\xEF\xBB",
                                  "\xBF"
                                  "1+1\r",
                                  "\n2*3\r", "\n"};
    const std::string answers[] = {"", "2\n", "2\n6\n", "2\n6\n"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(write(cli.input, pieces[i].data(), pieces[i].size()), ssize_t(pieces[i].size()));
        EXPECT_TRUE(read_until(answers[i])) << out;
    }
    close(cli.input);
    read_until("never");
    int status = 0;
    waitpid(cli.pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(out, "2\n6\n");
}

}  // namespace
