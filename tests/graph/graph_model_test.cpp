// SPDX-License-Identifier: GPL-3.0-or-later
// The plot model: computing samples, the sample list, substitution, reading series and the
// statistics of auto scaling. Every test evaluates through a fresh engine of its own.
#include "graph/graph_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace zentu {
namespace {

class GraphModel : public ::testing::Test {
  protected:
    ComputeRequest Request(std::string formula, std::string samples = "4") {
        ComputeRequest r;
        r.formula = std::move(formula);
        r.const1Name = "_a";
        r.const1Value = "0";
        r.const2Name = "_b";
        r.const2Value = "0";
        r.start = "0";
        r.end = "10";
        r.sampleCount = std::move(samples);
        r.variable = "t";
        r.decimals = 3;
        return r;
    }

    // Computes and returns the list lines.
    std::vector<std::string> Compute(const ComputeRequest& r) {
        std::vector<std::string> lines;
        EXPECT_EQ(graph.Compute(r, lines), ComputeResult::Done);
        return lines;
    }

    Engine engine;
    TGraph graph{engine};
};

TEST_F(GraphModel, SamplesCoverTheIntervalAndListOneLinePerSample) {
    const auto lines = Compute(Request("t*2"));
    ASSERT_EQ(graph.FXY.size(), 5u);
    const double xs[] = {0, 2.5, 5, 7.5, 10};
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(graph.FXY[i].x, xs[i]);
        EXPECT_DOUBLE_EQ(graph.FXY[i].y, 2 * xs[i]);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"[0: 0 ; 0]", "[1: 2.5 ; 5]", "[2: 5 ; 10]",
                                               "[3: 7.5 ; 15]", "[4: 10 ; 20]"}));
    EXPECT_EQ(graph.SampleYZ, 4);
    EXPECT_EQ(graph.FVXY, "t");
}

TEST_F(GraphModel, ListLinesRoundToTheDecimalsWithTheUsersSeparator) {
    auto r = Request("0.1234567");
    auto lines = Compute(r);
    EXPECT_EQ(lines[1], "[1: 2.5 ; 0.123]");

    r.decimalSeparator = ",";
    r.decimals = 0;
    r.formula = "t/4";  // 2.5 and 0.625 round to the even 2 and to 1
    lines = Compute(r);
    EXPECT_EQ(lines[1], "[1: 2 ; 1]");
    r.decimals = 6;
    lines = Compute(r);
    EXPECT_EQ(lines[1], "[1: 2,5 ; 0,625]");
    EXPECT_EQ(lines[3], "[3: 7,5 ; 1,875]");
}

TEST_F(GraphModel, SampleCountIsUsedAsTypedAndZeroMeansTen) {
    struct Case {
        const char* text;
        int intervals;
    } cases[] = {{"0", 10}, {"-0", 10}, {"1", 1}, {" 7", 7}, {"+3", 3}, {"0065535", 65535}};
    for (const Case& c : cases) {
        Compute(Request("1", c.text));
        EXPECT_EQ(graph.SampleYZ, c.intervals) << c.text;
        EXPECT_EQ(graph.FXY.size(), static_cast<std::size_t>(c.intervals) + 1) << c.text;
        EXPECT_DOUBLE_EQ(graph.FXY.back().x, 10) << c.text;
    }
}

// A compute from the window's texts: the list lines, how many samples have a value (and
// so are drawn), and the message of a refused compute.
TEST_F(GraphModel, ComputeTable) {
    struct Case {
        const char* formula;
        const char* start;
        const char* end;
        const char* count;
        std::vector<std::string> lines;  // empty for a refused compute
        int drawn = 0;
        const char* message = "";
        const char* const1 = "0";
        const char* const2 = "0";
    } cases[] = {
        // clang-format off
        {"LN(t)", "-1", "1", "4",
         {"[0: -1 ; Yazım Hatası...]", "[1: -0.5 ; Yazım Hatası...]", "[2: 0 ; Yazım Hatası...]",
          "[3: 0.5 ; -0.693]", "[4: 1 ; 0]"}, 2},
        {"SQRT(t)", "-1", "1", "4",
         {"[0: -1 ; Yazım Hatası...]", "[1: -0.5 ; Yazım Hatası...]", "[2: 0 ; 0]",
          "[3: 0.5 ; 0.707]", "[4: 1 ; 1]"}, 3},
        {"SIN(t", "0", "10", "2",
         {"[0: 0 ; Geçersiz parantez...]", "[1: 5 ; Geçersiz parantez...]",
          "[2: 10 ; Geçersiz parantez...]"}, 0},
        // The samples after a failed one have their values again.
        {"1/(t-5)", "0", "10", "4",
         {"[0: 0 ; -0.2]", "[1: 2.5 ; -0.4]", "[2: 5 ; Yazım Hatası...]", "[3: 7.5 ; 0.4]",
          "[4: 10 ; 0.2]"}, 4},
        {"t", "-1E308", "1E308", "2",
         {"[0: -1E308 ; -1E308]", "[1: 0 ; 0]", "[2: 1E308 ; 1E308]"}, 3},
        {"_a*t", "0", "1", "1", {"[0: 0 ; 0]", "[1: 1 ; 0.5]"}, 2, "", "2/4"},
        // Refused: nothing changes.
        {"t", "abc", "10",  "4",     {}, 0, "Geçersiz değer (t1=): Yazım Hatası..."},
        {"t", "0",   "2,5", "4",     {}, 0, "Geçersiz değer (t2=): Yazım hatası..."},
        {"t", "0",   "1E400", "4",   {}, 0, "Geçersiz değer (t2=): Yazım Hatası..."},
        {"t", "-1E9999", "0", "4",   {}, 0, "Geçersiz değer (t1=): Yazım Hatası..."},
        {"t", "0",   "10",  "4",     {}, 0, "Geçersiz değer (_a): Yazım Hatası...", "1/0"},
        {"t", "0",   "10",  "4",     {}, 0, "Geçersiz değer (_b): Geçersiz parantez...", "0", "SIN(1"},
        {"t", "0",   "10",  "70000", {}, 0, "Örnekleme 0 ile 65535 arasında olmalı."},
        {"t", "0",   "10",  "65536", {}, 0, "Örnekleme 0 ile 65535 arasında olmalı."},
        {"t", "0",   "10",  "-5",    {}, 0, "Örnekleme 0 ile 65535 arasında olmalı."},
        {"t", "0",   "10",  "-1",    {}, 0, "Örnekleme 0 ile 65535 arasında olmalı."},
        {"t", "0",   "10",  "2147483648",           {}, 0, "Örnekleme 0 ile 65535 arasında olmalı."},
        {"t", "0",   "10",  "-99999999999999999999", {}, 0, "Örnekleme 0 ile 65535 arasında olmalı."},
        {"t", "0",   "10",  "abc",   {}, 0, "'abc' geçerli bir tam sayı değil"},
        {"t", "0",   "10",  "12a",   {}, 0, "'12a' geçerli bir tam sayı değil"},
        {"t", "0",   "10",  "1 2",   {}, 0, "'1 2' geçerli bir tam sayı değil"},
        {"t", "0",   "10",  "-",     {}, 0, "'-' geçerli bir tam sayı değil"},
        {"t", "abc", "10",  "",      {}, 0, "'' geçerli bir tam sayı değil"},  // the count first
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.formula) + " on " + c.start + ".." + c.end + ", " + c.count);
        Compute(Request("t*3", "2"));  // what a refused compute must leave alone
        engine.ErrorFlag = true;       // a failure from before says nothing about this one
        auto r = Request(c.formula, c.count);
        r.start = c.start;
        r.end = c.end;
        r.const1Value = c.const1;
        r.const2Value = c.const2;
        std::vector<std::string> lines{"kept"};
        try {
            EXPECT_EQ(graph.Compute(r, lines), ComputeResult::Done);
            if (*c.message != 0) ADD_FAILURE() << "the compute was not refused with: " << c.message;
        } catch (const GraphError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        if (*c.message == 0) {
            EXPECT_EQ(lines, c.lines);
            int drawn = 0;
            for (const PointXY& p : graph.FXY) drawn += !IsGap(p);
            EXPECT_EQ(drawn, c.drawn);
        } else {
            EXPECT_EQ(lines, std::vector<std::string>{"kept"});
            ASSERT_EQ(graph.FXY.size(), 3u);
            EXPECT_EQ(graph.FXY[1].y, 15);
            EXPECT_EQ(graph.Formula, "t*3");
            EXPECT_EQ(graph.SampleYZ, 2);
            EXPECT_EQ(graph.x2, 10);
            EXPECT_EQ(graph.Const1, "0");
        }
    }
}

TEST_F(GraphModel, LongLabelIsCutShortInTheMessage) {
    auto r = Request("t");
    r.const1Name = std::string(1000, 'k');
    r.const1Value = "abc";
    std::vector<std::string> lines;
    try {
        graph.Compute(r, lines);
        ADD_FAILURE();
    } catch (const GraphError& e) {
        EXPECT_LT(std::string(e.what()).size(), 100u);
    }
}

TEST_F(GraphModel, BlankFormulaChangesNothing) {
    Compute(Request("t"));
    std::vector<std::string> lines{"kept"};
    EXPECT_EQ(graph.Compute(Request(" \t\r\n", "abc"), lines), ComputeResult::Skipped);
    EXPECT_EQ(graph.FXY.size(), 5u);
    EXPECT_EQ(lines, std::vector<std::string>{"kept"});
}

TEST_F(GraphModel, VariableSubstitution) {
    struct Case {
        const char* formula;
        const char* variable;
        double x;
        double expected;
    } cases[] = {
        {"SIN(t)+t", "t", 0.5, std::sin(0.5) + 0.5},
        {"2*t", "t", -0.5, -1},               // the number goes in as "-0.5", without parentheses
        {"2t", "t", 0.5, 1},                  // juxtaposition multiplies
        {"TAN(t)", "t", 0.5, std::tan(0.5)},  // the "T" of TAN is part of a name
        {"SQRT(t)", "t", 6.25, 2.5},
        {"sqrt(t)*t", "t", 4, 8},
        {"SIN(N)", "N", 0.5, std::sin(0.5)},  // the "N" of SIN stays
        {"x^2", "x", 3, 9},
    };
    for (const Case& c : cases) {
        graph.Formula = c.formula;
        graph.FVXY = c.variable;
        EXPECT_NEAR(graph.FCalcXYPoint(c.x), c.expected, 1e-9) << c.formula << " at " << c.x;
        EXPECT_FALSE(graph.FErr) << c.formula;
    }
}

TEST_F(GraphModel, EmptyVariableGivesEverySampleTheSameValue) {
    auto r = Request("3+4");
    r.variable = "";
    Compute(r);
    for (const PointXY& p : graph.FXY) EXPECT_EQ(p.y, 7);
    // A formula that holds the variable's letter then cannot be read: every sample fails.
    r.formula = "3+t*0";
    Compute(r);
    for (const PointXY& p : graph.FXY) EXPECT_TRUE(IsGap(p));
    EXPECT_TRUE(graph.FErr);
}

TEST_F(GraphModel, ConstantsAreReplacedBeforeSampling) {
    auto r = Request("_a*t+_b");
    r.const1Value = "2/4";
    r.const2Value = "1E20";
    Compute(r);
    EXPECT_EQ(graph.Const1Name, "_a");
    EXPECT_EQ(graph.Formula, "0.5*t+1E20");
    EXPECT_DOUBLE_EQ(graph.FXY[4].y, 5 + 1e20);

    r.const1Name = "kappa";  // only the first two characters name the constant
    r.formula = "kappa+ka";
    Compute(r);
    EXPECT_EQ(graph.Const1Name, "ka");
    EXPECT_EQ(graph.Formula, "0.5ppa+0.5");

    r.const1Name = "";  // an empty name replaces nothing
    r.formula = "t";
    Compute(r);
    EXPECT_EQ(graph.Formula, "t");
}

TEST_F(GraphModel, FailedSamplesAreGapsAndTheSamplingGoesOn) {
    Compute(Request("1/(t-5)"));  // t = 5 divides by zero
    ASSERT_EQ(graph.FXY.size(), 5u);
    EXPECT_EQ(graph.FXY[2].x, 5);
    EXPECT_TRUE(IsGap(graph.FXY[2]));
    EXPECT_FALSE(IsGap(graph.FXY[1]));
    EXPECT_DOUBLE_EQ(graph.FXY[3].y, 0.4);
    EXPECT_DOUBLE_EQ(graph.FXY[4].y, 0.2);
    EXPECT_FALSE(graph.FErr);  // the flag of the last sample

    graph.Formula = "LN(t)";
    EXPECT_TRUE(std::isnan(graph.FCalcXYPoint(-1)));
    EXPECT_TRUE(graph.FErr);
    EXPECT_DOUBLE_EQ(graph.FCalcXYPoint(1), 0);
    EXPECT_FALSE(graph.FErr);
}

TEST_F(GraphModel, CancelKeepsThePreviousSamplesAndLines) {
    Compute(Request("t"));
    std::vector<std::string> lines{"kept"};
    std::size_t calls = 0;
    const auto cancelAtOnce = [&](std::size_t, std::size_t total) {
        ++calls;
        EXPECT_EQ(total, 201u);
        return false;
    };
    EXPECT_EQ(graph.Compute(Request("t*7", "200"), lines, cancelAtOnce), ComputeResult::Cancelled);
    EXPECT_EQ(calls, 1u);
    EXPECT_EQ(graph.FXY.size(), 5u);
    EXPECT_EQ(graph.FXY[1].y, 2.5);
    EXPECT_EQ(lines, std::vector<std::string>{"kept"});

    std::size_t last = 0;
    EXPECT_EQ(graph.Compute(Request("t*7", "200"), lines,
                            [&](std::size_t done, std::size_t) {
                                last = done;
                                return true;
                            }),
              ComputeResult::Done);
    EXPECT_EQ(last, 201u);
    EXPECT_EQ(graph.FXY.size(), 201u);
}

// ---- Series ---------------------------------------------------------------------------

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const TGraph& graph) {
    Points out;
    for (const PointXY& p : graph.DataXY) out.emplace_back(p.x, p.y);
    return out;
}

TEST_F(GraphModel, SeriesPairsAreReadLeftToRightEachOnce) {
    struct Case {
        const char* text;
        const char* separator;
        Points expected;
    } cases[] = {
        {"(1,2)(3,4)", ".", {{1, 2}, {3, 4}}},
        {"(1,2)(1,2)(3,4)", ".", {{1, 2}, {1, 2}, {3, 4}}},  // duplicates are kept
        {"(1,2)(11,22)", ".", {{1, 2}, {11, 22}}},           // no pair alters another
        {"( 1 , 2 )", ".", {{1, 2}}},
        {"((1,2))", ".", {{1, 2}}},
        {")(1,2)", ".", {{1, 2}}},
        {"abc(1,2)xyz", ".", {{1, 2}}},
        {"(1,2,5)", ",", {{1, 2.5}}},
        {"(-1.5,+2e3)\r\n(.5,3.)(1E-2,-0)", ".", {{-1.5, 2000}, {0.5, 3}, {0.01, 0}}},
        {"(1e-400,2)", ".", {{0, 2}}},  // too small for a double reads as 0
        {"(1,2)(3", ".", {{1, 2}}},     // an unclosed pair is no pair
    };
    for (const Case& c : cases) {
        TGraph g(engine);
        g.GetDataXY(c.text, c.separator);
        EXPECT_EQ(PointsOf(g), c.expected) << c.text;
    }
}

TEST_F(GraphModel, UnreadablePairRaisesAndKeepsTheSeries) {
    struct Case {
        const char* text;
        const char* separator;
        const char* message;
    } cases[] = {
        {"(5)", ".", "Geçersiz seri verisi: (5)"},
        {"(7,)", ".", "Geçersiz seri verisi: (7,)"},
        {"(8,9)(a,1)", ".", "Geçersiz seri verisi: (a,1)"},
        {"()", ".", "Geçersiz seri verisi: ()"},
        {"(1,2,5)", ".", "Geçersiz seri verisi: (1,2,5)"},
        {"(1.5,2)", ",", "Geçersiz seri verisi: (1.5,2)"},
        {"(1e400,2)", ".", "Geçersiz seri verisi: (1e400,2)"},
        {"(1,2e)", ".", "Geçersiz seri verisi: (1,2e)"},
        {"(1 000,2)", ".", "Geçersiz seri verisi: (1 000,2)"},
        {"(1,--2)", ".", "Geçersiz seri verisi: (1,--2)"},
    };
    for (const Case& c : cases) {
        graph.DataXY = {{9, 9}};
        try {
            graph.GetDataXY(c.text, c.separator);
            ADD_FAILURE() << c.text << " was read";
        } catch (const GraphError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(PointsOf(graph), (Points{{9, 9}})) << c.text;
    }
}

TEST_F(GraphModel, LongBadPairIsCutShortInTheMessage) {
    const std::string text = "(" + std::string(100000, 'x') + ")";
    try {
        graph.GetDataXY(text, ".");
        ADD_FAILURE();
    } catch (const GraphError& e) {
        EXPECT_LT(std::string(e.what()).size(), 80u);
    }
}

TEST_F(GraphModel, TextWithoutAPairKeepsTheSeries) {
    graph.GetDataXY("(1,2)(3,4)", ".");
    for (const char* text : {"", "abc", ")(", "(1,2", "1,2)"}) {
        graph.GetDataXY(text, ".");
        EXPECT_EQ(PointsOf(graph), (Points{{1, 2}, {3, 4}})) << text;
    }
    graph.GetDataXY("(5,6)", ".");
    EXPECT_EQ(PointsOf(graph), (Points{{5, 6}}));  // a new series replaces the old one whole
}

TEST_F(GraphModel, Statistics) {
    graph.FXY = {{0, -2}, {1, 4}};
    graph.DataXY = {{0, -2}, {1, -5}, {2, 3}};
    EXPECT_EQ(graph.GetFXYOrtY(), 3);
    EXPECT_EQ(graph.GetFXYMaxY(), 4);
    EXPECT_EQ(graph.GetSeriMaxY(), 5);  // a curve below the axis scales by its largest |y|
    EXPECT_DOUBLE_EQ(graph.GetSeriOrtY(), 10.0 / 3);
    graph.FXY = {{0, 0}, {1, 0}};
    EXPECT_EQ(graph.GetFXYMaxY(), 0);
    EXPECT_EQ(graph.GetFXYOrtY(), 0);

    // Gaps are left out: the mean is over the samples that have a value.
    const double gap = std::nan("");
    graph.FXY = {{0, gap}, {1, -2}, {2, gap}, {3, 4}, {4, gap}};
    EXPECT_EQ(graph.GetFXYMaxY(), 4);
    EXPECT_EQ(graph.GetFXYOrtY(), 3);
    graph.FXY = {{0, gap}, {1, gap}};
    EXPECT_EQ(graph.GetFXYMaxY(), 0);
    EXPECT_EQ(graph.GetFXYOrtY(), 0);
    // A value beyond the double range makes the figures infinite, which auto scaling
    // takes as no range to fit.
    graph.FXY = {{0, 1}, {1, HUGE_VAL}};
    EXPECT_EQ(graph.GetFXYMaxY(), HUGE_VAL);
    EXPECT_EQ(graph.GetFXYOrtY(), HUGE_VAL);
}

TEST(GraphText, TextBetween) {
    struct Case {
        const char* s;
        const char* expected;
    } cases[] = {
        {"a(bc)d", "bc"}, {"ab)c", "ab"},  // without an open: all before the close
        {")(", ""},       {"(ab", ""},    {"()", ""}, {"", ""}, {"((1,2))", "(1,2"},
    };
    for (const Case& c : cases) EXPECT_EQ(TGraph::TextBetween(c.s, "(", ")"), c.expected) << c.s;
}

TEST(GraphText, ReplaceTextNeverSearchesWhatItInserted) {
    EXPECT_EQ(ReplaceText("a+aa", "a", "aa"), "aa+aaaa");
    EXPECT_EQ(ReplaceText("_a*_ab", "_a", "0.5"), "0.5*0.5b");  // found inside a longer word
    EXPECT_EQ(ReplaceText("_A*_a", "_a", "1"), "_A*1");         // case matters
    EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
}

TEST(GraphText, FirstCharactersCountsCharactersNotBytes) {
    EXPECT_EQ(FirstCharacters("çğx", 2), "çğ");
    EXPECT_EQ(FirstCharacters("t", 2), "t");
    EXPECT_EQ(FirstCharacters("", 1), "");
}

}  // namespace
}  // namespace zentu
