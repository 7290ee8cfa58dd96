// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation pipeline: error state, answer store, the passes' structure rules and
// EXEC's line logic.
#include "engine/engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/number_text.h"

namespace zentu {
namespace {

struct LineCase {
    const char* line;
    const char* written;
};

// Runs lines through one engine, as EXEC does, and compares the rewritten lines.
void ExpectLines(std::initializer_list<LineCase> cases, int decimals = -1) {
    Engine engine;
    for (const LineCase& c : cases) EXPECT_EQ(LineExecution(engine, c.line, decimals), c.written);
}

TEST(Evaluate, ValuesBeforeResultText) {
    Engine e;
    EXPECT_EQ(e.EvaluateExpression("2^3^2"), 512);
    EXPECT_EQ(e.EvaluateExpression("1/3*3"), 0.999999999999L);
    EXPECT_EQ(e.EvaluateExpression("1E-40*1"), 1e-40L);
    EXPECT_EQ(e.EvaluateExpression("2*-3"), -6);
    EXPECT_EQ(e.EvaluateExpression("3!^2"), 36);
    EXPECT_EQ(e.EvaluateExpression("2^3!"), 64);
    EXPECT_FALSE(e.ErrorFlag);
}

TEST(Evaluate, ErrorStateAndAnswerStore) {
    Engine e;
    e.EvaluateExpression("7");
    e.EvaluateExpression("(1+2");
    EXPECT_TRUE(e.ErrorFlag);
    EXPECT_EQ(e.ErrorText, kParenthesisError);
    EXPECT_EQ(e.AnswerStore, 7);

    e.ErrorFlag = false;
    EXPECT_EQ(e.EvaluateExpression("2+X"), 2);  // the partial text "2+" is stored
    EXPECT_EQ(e.ErrorText, kSyntaxError);
    EXPECT_EQ(e.AnswerStore, 2);

    e.ErrorFlag = false;
    EXPECT_EQ(e.EvaluateExpression("1/0"), 2);  // a failure returns the previous answer
    EXPECT_TRUE(e.ErrorFlag);
    EXPECT_EQ(e.ErrorText, kFailureError);

    // ErrorText is never emptied by a good evaluation; only EXEC clears the flag.
    e.EvaluateExpression("1");
    EXPECT_TRUE(e.ErrorFlag);
    EXPECT_EQ(e.ErrorText, kFailureError);
}

TEST(Evaluate, SyntaxErrorIsReportedOncePerEvaluationUntilReArmed) {
    Engine e;
    // The first syntax error writes the lower-case message, a later failure overwrites
    // it with the capital one.
    e.EvaluateExpression("SIN(2X)+1/0");
    EXPECT_EQ(e.ErrorText, kFailureError);
    // A nested evaluation (a PWR piece, here failing) re-arms the report, so a later
    // syntax error of the outer scan writes its message again.
    e.EvaluateExpression("SIN(2X)+PWR(1/0;1)+SIN(2Y)");
    EXPECT_EQ(e.ErrorText, kSyntaxError);
    e.EvaluateExpression("SIN(2X)+PWR(1/0;1)");
    EXPECT_EQ(e.ErrorText, kFailureError);
}

TEST(Lines, UnmatchedParenthesesAndStructuralFailures) {
    ExpectLines({
        {")SIN(2", ")SIN(2=Yazım Hatası..."},
        {"1)^2(", "1)^2(=Yazım Hatası..."},
        {")1(", ")1(=Yazım hatası..."},
        {"()", "()=Yazım Hatası..."},
        {"2^(3", "2^(3=Geçersiz parantez..."},
        {"(2)^", "(2)^=Yazım hatası..."},
        {"ANS()", "ANS()=2"},
        {"2*+", "2*+=Yazım hatası..."},
        {"-", "-=Yazım hatası..."},
        {"1E4932*10", "1E4932*10=Yazım Hatası..."},
        {"1E9999-1E9999", "1E9999-1E9999=Yazım Hatası..."},
        {"1E4932+1E4932", "1E4932+1E4932=Yazım Hatası..."},
    });
}

TEST(Lines, JuxtapositionMultipliesAtTheRankOfProducts) {
    ExpectLines({
        {"(2)(3)(4)", "(2)(3)(4)=24"},
        {"3!2", "3!2=12"},
        {"2(3)!", "2(3)!=12"},
        {"(1+1)2^2", "(1+1)2^2=8"},
        {"PI2", "PI2=6.28318530718"},
        {"2(3)/2(3)", "2(3)/2(3)=9"},
    });
}

// A value after a number, ")" or "!" multiplies whatever its sign, also where INT and DIF
// put their samples into a formula; the counts, limits and points that INT and DIF read.
// Each line runs in a fresh engine and must show exactly the boxes given.
TEST(Lines, NegativeValuesAfterGroupsAndFactorialsMultiply) {
    const struct {
        const char* line;
        const char* written;
        std::vector<std::string> boxes;
    } cases[] = {
        {"(1+1)COS(PI)", "(1+1)COS(PI)=-2", {}},
        {"3!SIN(-1)", "3!SIN(-1)=-5.048825908848", {}},
        {"(2)SIN(-1)", "(2)SIN(-1)=-1.682941969616", {}},
        {"!RND(-2)", "!RND(-2)=-2", {}},  // 0! = 1, times -2
        {"(2)SIN(-1E-20)", "(2)SIN(-1E-20)=0", {}},
        {"(2)COS(PI)^2", "(2)COS(PI)^2=Yazım Hatası...", {}},  // a negative base
        {"2COS(PI)^2", "2COS(PI)^2=Yazım Hatası...", {}},
        {"(2)COS(PI)!", "(2)COS(PI)!=Yazım Hatası...", {}},  // (-1)!
        {"SQRT((4)COS(PI)+5)", "SQRT((4)COS(PI)+5)=1", {}},
        {"2^(3)COS(PI)", "2^(3)COS(PI)=-8", {}},
        {"(2)DIV(-7;2)", "(2)DIV(-7;2)=-6", {}},
        {"2COS(PI)", "2COS(PI)=-2", {}},
        {"2PI", "2PI=6.28318530718", {}},
        {"2(3)", "2(3)=6", {}},
        {"(2)(-3)", "(2)(-3)=-6", {}},
        {"2_C", "2_C=599584916", {}},
        {"3!2", "3!2=12", {}},
        {"INT((1)COS(PI);X;0;1;1)", "INT((1)COS(PI);X;0;1;1)=-1", {}},
        {"INT(3!X;X;-1;0;1)", "INT(3!X;X;-1;0;1)=-3", {}},
        {"DIF(3!X;X;-1;10)", "DIF(3!X;X;-1;10)=6", {"fx=3!X", "x=X", "a=-1", "n=10", "doDif=6"}},
        {"INT(2!X;X;-2;-1;1)", "INT(2!X;X;-2;-1;1)=-3", {}},
        {"INT(22;2;0;1;1)", "INT(22;2;0;1;1)=0.5", {}},
        {"INT(X*X;X;0;1;000000000001)", "INT(X*X;X;0;1;000000000001)=0.5", {}},
        {"DIF(X;X;2;0000000000010)",
         "DIF(X;X;2;0000000000010)=1",
         {"fx=X", "x=X", "a=2", "n=10", "doDif=1"}},
        {"INT(X;X;0;2;2147483648)", "INT(X;X;0;2;2147483648)=Yazım Hatası...", {}},
        {"DIF(X;X;2;99999999999999999999)",
         "DIF(X;X;2;99999999999999999999)=Yazım Hatası...",
         {"fx=X", "x=X", "a=2"}},
        {"DIF(1;X;1E309;10)", "DIF(1;X;1E309;10)=Yazım Hatası...", {"fx=1", "x=X"}},
        {"DIF(1E4000;X;1;10)",
         "DIF(1E4000;X;1;10)=Yazım Hatası...",
         {"fx=1E4000", "x=X", "a=1", "n=10"}},
        {"INT(X;X;0;1E309;10)", "INT(X;X;0;1E309;10)=Yazım Hatası...", {}},
        {"INT(X;X;1E9999;0;10)", "INT(X;X;1E9999;0;10)=Yazım Hatası...", {}},
    };
    for (const auto& c : cases) {
        Engine engine;
        std::vector<std::string> boxes;
        engine.ShowBox = [&](BoxKind, const std::string& text) { boxes.push_back(text); };
        EXPECT_EQ(LineExecution(engine, c.line, -1), c.written);
        EXPECT_EQ(boxes, c.boxes) << c.line;
    }
}

TEST(Lines, CutAtTheFirstEqualsSignAndKeepTheUsersLetters) {
    ExpectLines({
        {"", "=0"},
        {"   ", "   =0"},
        {"sin(0) + 1", "sin(0) + 1=1"},
        {"2+3=5=7", "2+3=5"},
        {"1,5", "1,5=Yazım hatası..."},
        {"2+1,5", "2+1,5=Yazım hatası..."},
        {"ğ", "ğ=Yazım Hatası..."},
    });
}

TEST(Lines, ExecClearsAFailureLeftByAnotherCaller) {
    Engine e;
    e.EvaluateExpression("1/0");  // as the graph window might leave it
    EXPECT_EQ(LineExecution(e, "1+1", -1), "1+1=2");
    EXPECT_FALSE(e.ErrorFlag);
}

TEST(Lines, DecimalsRoundOnlyTheWrittenResult) {
    Engine e;
    EXPECT_EQ(LineExecution(e, "2/3", 3), "2/3=0.667");
    EXPECT_EQ(e.AnswerStore, 0.666666666667L);
    EXPECT_EQ(LineExecution(e, "1E9999", 12), "1E9999=INF");
    EXPECT_THROW(LineExecution(e, "1E4930*1", 12), RoundingOverflow);
}

TEST(Limits, LongLinesAndDeepNesting) {
    Engine e;
    std::string sum = "1";
    for (int i = 0; i < 500000; ++i) sum += "+1";  // a megabyte
    EXPECT_EQ(LineExecution(e, sum, -1), sum + "=500001");

    std::string powers = "1";
    for (int i = 0; i < 100000; ++i) powers += "*2^0";
    EXPECT_EQ(LineExecution(e, powers, -1), powers + "=1");

    const std::string deep = std::string(10000, '(') + "1" + std::string(10000, ')');
    EXPECT_EQ(LineExecution(e, deep, -1), deep + "=Yazım Hatası...");
    std::string calls;
    for (int i = 0; i < 5000; ++i) calls += "SQRT(";
    calls += "1" + std::string(5000, ')');
    EXPECT_EQ(LineExecution(e, calls, -1), calls + "=Yazım Hatası...");
    // Below the bound nesting works.
    const std::string fine = std::string(200, '(') + "2" + std::string(200, ')') + "^2";
    EXPECT_EQ(LineExecution(e, fine, -1), fine + "=4");
}

}  // namespace
}  // namespace zentu
