// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/graph_model.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/engine.h"
#include "engine/number_text.h"

namespace zentu {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A text quoted in an error message, cut short when it is long.
std::string Quoted(std::string_view s) {
    constexpr std::size_t kLimit = 40;
    if (s.size() <= kLimit) return std::string(s);
    std::string cut = FirstCharacters(s, kLimit);
    return cut + "...";
}

}  // namespace

std::string ReplaceText(std::string_view text, std::string_view pattern,
                        std::string_view replacement) {
    if (pattern.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t p = 0;
    for (;;) {
        std::size_t m = text.find(pattern, p);
        if (m == std::string_view::npos) break;
        out.append(text.substr(p, m - p));
        out.append(replacement);
        p = m + pattern.size();
    }
    out.append(text.substr(p));
    return out;
}

std::string FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t p = 0;
    std::size_t taken = 0;
    while (p < text.size()) {
        if ((static_cast<unsigned char>(text[p]) & 0xC0) != 0x80) {
            if (taken == count) break;
            ++taken;
        }
        ++p;
    }
    return std::string(text.substr(0, p));
}

bool ReadSeriesNumber(std::string_view text, std::string_view separator, double& value) {
    std::string_view t = TrimBlanks(text);
    std::string ascii;  // the number with "." as decimal point, for from_chars
    std::size_t p = 0;
    if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
        if (t[p] == '-') ascii += '-';
        ++p;
    }
    int digits = 0;
    int wholeDigits = 0;       // digits before the separator, leading zeros left out
    int zerosAfterPoint = -1;  // zeros between the separator and the first other digit
    bool point = false;
    while (p < t.size()) {
        char c = t[p];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (!point && (wholeDigits > 0 || c != '0')) ++wholeDigits;
            if (point && zerosAfterPoint < 0 && c != '0') zerosAfterPoint = digits;
            ascii += c;
            ++p;
        } else if (!point && !separator.empty() && t.substr(p, separator.size()) == separator) {
            point = true;
            digits = 0;
            ascii += '.';
            p += separator.size();
        } else {
            break;
        }
    }
    if (ascii.empty() || ascii == "-" || ascii == "." || ascii == "-.") return false;
    long long exponent = 0;
    if (p < t.size() && (t[p] == 'E' || t[p] == 'e')) {
        ascii += 'e';
        ++p;
        bool negative = false;
        if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
            negative = t[p] == '-';
            ascii += t[p];
            ++p;
        }
        std::size_t first = p;
        while (p < t.size() && t[p] >= '0' && t[p] <= '9') {
            if (exponent < 100000) exponent = exponent * 10 + (t[p] - '0');
            ascii += t[p];
            ++p;
        }
        if (p == first) return false;
        if (negative) exponent = -exponent;
    }
    if (p != t.size()) return false;
    const char* begin = ascii.data();
    const char* end = ascii.data() + ascii.size();
    double v = 0;
    auto [ptr, ec] = std::from_chars(begin, end, v);
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large is not a number we can plot.
        long long magnitude =
            wholeDigits > 0 ? wholeDigits : -(zerosAfterPoint < 0 ? 0 : zerosAfterPoint);
        if (magnitude + exponent >= 0) return false;
        v = ascii.front() == '-' ? -0.0 : 0.0;
    } else if (ec != std::errc() || ptr != end || !std::isfinite(v)) {
        return false;
    }
    value = v;
    return true;
}

int ReadSampleCount(std::string_view text) {
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    const std::optional<long long> v = ReadInteger(t);
    if (!v) throw GraphError("'" + Quoted(text) + "' geçerli bir tam sayı değil");
    if (*v < 0 || *v > 0xFFFF) throw GraphError(std::string(kSampleCountRangeError));
    return static_cast<int>(*v);
}

std::string TGraph::TextBetween(std::string_view s, std::string_view open, std::string_view close) {
    // Positions from 1, 0 when absent, as in the window's own description of this rule.
    std::size_t fa = s.find(open);
    std::size_t fb = s.find(close);
    long long a = fa == std::string_view::npos ? 0 : static_cast<long long>(fa) + 1;
    long long b = fb == std::string_view::npos ? 0 : static_cast<long long>(fb) + 1;
    long long count = b - a - 1;
    if (count <= 0) return {};
    return std::string(s.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(count)));
}

ComputeResult TGraph::Compute(const ComputeRequest& request, std::vector<std::string>& lines,
                              const ComputeProgress& progress) {
    if (TrimBlanks(request.formula).empty()) return ComputeResult::Skipped;

    // Everything is checked before anything is stored: a refused compute changes nothing.
    // The count goes first, as reading it has no side effects; the fields are evaluated in
    // the order of the window, each once.
    const int count = ReadSampleCount(request.sampleCount);
    const long double c1 = EvaluateField(request.const1Value, request.const1Name);
    const long double c2 = EvaluateField(request.const2Value, request.const2Name);
    const double start = IntervalEnd(request.start, request.startLabel);
    const double end = IntervalEnd(request.end, request.endLabel);

    Const1Name = FirstCharacters(request.const1Name, 2);
    Const1 = ResultText(c1, ".");
    Const2Name = FirstCharacters(request.const2Name, 2);
    Const2 = ResultText(c2, ".");
    x1 = start;
    x2 = end;
    SampleYZ = count == 0 ? 10 : static_cast<std::uint16_t>(count);
    FVXY = FirstCharacters(request.variable, 1);
    Formula = ReplaceText(ReplaceText(request.formula, Const1Name, Const1), Const2Name, Const2);

    return FCalcXY(request.decimals, request.decimalSeparator, lines, progress)
               ? ComputeResult::Done
               : ComputeResult::Cancelled;
}

long double TGraph::EvaluateField(std::string_view text, std::string_view label) {
    engine_.ErrorFlag = false;
    const long double v = engine_.EvaluateExpression(text);
    if (engine_.ErrorFlag)
        throw GraphError("Geçersiz değer (" + Quoted(label) + "): " + engine_.ErrorText);
    return v;
}

double TGraph::IntervalEnd(std::string_view text, std::string_view label) {
    const long double v = EvaluateField(text, label);
    // The interval is kept in doubles. An end beyond their range (1E400, or INF) would put
    // every sample at an infinite or undefined place, so it fails as an overflow does.
    const auto end = static_cast<double>(v);
    if (!std::isfinite(end))
        throw GraphError("Geçersiz değer (" + Quoted(label) + "): " + std::string(kFailureError));
    return end;
}

bool TGraph::FCalcXY(int decimals, std::string_view separator, std::vector<std::string>& lines,
                     const ComputeProgress& progress) {
    const std::size_t n = SampleYZ;
    const std::size_t total = n + 1;
    const double step = static_cast<double>((static_cast<long double>(x2) - x1) / n);

    const SampledFormula formula(Formula, FVXY);
    std::vector<PointXY> samples(total);
    // Built aside (a cancelled compute keeps the old lines), in strings kept from before.
    std::vector<std::string> list = std::move(spare_lines_);
    list.resize(total);
    for (std::size_t i = 0; i < total; ++i) {
        if (progress && i % 64 == 0 && !progress(i, total)) {
            spare_lines_ = std::move(list);
            return false;
        }
        PointXY& sample = samples[i];
        sample.x = static_cast<double>(static_cast<long double>(i) * step + x1);
        sample.y = SampleAt(formula, sample.x);

        bool overflow = false;
        std::string& line = list[i];
        line.clear();
        line += '[';
        line += std::to_string(i);
        line += ": ";
        AppendResultText(line, RoundToDecimals(sample.x, decimals, overflow), separator);
        line += " ; ";
        if (FErr)
            line += engine_.ErrorText;  // a gap: why the sample has no value
        else
            AppendResultText(line, RoundToDecimals(sample.y, decimals, overflow), separator);
        line += ']';
    }
    if (progress) progress(total, total);
    FXY = std::move(samples);
    spare_lines_ = std::move(lines);
    lines = std::move(list);
    return true;
}

double TGraph::FCalcXYPoint(double x) {
    return SampleAt(SampledFormula(Formula, FVXY), x);
}

// The sample's number text in place of the variable, then one evaluation; the engine's
// error flag is cleared first, so it tells about this sample alone.
double TGraph::SampleAt(const SampledFormula& formula, double x) {
    engine_.ErrorFlag = false;
    const long double y = engine_.EvaluateAt(formula, x);
    FErr = engine_.ErrorFlag;
    return FErr ? std::numeric_limits<double>::quiet_NaN() : static_cast<double>(y);
}

void TGraph::GetDataXY(std::string_view s, std::string_view separator) {
    std::vector<PointXY> pairs;
    std::size_t p = 0;
    for (;;) {
        std::size_t open = s.find('(', p);
        if (open == std::string_view::npos) break;
        std::size_t close = s.find_first_of("()", open + 1);
        if (close == std::string_view::npos) break;
        if (s[close] == '(') {  // "((1,2))": the pair begins at the inner "("
            p = close;
            continue;
        }
        std::string_view inner = s.substr(open + 1, close - open - 1);
        std::size_t comma = inner.find(',');
        PointXY point;
        bool ok = comma != std::string_view::npos &&
                  ReadSeriesNumber(inner.substr(0, comma), separator, point.x) &&
                  ReadSeriesNumber(inner.substr(comma + 1), separator, point.y);
        if (!ok)
            throw GraphError("Geçersiz seri verisi: " + Quoted(s.substr(open, close - open + 1)));
        pairs.push_back(point);
        p = close + 1;
    }
    if (!pairs.empty()) DataXY = std::move(pairs);
}

namespace {

// fmax passes over the NaN of a gap by itself.
double MaxAbsY(const std::vector<PointXY>& points) {
    double m = 0;
    for (const PointXY& p : points) m = std::fmax(m, std::fabs(p.y));
    return m;
}

double MeanAbsY(const std::vector<PointXY>& points) {
    long double sum = 0;
    std::size_t count = 0;
    for (const PointXY& p : points) {
        if (IsGap(p)) continue;
        sum += std::fabs(static_cast<long double>(p.y));
        ++count;
    }
    return count == 0 ? 0.0 : static_cast<double>(sum / static_cast<long double>(count));
}

}  // namespace

double TGraph::GetFXYMaxY() const {
    return MaxAbsY(FXY);
}
double TGraph::GetFXYOrtY() const {
    return MeanAbsY(FXY);
}
double TGraph::GetSeriMaxY() const {
    return MaxAbsY(DataXY);
}
double TGraph::GetSeriOrtY() const {
    return MeanAbsY(DataXY);
}

}  // namespace zentu
