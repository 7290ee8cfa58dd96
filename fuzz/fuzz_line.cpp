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
//     would be a failure the engine let through as a value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int decimals = data[0] % 14 - 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    zentu::Engine engine;
    int polls = 0;
    bool cancelled = false;
    engine.ShowBox = [](zentu::BoxKind, const std::string&) {};
    engine.CancelRequested = [&] {
        if (++polls > kPollBudget) cancelled = true;
        return cancelled;
    };
    engine.ProgressReport = [](std::uint64_t done, std::uint64_t total) { Check(done <= total); };

    std::size_t start = 0;
    for (int n = 0; n < kMaxLines && start <= text.size(); ++n) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;

        polls = 0;
        cancelled = false;
        const long double answer_before = engine.AnswerStore;
        const std::vector<long double> series_before = engine.SeriesStore;
        const std::uint16_t count_before = engine.SeriesCount;
        std::string written;
        try {
            written = zentu::LineExecution(engine, line, decimals);
        } catch (const zentu::RoundingOverflow&) {
            continue;  // only for results beyond about 1E4920 with decimals chosen
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
        }
    }
    return 0;
}
