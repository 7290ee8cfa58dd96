// SPDX-License-Identifier: GPL-3.0-or-later
// The reduction passes: powers and factorials, products and quotients, sums.
//
// PowerView scans right to left. Everything to the right of the scan position is final,
// so it is kept in a reversed buffer: removing the exponent that follows a "^" and
// inserting a result are then both pushes and pops at a buffer's end, and a long line
// costs linear time. ProductPass scans left to right and keeps its output in a buffer
// from whose end TakeLastNumber takes the left operand.
#include <array>
#include <cmath>
#include <cstdint>

#include "engine/engine.h"
#include "engine/internal.h"

namespace zentu {
namespace {

bool IsSign(char c) {
    return c == '+' || c == '-';
}

// +1 or -1 for the run of signs at p; p ends on the first other character.
int FoldSigns(std::string_view text, std::size_t& p) {
    int minus = 0;
    for (; p < text.size() && IsSign(text[p]); ++p) minus += text[p] == '-';
    return (minus & 1) ? -1 : 1;
}

// Where the number that ends `s` begins: over NumberChars and signs directly after an
// "E", then a sign that stands first or after "*", "+", "-", "/".
std::size_t LastNumberStart(std::string_view s) {
    std::size_t i = s.size();
    while (i > 0 && (IsNumberChar(s[i - 1]) || (IsSign(s[i - 1]) && i >= 2 && s[i - 2] == 'E')))
        --i;
    if (i > 0 && IsSign(s[i - 1])) {
        const char before = i >= 2 ? s[i - 2] : '\0';
        if (i == 1 || before == '*' || before == '+' || before == '-' || before == '/') --i;
    }
    return i;
}

}  // namespace

// Reads signs and a number token at p; `empty` tells that no token followed the signs.
long double ReadSignedNumber(std::string_view text, std::size_t& p, bool* empty) {
    const int sign = FoldSigns(text, p);
    const std::size_t len = NumberTokenLength(text, p);
    const std::string_view token = text.substr(p, len);
    p += len;
    if (empty) *empty = len == 0;
    return len == 0 ? 0.0L : TextToNumber(token) * sign;
}

// Removes the number that ends `out` and gives its value (0 when out ends otherwise).
long double TakeLastNumber(std::string& out) {
    if (out.empty()) throw EvalFailure{};
    const std::size_t start = LastNumberStart(out);
    const long double v = TextToNumber(std::string_view(out).substr(start));
    out.resize(start);
    return v;
}

// The text between the "(" at p and its matching ")"; p ends after the ")". A text that
// ends before the match is a failure.
std::string_view ExtractArgument(std::string_view text, std::size_t& p) {
    const std::size_t start = p + 1;
    int depth = 1;
    for (std::size_t q = start; q < text.size(); ++q) {
        if (text[q] == '(') {
            ++depth;
        } else if (text[q] == ')' && --depth == 0) {
            p = q + 1;
            return text.substr(start, q - start);
        }
    }
    throw EvalFailure{};
}

long double Factorial(long double x) {
    const long double t = std::trunc(x);
    // A negative count fails, as does one whose product leaves the extended range
    // (1755! and above).
    if (!(t >= 0) || t > 1754) throw EvalFailure{};
    // Every n! up to 1754!, each made from the one before exactly as multiplying by 2, 3,
    // ..., n in turn makes it, so a line of many large factorials costs no more than a
    // line of small ones.
    static const std::array<long double, 1755> table = [] {
        std::array<long double, 1755> f{};
        f[0] = 1;
        for (unsigned k = 1; k < f.size(); ++k) f[k] = f[k - 1] * k;
        return f;
    }();
    return table[static_cast<unsigned>(t)];
}

namespace {

// Scanning leftwards from the bracket `last` that ends `s`, the position of its partner
// `partner`; a text that runs out first is a failure.
std::size_t GroupStartFromEnd(std::string_view s, char last, char partner) {
    int depth = 0;
    for (std::size_t i = s.size(); i-- > 0;) {
        if (s[i] == last)
            ++depth;
        else if (s[i] == partner && --depth == 0)
            return i;
    }
    throw EvalFailure{};
}

// "^" is EXP(LN(b) * e): a base of zero or below fails whatever the exponent.
long double Power(long double base, long double exponent) {
    if (!(base > 0) || std::isinf(base)) throw EvalFailure{};
    return Checked(std::exp(std::log(base) * exponent));
}

// Pops the run of "!" that ends `left` and gives its length.
int TakeFactorialMarks(std::string& left) {
    int n = 0;
    while (!left.empty() && left.back() == '!') {
        left.pop_back();
        ++n;
    }
    return n;
}

}  // namespace

// Inserts a value at the boundary between the unscanned `left` and the reversed,
// finished right part `rs`. A value that would touch a number (or a group) on either
// side is joined to it by "*".
void Engine::InsertPowerResult(std::string& left, std::string& rs, long double v) {
    if (!rs.empty() && (IsDigit(rs.back()) || rs.back() == '.' || rs.back() == '('))
        rs.push_back('*');
    Scratch num(buffers_);
    AppendValue(num.str(), v);
    rs.append(num.str().rbegin(), num.str().rend());
    if (!left.empty() && (IsNumberChar(left.back()) || left.back() == ')')) rs.push_back('*');
}

// The value of a group's inner text (or a call's argument): powers, products and sums.
long double Engine::ReduceGroup(std::string_view text) {
    Scratch powered(buffers_);
    return ProductPass(PowerView(text, powered.str()));
}

// Removes the operand that ends `left` (a number, or a group reduced on the spot) and
// gives its value; 0 when `left` ends in neither.
long double Engine::TakeOperandBefore(std::string& left) {
    if (!left.empty() && left.back() == ')') {
        const std::size_t i = GroupStartFromEnd(left, ')', '(');
        Scratch inner(buffers_);
        inner.str().assign(left, i + 1, left.size() - i - 2);
        left.resize(i);
        return ReduceGroup(inner.str());
    }
    return left.empty() ? 0.0L : TakeLastNumber(left);
}

// The operand that ends `left` with the factorial marks after it applied: "3!!" is
// (3!)!.
long double Engine::TakeBase(std::string& left) {
    const int marks = TakeFactorialMarks(left);
    long double b = TakeOperandBefore(left);
    for (int i = 0; i < marks; ++i) b = Factorial(b);
    return b;
}

// Removes the exponent that follows a "^" from the front of the finished right part
// (the end of the reversed buffer `rs`). Returns false when no exponent is there.
bool Engine::TakeExponent(std::string& rs, long double& exponent) {
    int minus = 0;
    while (!rs.empty() && IsSign(rs.back())) {
        minus += rs.back() == '-';
        rs.pop_back();
    }
    const long double sign = (minus & 1) ? -1.0L : 1.0L;
    if (rs.empty()) return false;
    if (rs.back() == '(') {
        const std::size_t i = GroupStartFromEnd(rs, '(', ')');  // reversed: "(" stands last
        Scratch group(buffers_);
        // The group's inner text, back in reading order.
        group.str().assign(rs.rbegin() + 1, rs.rbegin() + std::ptrdiff_t(rs.size() - i - 1));
        rs.resize(i);
        exponent = ReduceGroup(group.str()) * sign;
        return true;
    }
    if (!IsNumberChar(rs.back())) return false;
    Scratch token(buffers_);
    std::string& t = token.str();
    while (!rs.empty() && IsNumberChar(rs.back())) {
        t += rs.back();
        rs.pop_back();
        if (t.back() == 'E' && !rs.empty() && IsSign(rs.back())) {
            t += rs.back();
            rs.pop_back();
        }
    }
    exponent = TextToNumber(t) * sign;
    return true;
}

// Gives the text with every "!" and "^" rewritten: `text` itself when it has none,
// else the rewritten text in `storage`.
std::string_view Engine::PowerView(std::string_view text, std::string& storage) {
    if (text.empty()) throw EvalFailure{};
    bool powers = false;
    for (const char c : text) powers |= c == '!' || c == '^';
    if (!powers) return text;
    DepthGuard guard(*this);
    Scratch left_buffer(buffers_), right_buffer(buffers_);
    std::string& left = left_buffer.str();
    std::string& rs = right_buffer.str();
    left.assign(text);
    while (!left.empty()) {
        const char c = left.back();
        if (c == '!') {
            InsertPowerResult(left, rs, TakeBase(left));
        } else if (c == '^') {
            left.pop_back();
            long double e;
            if (!TakeExponent(rs, e)) {
                // "2^" with nothing after it: the text before the operator stands.
                FlagSyntaxError();
                continue;
            }
            const long double b = TakeBase(left);
            InsertPowerResult(left, rs, Power(b, e));
        } else {
            rs.push_back(c);
            left.pop_back();
        }
    }
    storage.assign(rs.rbegin(), rs.rend());
    return storage;
}

long double Engine::ProductPass(std::string_view text) {
    if (text.empty()) throw EvalFailure{};
    // A lone number (an argument, a sample) is read as the sum of one term would be.
    if (IsNumberChar(text[0]) && text[0] != 'E' && NumberTokenLength(text, 0) == text.size())
        return TextToNumber(text);
    DepthGuard guard(*this);
    Scratch buffer(buffers_);
    std::string& out = buffer.str();
    std::size_t p = 0;
    // A value that directly follows a number or group multiplies it.
    auto append_juxtaposed = [&](long double v) {
        if (!out.empty() && IsNumberChar(out.back())) v = Checked(TakeLastNumber(out) * v);
        AppendValue(out, v);
    };
    while (p < text.size()) {
        const char ch = text[p];
        if (ch == '(') {
            const std::string_view group = ExtractArgument(text, p);
            append_juxtaposed(ProductPass(group));
        } else if (IsSign(ch)) {
            out += ch;
            ++p;
        } else if (ch == '.' || IsDigit(ch)) {
            const std::size_t len = NumberTokenLength(text, p);
            const std::string_view token = text.substr(p, len);
            p += len;
            if (!out.empty() && IsNumberChar(out.back()))
                append_juxtaposed(TextToNumber(token));
            else
                out += token;
        } else if (ch == '*' || ch == '/') {
            ++p;
            const int sign = FoldSigns(text, p);
            long double r;
            if (p < text.size() && IsNumberChar(text[p])) {
                const long double left = TakeLastNumber(out) * sign;
                const long double right = ReadSignedNumber(text, p);
                r = ch == '*' ? Checked(left * right) : Divide(left, right);
            } else if (p < text.size() && text[p] == '(') {
                const std::string_view group = ExtractArgument(text, p);
                long double v = ProductPass(group);
                const long double left = TakeLastNumber(out);
                if (ch == '*') {
                    r = Checked(left * sign * v);
                } else {
                    v *= sign;
                    r = Divide(left, v);
                }
            } else {
                ReportSyntaxError(text, p);
                break;
            }
            AppendValue(out, r);
        } else {
            ReportSyntaxError(text, p);
        }
    }
    return SumPass(out);
}

long double Engine::SumPass(std::string_view text) {
    std::size_t p = 0;
    bool empty = false;
    const bool leading_sign = !text.empty() && IsSign(text[0]);
    long double r = ReadSignedNumber(text, p, &empty);
    if (empty && leading_sign) {
        ReportSyntaxError(text, p);  // a lone sign has no operand
        return r;
    }
    while (p < text.size()) {
        const char ch = text[p++];
        if (!IsSign(ch)) continue;
        --p;
        const long double v = ReadSignedNumber(text, p, &empty);
        if (empty) {
            ReportSyntaxError(text, p);  // "2+" : nothing after the operator
            break;
        }
        const long double sum = r + v;
        // Infinity read from the text may pass through; a sum of finite values that
        // leaves the range, or infinity minus infinity, fails.
        if (std::isnan(sum) || (std::isinf(sum) && std::isfinite(r) && std::isfinite(v)))
            throw EvalFailure{};
        r = sum;
    }
    return r;
}

}  // namespace zentu
