// SPDX-License-Identifier: GPL-3.0-or-later
// The program-wide data series: DAT defines it, the statistics read it, DSEE shows it and
// DSRT sorts it.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <type_traits>

#include "engine/engine.h"
#include "engine/internal.h"

namespace zentu {

// DAT(x1;x2;...): every piece is evaluated on its own (a failing piece counts, with the
// value its evaluation returns). The new series is built aside and replaces the old one
// only when the whole list has been evaluated, so a SUM() inside a piece sees the old
// series, and a list that fails or is cancelled leaves the old series whole. A cancel
// later in the same line puts the old series back as well (ReplaceSeries).
long double Engine::DefineSeries(std::string_view text) {
    const std::size_t count = std::size_t(std::count(text.begin(), text.end(), ';')) + 1;
    if (count > 65535) throw EvalFailure{};
    std::vector<long double> values;
    values.reserve(count + 1);
    values.push_back(0.0L);
    for (ListReader list(text); !list.Done();) {
        if ((values.size() & 63) == 0) PollCancel(values.size() - 1, count);
        values.push_back(EvaluateExpression(list.Next()));
    }
    const auto n = static_cast<std::uint16_t>(values.size() - 1);
    ReplaceSeries(std::move(values), n);
    return n;
}

long double Engine::ApplySeriesFunction(Op op) {
    // SUM, DAVG, DVAR, DSTD, DGEO, DHAR and DQUA depend on the series alone: within one
    // evaluation each is computed once until the series is replaced. DSEE (a box each
    // time) and DSRT (a new series) run every time.
    static_assert(std::size_t(Op::DQua) - std::size_t(Op::Sum) + 1 ==
                  std::extent_v<decltype(statistics_)>);
    const bool statistic = op >= Op::Sum && op <= Op::DQua;
    SeriesStatistic* known =
        statistic ? &statistics_[std::size_t(op) - std::size_t(Op::Sum)] : nullptr;
    if (known && known->known) return known->value;
    const long double v = ComputeSeriesFunction(op);
    if (known) {
        known->known = true;
        known->value = v;
    }
    return v;
}

long double Engine::ComputeSeriesFunction(Op op) {
    const std::size_t n = SeriesCount;
    // Each statistic reads every value once: a line of many of them over a long series
    // is a long computation.
    CountWork(n);
    const long double* x = SeriesStore.data();  // x[1..n]
    auto sum = [&] {
        long double s = 0;
        for (std::size_t i = 1; i <= n; ++i) s = Checked(s + x[i]);
        return s;
    };
    switch (op) {
        case Op::Sum:
            return sum();
        case Op::DAvg:
            return n == 0 ? 0.0L : Divide(sum(), n);
        case Op::DVar:
        case Op::DStd: {
            if (n == 0) throw EvalFailure{};
            const long double m = Divide(sum(), n);
            long double s = 0;
            for (std::size_t i = 1; i <= n; ++i) s = Checked(s + Checked((x[i] - m) * (x[i] - m)));
            const long double var = Divide(s, n);
            return op == Op::DVar ? var : Checked(std::sqrt(var));
        }
        case Op::DGeo: {
            if (n == 0) throw EvalFailure{};
            long double p = 1;
            for (std::size_t i = 1; i <= n; ++i) p = Checked(p * x[i]);
            return PowerAlgorithm(p, Divide(1, n));
        }
        case Op::DHar: {
            if (n == 0) throw EvalFailure{};
            long double s = 0;
            for (std::size_t i = 1; i <= n; ++i) s = Checked(s + Divide(1, x[i]));
            return Divide(n, s);
        }
        case Op::DQua: {
            if (n == 0) throw EvalFailure{};
            long double s = 0;
            for (std::size_t i = 1; i <= n; ++i) s = Checked(s + Checked(x[i] * x[i]));
            return Checked(std::sqrt(Divide(s, n)));
        }
        case Op::DSee: {
            std::string text = "Veri : ";
            for (std::size_t i = 1; i <= n; ++i) {
                text += '[';
                AppendResultText(text, x[i], LocaleDecimalSeparator);
                text += "] ";
            }
            ShowMessage(BoxKind::Information, text);
            return n;
        }
        case Op::DSrt: {
            // DSRT's order is that of a selection sort (for each slot i from the first,
            // swap in the first smallest value of slots i..n), and any ascending sort
            // gives that order. Without a NaN, ">" is a strict weak order, so the
            // selection sort leaves the values ascending, and two ascending arrangements
            // of the same values differ only among values that compare equal. Equal
            // values are the same number, except 0 and -0, which nothing tells apart:
            // the result text and the DSEE box write both as "0", and a sum or product
            // of the series does not depend on where its zeros stand. So std::sort gives
            // exactly the selection sort's series in O(n log n). A NaN compares with
            // nothing, so with one ">" is no order: no evaluation puts a NaN into the
            // series, but should it hold one, the selection sort itself runs.
            // Sorted in a copy, so a cancelled sort leaves the series as it was.
            std::vector<long double> s = SeriesStore;
            const auto is_nan = [](long double v) { return std::isnan(v); };
            if (n < 2) {
                // one value or none: nothing to order
            } else if (std::none_of(s.begin() + 1, s.begin() + std::ptrdiff_t(n) + 1, is_nan)) {
                std::sort(s.begin() + 1, s.begin() + std::ptrdiff_t(n) + 1);
            } else {
                for (std::size_t i = 1; i < n; ++i) {
                    if ((i & 255) == 0) PollCancel(i, n);
                    std::size_t m = i;
                    for (std::size_t j = i + 1; j <= n; ++j)
                        if (s[m] > s[j]) m = j;
                    std::swap(s[i], s[m]);
                }
            }
            ReplaceSeries(std::move(s), SeriesCount);
            return n;
        }
        default:
            throw EvalFailure{};
    }
}

}  // namespace zentu
