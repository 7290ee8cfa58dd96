// SPDX-License-Identifier: GPL-3.0-or-later
// Survival under hostile input: cancelling long computations, very long lines, deep
// nesting, and the inputs that fuzzing found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "fuzz/line_check.h"

namespace zentu {
namespace {

std::string Repeat(std::string_view piece, std::size_t times) {
    std::string s;
    s.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) s += piece;
    return s;
}

// What EXEC writes after the "=" of a line, or the whole line when it is not kept.
std::string Shown(Engine& engine, const std::string& line) {
    const std::string written = LineExecution(engine, line, -1);
    if (written.compare(0, line.size() + 1, line + "=") != 0) return written;
    return written.substr(line.size() + 1);
}

// An engine whose CancelRequested answers "cancel" from the given poll on.
class Cancelling : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.ShowBox = [](BoxKind, const std::string&) {};
    }

    void CancelAtPoll(int poll) {
        polls = 0;
        engine.CancelRequested = [this, poll] { return ++polls >= poll; };
    }

    std::string Exec(const std::string& line) { return Shown(engine, line); }

    Engine engine;
    int polls = 0;
};

TEST_F(Cancelling, IntegralKeepsAnswerAndSeries) {
    ASSERT_EQ(Exec("DAT(3;1;2)"), "3");
    ASSERT_EQ(Exec("5"), "5");
    std::uint64_t last_done = 0, last_total = 0;
    engine.ProgressReport = [&](std::uint64_t done, std::uint64_t total) {
        last_done = done;
        last_total = total;
    };
    CancelAtPoll(3);

    EXPECT_EQ(Exec("INT(X;X;0;1;2147483647)"), kFailureError);
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(last_total, 2147483647u);
    EXPECT_GT(last_done, 0u);
    EXPECT_EQ(engine.AnswerStore, 5);
    EXPECT_EQ(engine.SeriesStore, (std::vector<long double>{0, 3, 1, 2}));
    EXPECT_EQ(engine.SeriesCount, 3);

    engine.CancelRequested = nullptr;
    EXPECT_EQ(Exec("ANS()"), "5");
    EXPECT_EQ(Exec("SUM()"), "6");
}

// Whatever the line did before the cancel, the answer store and the series are as they
// were before the line.
TEST_F(Cancelling, LineLeavesNoTrace) {
    const std::string big_dat = "DAT(" + Repeat("1;", 5000) + "1)";
    const std::string many_integrals = Repeat("INT(X;X;0;1;200)+", 40) + "0";
    // A statistic is computed once per series, so the sort in front of each one makes it
    // read the series again.
    const std::string many_statistics = Repeat("DSRT()+SUM()+DVAR()+", 200) + "0";
    const std::vector<std::string> lines = {
        "INT(SIN(X);X;0;PI;100000000)",
        big_dat,                          // DAT cancelled midway
        "DAT(7;8)+" + big_dat,            // a DAT completed earlier in the line
        "DSRT()+INT(X;X;0;1;100000000)",  // a sort completed earlier in the line
        many_integrals,                   // each integral short on its own
        many_statistics,                  // so is each pass over the series
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line.substr(0, 60));
        engine.CancelRequested = nullptr;
        ASSERT_EQ(Exec("DAT(3;1;2)"), "3");
        ASSERT_EQ(Exec("5"), "5");
        CancelAtPoll(2);
        EXPECT_EQ(Exec(line), kFailureError);
        EXPECT_EQ(engine.AnswerStore, 5);
        EXPECT_EQ(engine.SeriesStore, (std::vector<long double>{0, 3, 1, 2}));
        EXPECT_EQ(engine.SeriesCount, 3);
    }
}

// Lines of a megabyte evaluate or fail at once, by linear passes.
TEST(Limits, MegabyteLines) {
    struct Case {
        std::string line;
        std::string result;
    };
    const std::size_t n = 1 << 19;  // repetitions of a two-byte piece: 1 MB
    const std::vector<Case> cases = {
        {Repeat("1+", n - 1) + "1", "524288"},
        {Repeat("1*", n - 1) + "1", "1"},
        {Repeat("1^", n - 1) + "1", "1"},
        {Repeat("-", 2 * n) + "1", "1"},
        {Repeat("2!", n / 2) + "1", "Yazım Hatası..."},  // 2!2!...1 is 2^262144: overflow
        {Repeat("1754!-1754!+", n / 6) + "0", "0"},
        {Repeat("((", n / 2) + Repeat("))", n / 2), "Yazım Hatası..."},
        {"1+" + Repeat("X+", n - 1), "Yazım hatası..."},
        {Repeat("1;", n), "Yazım hatası..."},
        {"DAT(" + Repeat("1;", 65534) + "1)+" + Repeat("1+", n - 65536) + "1", "524288"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 40));
        Engine engine;
        EXPECT_EQ(Shown(engine, c.line), c.result);
    }
}

TEST(Limits, DeepNestingFailsWithoutExhaustingTheStack) {
    const std::size_t n = 10000;
    for (const std::string& line : {
             Repeat("(", n) + "1" + Repeat(")", n),
             Repeat("SIN(", n) + "0" + Repeat(")", n),
             Repeat("2^(", n) + "1" + Repeat(")", n),
             Repeat("(", n) + "1" + Repeat(")!", n),
             Repeat("-(", n) + "1" + Repeat(")", n),
             Repeat("DAT(", n) + "1" + Repeat(")", n),
         }) {
        SCOPED_TRACE(line.substr(0, 20));
        Engine engine;
        EXPECT_EQ(Shown(engine, line), kFailureError);
    }
}

// Every input that fuzzing found (fuzz/corpus/fuzz_line/found-*) passes the fuzz target's
// own checks, so a fixed fault stays fixed without a fuzzing build.
TEST(FoundByFuzzing, LineInputsPassTheFuzzTargetsChecks) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(ZENTU_FUZZ_LINE_CORPUS))
        if (entry.path().filename().string().starts_with("found-")) found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    ASSERT_FALSE(found.empty()) << ZENTU_FUZZ_LINE_CORPUS;
    for (const std::filesystem::path& path : found) {
        SCOPED_TRACE(path.filename().string());
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in.good());
        const std::string input{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        ASSERT_FALSE(input.empty());
        EXPECT_EQ(CheckLineInput(input), "");
    }
}

}  // namespace
}  // namespace zentu
