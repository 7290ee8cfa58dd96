// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/line_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/engine.h"

namespace zentu {
namespace {

constexpr std::size_t kMaxLines = 8;
constexpr int kPollBudget = 16;

bool SameBits(long double a, long double b) {
    // The 80 value bits only; the padding of the type is not part of the value.
    return std::memcmp(&a, &b, 10) == 0;
}

// Keeps the first check that failed, with the line it failed on.
class Checks {
  public:
    void Expect(bool ok, std::size_t line, const char* what) {
        if (ok || !failure_.empty()) return;
        failure_ = "line " + std::to_string(line + 1) + ": " + what;
    }
    const std::string& Failure() const { return failure_; }

  private:
    std::string failure_;
};

struct Run {
    std::vector<std::string> shown;  // each line as written, with the texts of its boxes
    std::size_t cancelled_at = 0;    // the first cancelled line; the lines after it do not run
};

// Runs the lines through the engine and checks each one.
Run RunLines(Engine& engine, const std::vector<std::string_view>& lines, int decimals,
             Checks& checks) {
    Run run;
    std::string boxes;
    int polls = 0;
    bool cancelled = false;
    std::size_t at = 0;  // the line running
    engine.ShowBox = [&](BoxKind, const std::string& text) { (boxes += text) += '\n'; };
    engine.CancelRequested = [&] {
        if (++polls > kPollBudget) cancelled = true;
        return cancelled;
    };
    engine.ProgressReport = [&](std::uint64_t done, std::uint64_t total) {
        checks.Expect(done <= total, at, "progress beyond the total");
    };

    for (; at < lines.size(); ++at) {
        const std::string_view line = lines[at];
        polls = 0;
        cancelled = false;
        boxes.clear();
        const long double answer_before = engine.AnswerStore;
        const std::vector<long double> series_before = engine.SeriesStore;
        const std::uint16_t count_before = engine.SeriesCount;
        std::string written;
        bool overflow = false;
        try {
            written = LineExecution(engine, line, decimals);
        } catch (const RoundingOverflow&) {
            overflow = true;  // only for results beyond about 1E4920 with decimals chosen
        }
        run.shown.push_back(written + '\n' + boxes);
        if (cancelled) run.cancelled_at = run.shown.size() - 1;
        if (overflow) {
            if (cancelled) break;
            continue;
        }

        const std::string_view expression = line.substr(0, line.find('='));
        const bool shaped = written.size() > expression.size() &&
                            std::string_view(written).substr(0, expression.size()) == expression &&
                            written[expression.size()] == '=';
        checks.Expect(shaped, at, "the written line is not the expression, \"=\" and a result");
        if (!shaped) break;
        checks.Expect(!engine.ErrorFlag, at, "ErrorFlag left set");
        checks.Expect(!written.ends_with("NAN"), at, "a not-a-number shown as the result");
        if (cancelled) {
            checks.Expect(std::string_view(written).substr(expression.size() + 1) == kFailureError,
                          at, "a cancelled line without the failure text");
            checks.Expect(SameBits(engine.AnswerStore, answer_before), at,
                          "a cancelled line changed AnswerStore");
            checks.Expect(engine.SeriesCount == count_before &&
                              engine.SeriesStore.size() == series_before.size() &&
                              std::equal(series_before.begin(), series_before.end(),
                                         engine.SeriesStore.begin(), SameBits),
                          at, "a cancelled line changed the series");
            break;
        }
    }
    if (!cancelled) run.cancelled_at = run.shown.size();
    return run;
}

}  // namespace

std::string CheckLineInput(std::string_view input) {
    if (input.empty()) return {};
    const int decimals = static_cast<unsigned char>(input[0]) % 14 - 1;
    const std::string_view text = input.substr(1);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; lines.size() < kMaxLines && start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    Checks checks;
    Engine engine;
    const Run first = RunLines(engine, lines, decimals, checks);

    engine.AnswerStore = 0;
    engine.ErrorFlag = false;
    engine.ErrorText.clear();
    engine.SyntaxErrorArmed = false;
    engine.ArgumentStore.clear();
    engine.SeriesStore.clear();
    engine.SeriesCount = 0;
    const Run again = RunLines(engine, lines, decimals, checks);

    const std::size_t compared = std::min(first.cancelled_at, again.cancelled_at);
    for (std::size_t i = 0; i < compared; ++i)
        checks.Expect(first.shown[i] == again.shown[i], i, "a different result the second time");
    return checks.Failure();
}

}  // namespace zentu
