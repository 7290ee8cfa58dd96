// SPDX-License-Identifier: GPL-3.0-or-later
// The reader: number tokens back to extended values (a fast path for the common token,
// a general reader for every other), the well-formedness of a token the user wrote, and
// whole integers.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "engine/number_digits.h"

namespace zentu {

bool IsWellFormedToken(std::string_view t) {
    std::size_t i = 0;
    bool dot = false;
    for (; i < t.size() && t[i] != 'E'; ++i) {
        if (t[i] == '.') {
            if (dot) return false;
            dot = true;
        } else if (!IsDigit(t[i])) {
            return false;
        }
    }
    if (i == t.size()) return true;
    ++i;  // the "E"
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (i == t.size()) return false;
    for (; i < t.size(); ++i)
        if (!IsDigit(t[i])) return false;
    return true;
}

namespace {

// mant * 10^p for |p| <= 27: an exact integer and an exact power of ten, so one correctly
// rounded multiplication or division.
inline long double ScaleExactly(std::uint64_t mant, int p) {
    return p >= 0 ? (long double)mant * kExactPow10[p] : (long double)mant / kExactPow10[-p];
}

// Appends the run of digits at c to `mant` (mant * 10^n + digits), eight at a time where
// it can; more than 19 digits overflow, which the caller checks by counting.
inline const char* ReadDigits(const char* c, const char* end, std::uint64_t& mant) {
    while (end - c >= 8) {
        std::uint64_t v;
        std::memcpy(&v, c, 8);
        // All eight bytes "0".."9"?
        if (((v & 0xF0F0F0F0F0F0F0F0ULL) |
             (((v + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4)) != 0x3333333333333333ULL)
            break;
        v -= 0x3030303030303030ULL;
        v = (v * 10) + (v >> 8);
        v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
             (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
            32;
        mant = mant * 100000000ULL + v;
        c += 8;
    }
    while (c != end && unsigned(*c - '0') < 10) mant = mant * 10 + unsigned(*c++ - '0');
    return c;
}

// The common token: optional sign, at most 19 significant digits with an optional ".",
// an optional exponent, and a power of ten the extended format holds exactly. Then the
// value is one correctly rounded multiplication or division. Returns false for anything
// else, which the general reader below handles.
bool FastTextToNumber(std::string_view t, long double& value) {
    const char* c = t.data();
    const char* const end = c + t.size();
    bool negative = false;
    if (c != end && (*c == '+' || *c == '-')) negative = *c++ == '-';
    std::uint64_t mant = 0;
    const char* const int_start = c;
    c = ReadDigits(c, end, mant);
    std::size_t digits = std::size_t(c - int_start);
    int frac = 0;
    if (c != end && *c == '.') {
        const char* const frac_start = ++c;
        c = ReadDigits(c, end, mant);
        frac = int(c - frac_start);
        digits += std::size_t(frac);
    }
    // Up to 19 digits the integer is exact; longer tokens take the general reader.
    if (digits == 0 || digits > 19) return false;
    int exponent = 0;
    if (c != end) {
        if (*c != 'E' && *c != 'e') return false;
        ++c;
        bool exp_negative = false;
        if (c != end && (*c == '+' || *c == '-')) exp_negative = *c++ == '-';
        if (c == end) return false;
        for (; c != end; ++c) {
            const unsigned d = unsigned(*c - '0');
            if (d >= 10 || exponent > 9999) return false;
            exponent = exponent * 10 + int(d);
        }
        if (exp_negative) exponent = -exponent;
    }
    const int p = exponent - frac;
    if (mant == 0) {
        if (p >= 5120) return false;
        value = negative ? -0.0L : 0.0L;
        return true;
    }
    if (p < -27 || p > 27) return false;
    value = ScaleExactly(mant, p);
    if (negative) value = -value;
    return true;
}

// Every token the fast reader declines: long mantissas, far exponents, malformed text.
__attribute__((noinline)) long double SlowTextToNumber(std::string_view t) {
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    // Mantissa digits, leading zeros skipped and trailing zeros counted apart, so that
    // the significant ones can be read exactly.
    std::uint64_t mant = 0;
    int sig = 0;            // significant digits kept in mant (up to 19)
    int dropped = 0;        // significant digits beyond those 19
    int frac_digits = 0;    // digits after the "."
    int pending_zeros = 0;  // zeros after the last non-zero digit
    bool dot = false, malformed = false;
    long double all_digits = 0;  // the digits read so far, for a malformed token
    std::string many;            // the significant digits beyond 19, when there are any
    auto take_digit = [&](int dg) {
        all_digits = all_digits * 10 + dg;
        if (dot) ++frac_digits;
        if (dg == 0) {
            if (sig > 0 || dropped > 0) ++pending_zeros;
            return;
        }
        // Flush zeros that turned out to be inside the number.
        for (; pending_zeros > 0; --pending_zeros) {
            if (sig < 19) {
                mant *= 10;
                ++sig;
            } else {
                many += '0';
                ++dropped;
            }
        }
        if (sig < 19) {
            mant = mant * 10 + std::uint64_t(dg);
            ++sig;
        } else {
            many += char('0' + dg);
            ++dropped;
        }
    };
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (IsDigit(c)) {
            take_digit(c - '0');
        } else if (c == '.') {
            if (dot) {
                malformed = true;
                break;
            }
            dot = true;
        } else {
            break;
        }
    }
    long exponent = 0;
    if (!malformed && i < t.size()) {
        if (t[i] == 'E' || t[i] == 'e') {
            ++i;
            bool exp_negative = false;
            if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
                exp_negative = t[i] == '-';
                ++i;
            }
            if (i == t.size() || !IsDigit(t[i])) {
                malformed = true;
            } else {
                for (; i < t.size() && IsDigit(t[i]); ++i)
                    if (exponent < 100000) exponent = exponent * 10 + (t[i] - '0');
                if (i < t.size()) malformed = true;  // a second "E" or "." in the exponent
                if (exp_negative) exponent = -exponent;
            }
        } else {
            malformed = true;
        }
    }
    if (malformed) return all_digits;

    const long power = exponent - frac_digits;
    if (power >= 5120) return negative ? -HUGE_VALL : HUGE_VALL;
    if (power <= -5120) return 0;
    if (sig == 0) return negative ? -0.0L : 0.0L;
    // The value is mant' * 10^p where mant' holds every significant digit.
    long p = power + pending_zeros;
    long double value;
    if (dropped == 0 && p >= -27 && p <= 27) {
        // Exact integer and exact power of ten: one correctly rounded operation.
        value = ScaleExactly(mant, int(p));
    } else {
        std::string clean = std::to_string(mant);
        clean += many;
        clean += 'E';
        clean += std::to_string(p);
        value = std::strtold(clean.c_str(), nullptr);
        if (std::isinf(value)) throw EvalFailure{};  // scaled beyond the extended range
    }
    return negative ? -value : value;
}

}  // namespace

long double TextToNumber(std::string_view t) {
    long double fast;
    if (FastTextToNumber(t, fast)) return fast;
    return SlowTextToNumber(t);
}

std::optional<long long> ReadInteger(std::string_view text) {
    // from_chars reads a "-" itself, but neither a "+" nor a second sign.
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits[0] == '-') return std::nullopt;
    }
    long long v = 0;
    const char* const end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, v);
    if (stop != end) return std::nullopt;
    if (error == std::errc::result_out_of_range)
        return digits[0] == '-' ? std::numeric_limits<long long>::min()
                                : std::numeric_limits<long long>::max();
    if (error != std::errc()) return std::nullopt;
    return v;
}

}  // namespace zentu
