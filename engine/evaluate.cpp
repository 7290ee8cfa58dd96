// SPDX-License-Identifier: GPL-3.0-or-later
// The engine entry, normalisation and the error state.
#include "engine/engine.h"
#include "engine/internal.h"

namespace zentu {

Engine::Engine() = default;

// The frame of every evaluation: `fill` writes the normalised text into the work buffer
// (or reports why there is none), then the passes run on it.
template <class Fill>
long double Engine::EvaluateFilled(const Fill& fill) {
    const bool outermost = evaluations_ == 0;
    const long double before = AnswerStore;
    if (outermost) {
        series_saved_ = false;
        ForgetStatistics();
    }
    ++evaluations_;
    struct Leave {
        int& count;
        ~Leave() { --count; }
    } leave{evaluations_};
    try {
        // Every nested evaluation (a list piece, a series value, a sample of INT or DIF)
        // is a unit of work, so a line of many integrals, each too short to poll on its
        // own, can still be cancelled.
        if (!outermost) CountWork(1);
        DepthGuard guard(*this);
        Scratch work(buffers_);
        if (fill(work.str())) AnswerStore = Evaluate(work.str());
    } catch (const EvalFailure&) {
        ErrorFlag = true;
        ErrorText = kFailureError;
    } catch (const EvalCancelled&) {
        if (!outermost) throw;
        AnswerStore = before;
        if (series_saved_) {
            SeriesStore = std::move(series_before_);
            SeriesCount = series_count_before_;
        }
        ForgetStatistics();
        ErrorFlag = true;
        ErrorText = kFailureError;
    }
    return AnswerStore;
}

long double Engine::EvaluateExpression(std::string_view text) {
    return EvaluateFilled([this, text](std::string& out) { return NormalizeInto(text, out); });
}

// The sample's result text goes into every gap of the prepared formula; the result is the
// same as evaluating the substituted text, without substituting and normalising again.
long double Engine::EvaluateAt(const SampledFormula& formula, double x) {
    Scratch value(buffers_);
    AppendResultText(value.str(), x);
    return EvaluateFilled([&](std::string& out) {
        if (formula.balanced_) JoinAtVariable(formula.pieces_, value.str(), out);
        return FinishNormalized(out, formula.balanced_);
    });
}

// The passes after normalisation: expansion, powers, products and the sum.
long double Engine::Evaluate(std::string_view normalized) {
    Scratch expanded(buffers_);
    ExpandInto(normalized, expanded.str());
    return ReduceGroup(expanded.str());
}

// Builds the normalised text in `out` (blanks dropped, a..z upper-cased) and compares
// the counts of "(" and ")"; unequal counts are the parenthesis error.
bool Engine::NormalizeInto(std::string_view text, std::string& out) {
    out.resize(text.size());
    std::size_t open = 0, close = 0;
    out.resize(std::size_t(NormalizeChars(text, out.data(), open, close) - out.data()));
    return FinishNormalized(out, open == close);
}

// The end of every normalisation: the syntax error report is armed for the passes,
// unequal bracket counts are the parenthesis error, and an empty text reads as "0".
bool Engine::FinishNormalized(std::string& out, bool balanced) {
    SyntaxErrorArmed = true;
    if (!balanced) {
        ErrorFlag = true;
        ErrorText = kParenthesisError;
        return false;
    }
    // Appended rather than assigned: GCC 12 warns falsely (-Wrestrict) on the inlined
    // assignment of a literal to a string.
    if (out.empty()) out.push_back('0');
    return true;
}

// Only the first syntax error of an evaluation is reported.
void Engine::FlagSyntaxError() {
    if (SyntaxErrorArmed) {
        ErrorFlag = true;
        ErrorText = kSyntaxError;
        SyntaxErrorArmed = false;
    }
}

void Engine::ReportSyntaxError(std::string_view text, std::size_t& p) {
    FlagSyntaxError();
    p = text.size();  // ends the scan that met the error
}

void Engine::ShowMessage(BoxKind kind, const std::string& text) {
    if (ShowBox) ShowBox(kind, text);
}

void Engine::PollCancel(std::uint64_t done, std::uint64_t total) {
    if (ProgressReport) ProgressReport(done, total);
    if (CancelRequested && CancelRequested()) throw EvalCancelled{};
}

// The hook is asked each time the count of work passes a multiple of 256 units.
void Engine::CountWork(std::uint64_t units) {
    const std::uint64_t before = work_;
    work_ += units;
    if ((before >> 8) != (work_ >> 8) && CancelRequested && CancelRequested())
        throw EvalCancelled{};
}

void Engine::ReplaceSeries(std::vector<long double>&& values, std::uint16_t count) {
    if (evaluations_ > 0 && !series_saved_) {
        series_before_ = std::move(SeriesStore);
        series_count_before_ = SeriesCount;
        series_saved_ = true;
    }
    SeriesStore = std::move(values);
    SeriesCount = count;
    ForgetStatistics();
}

void Engine::ForgetStatistics() {
    for (SeriesStatistic& s : statistics_) s.known = false;
}

std::string Engine::LocaleText(long double v) const {
    return ResultText(v, LocaleDecimalSeparator);
}

std::string LineExecution(Engine& engine, std::string_view line, int decimals) {
    const std::string_view expression = line.substr(0, line.find('='));
    // A failure left by another caller (the graph window) must not mark this line.
    engine.ErrorFlag = false;
    long double v = engine.EvaluateExpression(expression);
    if (decimals >= 0) {
        bool overflow = false;
        v = RoundToDecimals(v, decimals, overflow);
        if (overflow) throw RoundingOverflow();
    }
    std::string result(expression);
    result += '=';
    if (engine.ErrorFlag)
        result += engine.ErrorText;
    else
        AppendResultText(result, v);
    engine.ErrorFlag = false;
    return result;
}

}  // namespace zentu
