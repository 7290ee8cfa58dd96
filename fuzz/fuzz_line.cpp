// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: arbitrary bytes as calculator lines, run through EXEC's line logic.
//
// Input layout: the first byte chooses the decimals (-1..12); the rest is split at "\n"
// into at most kMaxLines lines, executed in order by one engine, so the answer store,
// the argument store and the data series carry over from line to line as they do in
// the window.
//
// Keeping one input fast: INT, DIF and DAT may ask for up to 2147483647 steps, and nested
// INT or DIF calls multiply their counts, so the step counts in the text cannot bound
// the work. The engine polls CancelRequested every 256 nested evaluations (and DAT and
// DSRT on their own counts), so a hook that answers "cancel" once a line has used up a
// budget of polls bounds every line at about kPollBudget * 256 evaluations. This keeps
// the input as written and drives the cancellation path itself on every long input.
//
// Checked beyond the sanitizers:
//   - the written line is the expression (cut at the first "="), "=" and something;
//   - a cancelled line shows the failure text and leaves AnswerStore and the series
//     exactly as they were before it;
//   - progress reports never claim more steps done than the total;
//   - EXEC leaves ErrorFlag cleared;
//   - no line shows "NAN": the language cannot write a not-a-number, so one in a result
//     would be a failure the engine let through as a value;
//   - the lines give the same results and boxes a second time, in the same engine with its
//     state put back to the start: what the engine keeps between evaluations for speed
//     (its text buffers) must not change a result. The comparison stops at the first
//     cancelled line, since the polls fall elsewhere in the second run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace {

constexpr int kMaxLines = 8;
constexpr int kPollBudget = 16;

bool SameBits(long double a, long double b) {
    // The 80 value bits only; the padding of the type is not part of the value.
    return std::memcmp(&a, &b, 10) == 0;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

struct Run {
    std::vector<std::string> shown;  // each line as written, with the texts of its boxes
    std::size_t cancelled_at = 0;    // the first cancelled line; the lines after it do not run
};

// Runs the lines through the engine and checks each one.
Run RunLines(zentu::Engine& engine, const std::vector<std::string_view>& lines, int decimals) {
    Run run;
    std::string boxes;
    int polls = 0;
    bool cancelled = false;
    engine.ShowBox = [&](zentu::BoxKind, const std::string& text) { (boxes += text) += '\n'; };
    engine.CancelRequested = [&] {
        if (++polls > kPollBudget) cancelled = true;
        return cancelled;
    };
    engine.ProgressReport = [](std::uint64_t done, std::uint64_t total) { Check(done <= total); };

    for (const std::string_view line : lines) {
        polls = 0;
        cancelled = false;
        boxes.clear();
        const long double answer_before = engine.AnswerStore;
        const std::vector<long double> series_before = engine.SeriesStore;
        const std::uint16_t count_before = engine.SeriesCount;
        std::string written;
        bool overflow = false;
        try {
            written = zentu::LineExecution(engine, line, decimals);
        } catch (const zentu::RoundingOverflow&) {
            overflow = true;  // only for results beyond about 1E4920 with decimals chosen
        }
        run.shown.push_back(written + '\n' + boxes);
        if (cancelled) run.cancelled_at = run.shown.size() - 1;
        if (overflow) {
            if (cancelled) break;
            continue;
        }

        const std::string_view expression = line.substr(0, line.find('='));
        Check(written.size() > expression.size() &&
              std::string_view(written).substr(0, expression.size()) == expression &&
              written[expression.size()] == '=');
        Check(!engine.ErrorFlag);
        Check(!written.ends_with("NAN"));
        if (cancelled) {
            Check(std::string_view(written).substr(expression.size() + 1) == zentu::kFailureError);
            Check(SameBits(engine.AnswerStore, answer_before));
            Check(engine.SeriesCount == count_before &&
                  engine.SeriesStore.size() == series_before.size() &&
                  std::equal(series_before.begin(), series_before.end(), engine.SeriesStore.begin(),
                             SameBits));
            break;
        }
    }
    if (!cancelled) run.cancelled_at = run.shown.size();
    return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int decimals = data[0] % 14 - 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; lines.size() < kMaxLines && start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    zentu::Engine engine;
    const Run first = RunLines(engine, lines, decimals);

    engine.AnswerStore = 0;
    engine.ErrorFlag = false;
    engine.ErrorText.clear();
    engine.SyntaxErrorArmed = false;
    engine.ArgumentStore.clear();
    engine.SeriesStore.clear();
    engine.SeriesCount = 0;
    const Run again = RunLines(engine, lines, decimals);

    const std::size_t compared = std::min(first.cancelled_at, again.cancelled_at);
    for (std::size_t i = 0; i < compared; ++i) Check(first.shown[i] == again.shown[i]);
    return 0;
}
