// SPDX-License-Identifier: GPL-3.0-or-later
// The check behind the fuzz target fuzz_line: arbitrary bytes as calculator lines, run
// through EXEC's line logic. The ordinary tests replay the inputs that fuzzing found
// (fuzz/corpus/fuzz_line/found-*) through the same check, so it needs no fuzzing build.
//
// Input layout: the first byte chooses the decimals (-1..12); the rest is split at "\n"
// into at most 8 lines, executed in order by one engine, so the answer store, the
// argument store and the data series carry over from line to line as they do in the
// window.
//
// Keeping one input fast: INT, DIF and DAT may ask for up to 2147483647 steps, and nested
// INT or DIF calls multiply their counts, so the step counts in the text cannot bound
// the work. The engine polls CancelRequested every 256 nested evaluations (and DAT and
// DSRT on their own counts), so a hook that answers "cancel" once a line has used up a
// budget of polls bounds every line at about 16 * 256 evaluations. This keeps the input
// as written and drives the cancellation path itself on every long input.
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
#pragma once

#include <string>
#include <string_view>

namespace zentu {

// Runs one input through the checks above: an empty text when all of them hold, else
// the first that failed.
std::string CheckLineInput(std::string_view input);

}  // namespace zentu
