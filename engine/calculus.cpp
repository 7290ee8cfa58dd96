// SPDX-License-Identifier: GPL-3.0-or-later
// INT and DIF: a formula in a one-letter variable, evaluated afresh at each sample point
// with the sample's number text in place of the variable.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/internal.h"

namespace zentu {
namespace {

// A letter, "_" or a byte of a non-ASCII character: part of a name.
bool IsNameChar(char c) {
    return IsLetter(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// The formula cut at every occurrence of `variable` that stands alone, with the "*"
// that joins a value to its neighbours already added to the pieces around it: a formula
// with n such occurrences gives n + 1 pieces. A value is joined to a number, a closing
// parenthesis or a factorial mark before it ("3!X" at -1 is "3!*-1", -6, not 3! - 1), to
// a number or an opening parenthesis after it, and to the value of an occurrence right
// after it (with the variable "2", "22" at 0.5 is "0.5*0.5").
std::vector<std::string> SplitAtVariable(std::string_view formula, std::string_view variable) {
    std::vector<std::string> pieces(1);
    std::size_t i = 0;
    std::size_t last_end = std::string_view::npos;  // where the last occurrence ended
    while (i < formula.size()) {
        if (!variable.empty() && formula[i] == variable[0] &&
            formula.compare(i, variable.size(), variable) == 0) {
            const char before = i > 0 ? formula[i - 1] : '\0';
            const std::size_t end = i + variable.size();
            const char after = end < formula.size() ? formula[end] : '\0';
            if (!IsNameChar(before) && !IsNameChar(after)) {
                if (i == last_end) {
                    // Two values in a row: one product. The "*" is there already when the
                    // variable begins with a digit, "." or "(".
                    if (pieces.back().empty()) pieces.back() += '*';
                } else if (EndsValue(before)) {
                    pieces.back() += '*';
                }
                pieces.emplace_back();
                if (IsDigit(after) || after == '.' || after == '(') pieces.back() += '*';
                i = last_end = end;
                continue;
            }
        }
        pieces.back() += formula[i++];
    }
    return pieces;
}

// The ";"-pieces of an INT or DIF argument (control characters and blanks around it
// dropped), taken one after the other. When no ";" is left the piece is empty and the
// rest stays: it is the step count.
class Pieces {
  public:
    explicit Pieces(std::string_view text) : list_(TrimControls(text)) {}
    std::string_view Next() { return list_.AtLastPiece() ? std::string_view() : list_.Next(); }
    // The rest read as a decimal integer of any length, with an optional sign; 100 when
    // it is not one. A count beyond 2147483647 (or below 1) is no count: it fails.
    std::uint32_t Count() const {
        const std::optional<long long> n = ReadInteger(list_.Rest());
        if (!n) return 100;
        if (*n < 1 || *n > 2147483647) throw EvalFailure{};
        return static_cast<std::uint32_t>(*n);
    }

  private:
    static std::string_view TrimControls(std::string_view s) {
        while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
        while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
        return s;
    }
    ListReader list_;
};

// A limit, point or sample rounded to double. One that leaves the double range fails,
// as every overflow does: its text would be "INF".
double ToDouble(long double v) {
    // Half a unit in the last place above the largest double: from here on the nearest
    // double is infinity.
    constexpr long double kEdge = 0x1.fffffffffffff8p1023L;
    if (!(std::fabs(v) < kEdge)) throw EvalFailure{};
    return static_cast<double>(v);
}

}  // namespace

void JoinAtVariable(const std::vector<std::string>& pieces, std::string_view value_text,
                    std::string& out) {
    out = pieces[0];
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        out += value_text;
        out += pieces[i];
    }
}

std::string SubstituteVariable(std::string_view formula, std::string_view variable,
                               std::string_view value_text) {
    std::string out;
    JoinAtVariable(SplitAtVariable(formula, variable), value_text, out);
    return out;
}

SampledFormula::SampledFormula(std::string_view formula, std::string_view variable)
    : pieces_(SplitAtVariable(formula, variable)) {
    // Normalising works character by character and a value's text has no blank, small
    // letter or parenthesis, so the pieces can be normalised once, here.
    std::size_t open = 0, close = 0;
    for (std::string& piece : pieces_)
        piece.resize(std::size_t(NormalizeChars(piece, piece.data(), open, close) - piece.data()));
    balanced_ = open == close;
}

long double Engine::TrapezoidIntegral(std::string_view formula, std::string_view variable,
                                      std::uint32_t n, double a, double b) {
    if (n == 0) throw EvalFailure{};
    // The step stays in extended precision; the sample points are rounded to double.
    const long double h = (static_cast<long double>(b) - a) / n;
    const SampledFormula f(formula, variable);
    const long double fa = EvaluateAt(f, a);
    const long double fb = EvaluateAt(f, b);
    long double sum = Checked((fa + fb) * (h / 2));
    for (std::uint32_t i = 1; i < n; ++i) {
        if ((i & 255) == 0) PollCancel(i, n);
        const double x = ToDouble(i * h + a);
        sum = Checked(sum + Checked(EvaluateAt(f, x) * h));
    }
    return sum;
}

long double Engine::CentralDifference(std::string_view formula, std::string_view variable,
                                      std::uint32_t n, double a) {
    if (n == 0) throw EvalFailure{};
    const SampledFormula f(formula, variable);
    const long double fa = EvaluateAt(f, a);
    // The step is proportional to the function's value at a.
    const long double h = fa / static_cast<std::uint32_t>(2u * n);
    const long double fp = EvaluateAt(f, ToDouble(a + h));
    const long double fm = EvaluateAt(f, ToDouble(a - h));
    const long double d = Divide(fp - fm, 2 * h);
    ShowMessage(BoxKind::Plain, "doDif=" + LocaleText(d));
    return d;
}

// INT(f;v;a;b;n)
long double Engine::IntegralOf(std::string_view argument) {
    Pieces pieces(argument);
    const std::string_view formula = pieces.Next();
    const std::string_view var_piece = pieces.Next();
    if (var_piece.empty()) throw EvalFailure{};
    const std::string_view variable = var_piece.substr(0, FirstCharLength(var_piece));
    const double a = ToDouble(EvaluateExpression(pieces.Next()));
    const double b = ToDouble(EvaluateExpression(pieces.Next()));
    return TrapezoidIntegral(formula, variable, pieces.Count(), a, b);
}

// DIF(f;v;a;n), showing each input and the result in a box of its own.
long double Engine::DerivativeOf(std::string_view argument) {
    Pieces pieces(argument);
    const std::string_view formula = pieces.Next();
    ShowMessage(BoxKind::Plain, "fx=" + std::string(formula));
    const std::string_view var_piece = pieces.Next();
    if (var_piece.empty()) throw EvalFailure{};
    const std::string_view variable = var_piece.substr(0, FirstCharLength(var_piece));
    ShowMessage(BoxKind::Plain, "x=" + std::string(variable));
    const double a = ToDouble(EvaluateExpression(pieces.Next()));
    ShowMessage(BoxKind::Plain, "a=" + LocaleText(a));
    const std::uint32_t n = pieces.Count();
    ShowMessage(BoxKind::Plain, "n=" + std::to_string(n));
    return CentralDifference(formula, variable, n, a);
}

}  // namespace zentu
