// SPDX-License-Identifier: GPL-3.0-or-later
// Zentu's expression engine: one calculator line in, one extended value out.
//
// A line goes through LineExecution (evaluate.cpp, at the end of this header): cut at its
// first "=", evaluated by EvaluateExpression, rounded, and written back as
// "expression=result".
//
// The engine never builds a syntax tree. EvaluateExpression rewrites the expression text
// in passes, each a private member of Engine:
//   1. NormalizeInto (evaluate.cpp) drops blanks, upper-cases a..z and compares the counts
//      of "(" and ")" (unequal counts stop the evaluation with "Geçersiz parantez...").
//   2. ExpandInto (expand.cpp) replaces every function call and named constant by number
//      text, looking names up in one table in the order of recognition. A call's argument
//      is cut out and reduced by a nested run of the passes, or, for the ";"-list
//      functions (DAT, DIV, INT, ...), split and evaluated piece by piece through
//      EvaluateExpression itself (functions.cpp, series.cpp, calculus.cpp).
//   3. PowerView (passes.cpp) rewrites every "!" and "^" into number text, scanning right
//      to left.
//   4. ProductPass (passes.cpp) rewrites groups, products and quotients into number text,
//      left to right, and SumPass adds up what remains. Only that last sum is not written
//      back.
// Every intermediate result is written back with NumberToText (12 decimals) and read
// again with TextToNumber (engine/number_text.h); this rounding is part of the
// calculator's arithmetic.
//
// Failures (division by zero, overflow, invalid operations, broken structure) are thrown
// and caught by the innermost running EvaluateExpression, which sets ErrorFlag and
// "Yazım Hatası..." and returns the previous AnswerStore. A syntax error only ends the
// scan that met it ("Yazım hatası..."); the remaining passes run on the partial text.
//
// One Engine holds the process-wide state (answer store, error state, argument store,
// data series). The program keeps one; tests build a fresh one each.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zentu {

// The three texts ErrorText can hold.
inline constexpr std::string_view kParenthesisError = "Geçersiz parantez...";
inline constexpr std::string_view kSyntaxError = "Yazım hatası...";
inline constexpr std::string_view kFailureError = "Yazım Hatası...";

// How a message box raised during an evaluation is shown.
enum class BoxKind {
    Information,  // information icon, one OK button (DSEE)
    Plain,        // no icon, captioned with the application title (DIF)
};

// Thrown by EXEC's rounding step when the rounded value leaves the extended range; it is
// not an engine failure and reaches the caller's general error report.
class RoundingOverflow : public std::overflow_error {
  public:
    RoundingOverflow() : std::overflow_error("Kayan nokta taşması") {}
};

class Engine;

// An operation of the function library (engine/internal.h).
enum class Op : unsigned char;

// A formula to be evaluated at many values of its variable (INT, DIF, the graph's
// samples), cut at the variable's places and normalised once. Engine::EvaluateAt(f, x)
// gives exactly what EvaluateExpression gives for the formula with the result text of x
// put in place of the variable (see SubstituteVariable).
class SampledFormula {
  public:
    SampledFormula(std::string_view formula, std::string_view variable);

  private:
    friend class Engine;
    std::vector<std::string> pieces_;  // normalised text around the variable's places
    bool balanced_ = true;             // as many "(" as ")"
};

class Engine {
  public:
    Engine();

    // The engine entry: never throws an engine failure to its caller (only
    // std::bad_alloc). Callers read ErrorFlag afterwards.
    long double EvaluateExpression(std::string_view text);
    // The prepared formula at x (see SampledFormula); the same guarantee.
    long double EvaluateAt(const SampledFormula& formula, double x);

    // ---- Engine state ----------------------------------------------------------
    long double AnswerStore = 0;    // value of the last evaluation that completed its passes
    bool ErrorFlag = false;         // an evaluation failed since the flag was last cleared
    std::string ErrorText;          // the message of the failure reported last
    bool SyntaxErrorArmed = false;  // no syntax error reported yet in this evaluation

    // ---- Function library state --------------------------------------------------
    std::vector<long double> ArgumentStore;  // slot 0 unused; pieces of the last ";"-list
    std::vector<long double> SeriesStore;    // slot 0 unused; the data series
    std::uint16_t SeriesCount = 0;

    // ---- Hooks installed by the caller ---------------------------------------------
    // Shows a message box and returns when the user has closed it (DSEE, DIF).
    std::function<void(BoxKind, const std::string&)> ShowBox;
    // The user's regional decimal separator, used only in box texts.
    std::string LocaleDecimalSeparator = ".";
    // Polled during long computations (INT, DIF, DAT, DSRT, and after every 256 units of
    // work: nested evaluations and values read by the series statistics); returning true
    // ends the whole evaluation as a failure, with AnswerStore and the series as they
    // were before it.
    std::function<bool()> CancelRequested;
    // Told how far a long computation has come: done out of total steps.
    std::function<void(std::uint64_t done, std::uint64_t total)> ProgressReport;

    // Deepest nesting of groups and calls that an evaluation accepts.
    static constexpr int kMaxDepth = 256;

  private:
    friend class Scratch;
    struct DepthGuard;

    // ---- The passes (evaluate.cpp, expand.cpp, passes.cpp) ------------------------------
    template <class Fill>
    long double EvaluateFilled(const Fill& fill);
    bool NormalizeInto(std::string_view text, std::string& out);
    bool FinishNormalized(std::string& out, bool balanced);
    long double Evaluate(std::string_view normalized);
    void ExpandInto(std::string_view text, std::string& out);
    std::string_view PowerView(std::string_view text, std::string& storage);
    long double ReduceGroup(std::string_view text);
    void InsertPowerResult(std::string& left, std::string& right_reversed, long double v);
    long double TakeOperandBefore(std::string& left);
    long double TakeBase(std::string& left);
    bool TakeExponent(std::string& right_reversed, long double& exponent);
    long double ProductPass(std::string_view text);
    long double SumPass(std::string_view text);
    void FlagSyntaxError();
    void ReportSyntaxError(std::string_view text, std::size_t& p);

    // ---- Function library (functions.cpp, series.cpp, calculus.cpp) ---------------------
    long double ApplyTextFunction(Op op, std::string_view argument);
    void SplitArguments(std::string_view text);
    long double DefineSeries(std::string_view text);
    long double ApplySeriesFunction(Op op);
    long double ComputeSeriesFunction(Op op);
    long double IntegralOf(std::string_view argument);
    long double DerivativeOf(std::string_view argument);
    long double TrapezoidIntegral(std::string_view formula, std::string_view variable,
                                  std::uint32_t n, double a, double b);
    long double CentralDifference(std::string_view formula, std::string_view variable,
                                  std::uint32_t n, double a);

    // ---- Hooks and state kept for the running evaluation (evaluate.cpp) -------------------
    void ShowMessage(BoxKind kind, const std::string& text);
    void PollCancel(std::uint64_t done, std::uint64_t total);
    void CountWork(std::uint64_t units);
    void ReplaceSeries(std::vector<long double>&& values, std::uint16_t count);
    void ForgetStatistics();
    std::string LocaleText(long double v) const;

    int depth_ = 0;           // nesting of passes, groups and evaluations
    int evaluations_ = 0;     // nesting of EvaluateExpression calls
    std::uint64_t work_ = 0;  // units of work so far, to poll CancelRequested
    // The series as it was when the running evaluation began, kept by the first DAT or
    // DSRT that replaces it, so that a cancelled evaluation can put it back.
    std::vector<long double> series_before_;
    std::uint16_t series_count_before_ = 0;
    bool series_saved_ = false;
    // Statistics already computed in the running evaluation, SUM to DQUA in the order of
    // Op; forgotten when the series is replaced and when the next evaluation begins (the
    // series is public and may change between evaluations), so a line of many SUM() over
    // a long series reads the series once.
    struct SeriesStatistic {
        bool known = false;
        long double value = 0;
    };
    SeriesStatistic statistics_[7];
    // Text buffers reused by the passes (see Scratch).
    struct BufferStack {
        std::vector<std::unique_ptr<std::string>> buffers;
        std::size_t used = 0;
    };
    BufferStack buffers_;
};

// Puts value_text in place of every occurrence of `variable` that stands alone: an
// occurrence that touches a letter or "_" is part of a name and stays. Where the value
// would be joined onto a number, a closing parenthesis, a factorial mark or the value of
// the occurrence before it, or a number or group follows it, a "*" is put between them,
// so "2X" at X = 0.5 reads "2*0.5" and "3!X" at X = -1 reads "3!*-1". Used by INT, DIF
// and the graph's samples. An empty variable replaces nothing.
std::string SubstituteVariable(std::string_view formula, std::string_view variable,
                               std::string_view value_text);

// EXEC's line logic: cut the line at its first "=", evaluate the rest, round to
// `decimals` (-1 = no rounding, 0..12), and give the line rewritten as
// expression + "=" + result or error message. Clears ErrorFlag before and after.
// Throws RoundingOverflow when the rounding step overflows.
std::string LineExecution(Engine& engine, std::string_view line, int decimals);

}  // namespace zentu
