// SPDX-License-Identifier: GPL-3.0-or-later
// The function library: constants, functions, the data series, INT and DIF, message
// boxes and cancellation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "engine/number_text.h"

namespace zentu {
namespace {

// An engine whose message boxes are recorded instead of shown.
struct RecordingEngine : Engine {
    std::vector<std::pair<BoxKind, std::string>> boxes;
    RecordingEngine() {
        ShowBox = [this](BoxKind kind, const std::string& text) { boxes.emplace_back(kind, text); };
    }
    std::string Line(const std::string& line, int decimals = -1) {
        return LineExecution(*this, line, decimals);
    }
};

TEST(Constants, InsertedTextsAreTheEighteenDigitForms) {
    const struct {
        const char* name;
        const char* text;
    } table[] = {
        {"_MP", "1.67262300000000000E-24"},
        {"_ME", "9.10938970000000000E-28"},
        {"_MN", "1.67492860000000000E-24"},
        {"_EC", "1.60217733000000000E-19"},
        {"_PI", "3.141592653589793"},
        {"_AUR", "1.618033988749894"},
        {"_AMU", "1.66053873E-27"},
        {"_EUL", "0.577215664901532"},
        {"_AVGD", "6.02214199000000000E+23"},
        {"_CLMB", "8.98755178700000000E+9"},
        {"_FRDY", "96485.3415"},
        {"_PLNC", "6.626075E-34"},
        {"_RYDB", "10973731.534"},
        {"_E", "2.718281828459045"},
        {"_C", "299792458"},
        {"_G", "9.80665"},
        {"_R", "6370000"},
        {"_M", "5.972E24"},
    };
    // Reading the inserted text back gives the constant itself, so an expression equal
    // to its own text shows the same result.
    for (const auto& c : table) {
        RecordingEngine e;
        const long double inserted = e.EvaluateExpression(c.name);
        const long double written = e.EvaluateExpression(c.text);
        EXPECT_FALSE(e.ErrorFlag) << c.name;
        EXPECT_EQ(inserted, written) << c.name;
        EXPECT_EQ(ResultText(inserted), ResultText(TextToNumber(c.text))) << c.name;
    }
    EXPECT_EQ(ConstantExponentText(1.672623E-24L), "1.67262300000000000E-24");
    EXPECT_EQ(ConstantGeneralText(5.972E+24L), "5.972E24");
    EXPECT_EQ(ConstantExponentText(8987551787.0L), "8.98755178700000000E+9");
}

TEST(Functions, IntegerResultsAndLimits) {
    RecordingEngine e;
    const struct {
        const char* line;
        const char* written;
    } cases[] = {
        {"FLOR(-3000000000.5)", "FLOR(-3000000000.5)=-3000000001"},
        {"CEIL(2^40+0.5)", "CEIL(2^40+0.5)=1099511627777"},
        {"RND(-3.5)", "RND(-3.5)=-4"},
        {"TRNC(-9E18)", "TRNC(-9E18)=-9E18"},
        {"FLOR(-1E19)", "FLOR(-1E19)=Yazım Hatası..."},
        {"DIV(-9223372036854775807-1;-1)", "DIV(-9223372036854775807-1;-1)=Yazım Hatası..."},
        {"MOD(7.9;-2.9)", "MOD(7.9;-2.9)=1"},
        {"(-0.5)!+0!", "(-0.5)!+0!=2"},
        {"-1!", "-1!=Yazım Hatası..."},  // the sign belongs to the operand
        {"20!/19!", "20!/19!=20"},
        {"170!/169!", "170!/169!=169.767441860465"},  // both written with 2 digits
        {"SINH(11357)", "SINH(11357)=9.6E4931"},
        {"EXP(-20000)", "EXP(-20000)=0"},
        {"CSCH(12000)", "CSCH(12000)=0"},
        {"SINH(0.5)", "SINH(0.5)=0.521095305494"},
        {"TAN(PI/4)", "TAN(PI/4)=1.000000000001"},  // PI/4 is written 0.785398163398
        {"LOG(1000)", "LOG(1000)=3"},
        {"COM(52;5)", "COM(52;5)=2598960"},
        {"PWR(-2;-3)", "PWR(-2;-3)=-0.125"},
        {"PWR(2;0.5)", "PWR(2;0.5)=1.414213562373"},
        {"PWR(10;5000)", "PWR(10;5000)=Yazım Hatası..."},
        {"SIN(1E9999)", "SIN(1E9999)=Yazım Hatası..."},
    };
    for (const auto& c : cases) EXPECT_EQ(e.Line(c.line), c.written);
}

TEST(Functions, TwoArgumentFunctionsSplitAtEverySemicolon) {
    RecordingEngine e;
    EXPECT_EQ(e.Line("DIV(7;2)+ANS()"), "DIV(7;2)+ANS()=5");
    // A piece that is itself a one-piece list call does not disturb the outer list.
    EXPECT_EQ(e.Line("PWR(PWR(2);3)"), "PWR(PWR(2);3)=Yazım Hatası...");
    EXPECT_EQ(e.Line("PWR(ABS(-2);3)"), "PWR(ABS(-2);3)=8");
    EXPECT_EQ(e.ArgumentStore, (std::vector<long double>{0, 2, 3}));
}

TEST(Series, DefinedAsideAndSortedInPlace) {
    RecordingEngine e;
    EXPECT_EQ(e.Line("DAT(1;2;3)"), "DAT(1;2;3)=3");
    // The pieces see the old series whole, and the count only changes at the end.
    EXPECT_EQ(e.Line("DAT(SUM();SUM();DAVG())"), "DAT(SUM();SUM();DAVG())=3");
    EXPECT_EQ(e.SeriesStore, (std::vector<long double>{0, 6, 6, 2}));
    EXPECT_EQ(e.Line("DSRT()+DSEE()"), "DSRT()+DSEE()=6");
    ASSERT_EQ(e.boxes.size(), 1u);
    EXPECT_EQ(e.boxes[0], std::make_pair(BoxKind::Information, std::string("Veri : [2] [6] [6] ")));
    EXPECT_EQ(e.SeriesCount, 3);
    // A line without DAT or DSRT leaves the series, also when it fails.
    EXPECT_EQ(e.Line("SUM()/0"), "SUM()/0=Yazım Hatası...");
    EXPECT_EQ(e.Line("SUM()"), "SUM()=14");
}

// A statistic read twice in one line is read from the series as it is then: after a DAT
// or DSRT in the same line, and after the series was changed between lines.
TEST(Series, StatisticsFollowTheSeries) {
    RecordingEngine e;
    e.Line("DAT(3;1;2)");
    EXPECT_EQ(e.Line("SUM()*1000+DAT(5;6)*0+SUM()"), "SUM()*1000+DAT(5;6)*0+SUM()=6011");
    EXPECT_EQ(e.Line("DAVG()+DAT(1;9)*0+DAVG()"), "DAVG()+DAT(1;9)*0+DAVG()=10.5");
    e.SeriesStore = {0, 10};
    e.SeriesCount = 1;
    EXPECT_EQ(e.Line("SUM()+SUM()"), "SUM()+SUM()=20");
    EXPECT_EQ(e.Line("DSEE()+DSEE()"), "DSEE()+DSEE()=2");
    EXPECT_EQ(e.boxes.size(), 2u);
    e.Line("DAT(4;1)");
    EXPECT_EQ(e.Line("DSEE()*0+DQUA()*0+DSRT()+DSEE()"), "DSEE()*0+DQUA()*0+DSRT()+DSEE()=4");
    EXPECT_EQ(e.boxes.back().second, "Veri : [1] [4] ");
}

// DSRT's order is the selection sort's: for each slot from the first, the first smallest
// of the slots from there on is swapped in.
std::vector<long double> SelectionSorted(std::vector<long double> s) {
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        std::size_t m = i;
        for (std::size_t j = i + 1; j < s.size(); ++j)
            if (s[m] > s[j]) m = j;
        std::swap(s[i], s[m]);
    }
    return s;
}

bool SameValues(const std::vector<long double>& a, const std::vector<long double>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](long double x, long double y) {
               return x == y || (std::isnan(x) && std::isnan(y));
           });
}

TEST(Series, SortGivesTheSelectionSortsOrder) {
    // Repeated values, zeros of both signs and infinities among 5000 values in a random
    // order; then the same with a NaN, which no order sorts.
    std::mt19937 random(7);
    std::vector<long double> series{0.0L};
    for (int i = 0; i < 5000; ++i) series.push_back((int(random() % 201) - 100) / 8.0L);
    series[10] = -0.0L;
    series[20] = std::numeric_limits<long double>::infinity();
    series[30] = -std::numeric_limits<long double>::infinity();
    for (const bool with_nan : {false, true}) {
        if (with_nan) series[40] = std::numeric_limits<long double>::quiet_NaN();
        RecordingEngine e;
        e.SeriesStore = series;
        e.SeriesCount = 5000;
        EXPECT_EQ(e.Line("DSRT()"), "DSRT()=5000");
        EXPECT_TRUE(SameValues(e.SeriesStore, SelectionSorted(series))) << "with NaN: " << with_nan;
        EXPECT_EQ(e.SeriesCount, 5000);
    }
}

TEST(Series, RegionalSeparatorInTheBoxOnly) {
    RecordingEngine e;
    e.LocaleDecimalSeparator = ",";
    EXPECT_EQ(e.Line("DAT(0.5;-1E-7;1E20)+DSEE()"), "DAT(0.5;-1E-7;1E20)+DSEE()=6");
    EXPECT_EQ(e.boxes.at(0).second, "Veri : [0,5] [-1E-7] [1E20] ");
}

TEST(Calculus, DerivativeBoxesInOrderAndIntegralFailures) {
    RecordingEngine e;
    e.LocaleDecimalSeparator = ",";
    EXPECT_EQ(e.Line("DIF(SQR(X);X;0.5;100)"), "DIF(SQR(X);X;0.5;100)=1");
    const std::vector<std::pair<BoxKind, std::string>> expected = {
        {BoxKind::Plain, "fx=SQR(X)"}, {BoxKind::Plain, "x=X"},     {BoxKind::Plain, "a=0,5"},
        {BoxKind::Plain, "n=100"},     {BoxKind::Plain, "doDif=1"},
    };
    EXPECT_EQ(e.boxes, expected);
    e.boxes.clear();
    EXPECT_EQ(e.Line("DIF(X;X;1;-5)"), "DIF(X;X;1;-5)=Yazım Hatası...");
    EXPECT_EQ(e.boxes.size(), 3u);  // fx, x and a; no count box for a count below 1
    EXPECT_EQ(e.Line("INT(X;X;0;2;2147483648)"),
              "INT(X;X;0;2;2147483648)=Yazım Hatası...");         // beyond 32 bits
    EXPECT_EQ(e.Line("INT(X;X;0;2;2*5)"), "INT(X;X;0;2;2*5)=2");  // not an integer: 100
    EXPECT_EQ(e.Line("INT(X)"), "INT(X)=Yazım Hatası...");
    EXPECT_EQ(e.Line("INT(SQRT(X);X;0;1;4)"), "INT(SQRT(X);X;0;1;4)=0.643283046243");
}

TEST(Substitution, OnlyStandAloneVariablesAreReplaced) {
    const struct {
        const char* formula;
        const char* variable;
        const char* value;
        const char* result;
    } cases[] = {
        {"EXP(X)+X", "X", "0.5", "EXP(0.5)+0.5"},
        {"2X", "X", "0.5", "2*0.5"},
        {"X2", "X", "-1", "-1*2"},
        {"(1)X(2)", "X", "3", "(1)*3*(2)"},
        {"3!X", "X", "-1", "3!*-1"},
        {"22+2", "2", "0.5", "0.5*0.5+0.5"},
        {".2", "2", "3", ".*3"},
        {"SQRT(t)*t+TAN(t)", "t", "1E-5", "SQRT(1E-5)*1E-5+TAN(1E-5)"},
        {"t_a+_t", "t", "1", "t_a+_t"},
        {"X", "", "1", "X"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SubstituteVariable(c.formula, c.variable, c.value), c.result);
}

// A prepared formula must evaluate exactly as its substituted text does, including the
// error state it leaves: blanks and small letters around the places, unbalanced
// parentheses, an empty formula, values that join onto numbers.
TEST(Substitution, PreparedFormulaEvaluatesAsTheSubstitutedText) {
    const struct {
        const char* formula;
        const char* variable;
    } cases[] = {
        {"sin(t) * t", "t"}, {"2X+X2", "X"}, {"(X", "X"},    {"", "X"},       {"  ", "X"},
        {"X^X!", "X"},       {"1/X", "X"},   {"x X", "x"},   {"SQRT(X", "X"}, {"ab+X", "X"},
        {"2..X", "X"},       {"Y", ""},      {"3!X!X", "X"}, {"222", "2"},
    };
    const double xs[] = {0, 0.5, -3, 1e-5, 1e20, 7.25};
    for (const auto& c : cases) {
        const SampledFormula f(c.formula, c.variable);
        for (const double x : xs) {
            Engine by_text, prepared;
            by_text.AnswerStore = prepared.AnswerStore = 9;
            const long double want = by_text.EvaluateExpression(
                SubstituteVariable(c.formula, c.variable, ResultText(x)));
            const long double got = prepared.EvaluateAt(f, x);
            const std::string where = std::string(c.formula) + " at " + ResultText(x);
            EXPECT_EQ(ResultText(got), ResultText(want)) << where;
            EXPECT_EQ(prepared.ErrorFlag, by_text.ErrorFlag) << where;
            EXPECT_EQ(prepared.ErrorText, by_text.ErrorText) << where;
            EXPECT_EQ(prepared.SyntaxErrorArmed, by_text.SyntaxErrorArmed) << where;
        }
    }
}

TEST(Cancellation, LeavesAnswerStoreAndSeriesAsTheyWere) {
    RecordingEngine e;
    e.Line("DAT(4;5)");
    e.Line("42");
    int polls = 0;
    e.CancelRequested = [&] { return ++polls > 3; };
    std::vector<std::uint64_t> progress;
    e.ProgressReport = [&](std::uint64_t done, std::uint64_t) { progress.push_back(done); };
    EXPECT_EQ(e.Line("1+INT(X;X;0;1;100000000)"), "1+INT(X;X;0;1;100000000)=Yazım Hatası...");
    EXPECT_EQ(e.AnswerStore, 42);
    EXPECT_FALSE(progress.empty());

    polls = 0;
    std::string dat = "DAT(1";
    for (int i = 0; i < 5000; ++i) dat += ";INT(X;X;0;1;300)";
    EXPECT_EQ(e.Line(dat + ")"), dat + ")=Yazım Hatası...");
    EXPECT_EQ(e.AnswerStore, 42);
    EXPECT_EQ(e.SeriesStore, (std::vector<long double>{0, 4, 5}));

    e.CancelRequested = nullptr;
    EXPECT_EQ(e.Line("SUM()+ANS()"), "SUM()+ANS()=51");
}

}  // namespace
}  // namespace zentu
