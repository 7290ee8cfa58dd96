// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's examples, run through zentu-cli: each session's lines go through one
// process (so the answer store and the data series carry over), and its standard output
// and standard error must hold exactly the expected lines and message boxes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <sstream>
#include <string>
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
    {
        std::ofstream(base + ".in", std::ios::binary) << input;
    }
    const std::string command = std::string("'") + ZENTU_CLI + "' " + args + " < '" + base + ".in' > '" +
                                base + ".out' 2> '" + base + ".err'";
    const int status = std::system(command.c_str());
    out = ReadLines(base + ".out");
    err = ReadLines(base + ".err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

void PrintTo(const Session& s, std::ostream* os) { *os << s.name; }

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
    ASSERT_EQ(RunCli(args, input, out, err), 0);
    ASSERT_EQ(out.size(), s.rows.size());
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        const std::string& want = s.rows[i].expected;
        if (want.rfind("re:", 0) == 0)
            EXPECT_TRUE(FullMatch(want.substr(3), out[i]))
                << "line " << i + 1 << ": " << out[i].substr(0, 200) << "\n  pattern: " << want.substr(0, 200);
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

TEST(ExampleTables, AreFound) { EXPECT_GT(LoadSessions().size(), 20u); }

TEST(Cli, Options) {
    std::vector<std::string> out, err;
    EXPECT_EQ(RunCli("--decimals 2", "1/3\n2*_C\n", out, err), 0);
    EXPECT_EQ(out, (std::vector<std::string>{"1/3=0.33", "2*_C=599584916"}));

    for (const char* args : {"--decimals 13", "--decimals x", "--decimals", "--frobnicate", "-q"}) {
        EXPECT_EQ(RunCli(args, "", out, err), 2) << args;
        ASSERT_FALSE(err.empty()) << args;
        EXPECT_NE(err.back().find("usage: zentu-cli"), std::string::npos) << args;
    }
    EXPECT_EQ(RunCli("--help", "", out, err), 0);
    EXPECT_NE(out.at(0).find("usage"), std::string::npos);
}

TEST(Cli, ReadsFilesInOrderAndReportsMissingOnes) {
    const std::string a = testing::TempDir() + "zentu_a.txt", b = testing::TempDir() + "zentu_b.txt";
    std::ofstream(a) << "DAT(1;2;3)\r\n7\r\n";
    std::ofstream(b) << "SUM()+ANS()";
    std::vector<std::string> out, err;
    EXPECT_EQ(RunCli("'" + a + "' /nonexistent/zentu '" + b + "'", "", out, err), 1);
    EXPECT_EQ(out, (std::vector<std::string>{"DAT(1;2;3)=3", "7=7", "SUM()+ANS()=13"}));
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("/nonexistent/zentu"), std::string::npos);
}

TEST(Cli, RoundingOverflowLeavesTheLineAndGoesOn) {
    std::vector<std::string> out, err;
    EXPECT_EQ(RunCli("--decimals 12", "1E4930*1\n2\n", out, err), 0);
    EXPECT_EQ(out, (std::vector<std::string>{"1E4930*1", "2=2"}));
    ASSERT_EQ(err.size(), 1u);
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
        ASSERT_EQ(RunCli("--decimals " + std::to_string(decimals) + " --decimal-separator .", input, out, err), 0);
        const std::vector<std::string> expected = ReadLines(dir + "expected" + suffix + ".txt");
        const std::vector<std::string> boxes = ReadLines(dir + "boxes" + suffix + ".txt");
        ASSERT_EQ(out.size(), expected.size());
        int shown = 0;
        for (std::size_t i = 0; i < out.size() && shown < 20; ++i)
            if (out[i] != expected[i]) {
                ADD_FAILURE() << "line " << i + 1 << "\n  got:  " << out[i] << "\n  want: " << expected[i];
                ++shown;
            }
        EXPECT_TRUE(err == boxes) << "message boxes differ";
    }
}

}  // namespace

namespace {

// Ctrl-C ends the running line's computation as a failure and the next line goes on; a
// second Ctrl-C while a line still runs ends the program.
TEST(Cli, InterruptEndsTheCurrentLineOnly) {
    int to_child[2], from_child[2];
    ASSERT_EQ(pipe(to_child), 0);
    ASSERT_EQ(pipe(from_child), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(to_child[0], 0);
        dup2(from_child[1], 1);
        close(to_child[1]);
        close(from_child[0]);
        execl(ZENTU_CLI, ZENTU_CLI, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    const std::string input = "7\nINT(X;X;0;1;2000000000)\nANS()+1\n";
    ASSERT_EQ(write(to_child[1], input.data(), input.size()), ssize_t(input.size()));
    close(to_child[1]);
    // Wait for the first result, then interrupt the long integral.
    std::string out;
    char buf[256];
    while (out.find('\n') == std::string::npos) {
        const ssize_t n = read(from_child[0], buf, sizeof buf);
        ASSERT_GT(n, 0);
        out.append(buf, std::size_t(n));
    }
    usleep(200000);
    kill(pid, SIGINT);
    ssize_t n;
    while ((n = read(from_child[0], buf, sizeof buf)) > 0) out.append(buf, std::size_t(n));
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(out, "7=7\nINT(X;X;0;1;2000000000)=Yazım Hatası...\nANS()+1=8\n");
}

}  // namespace
