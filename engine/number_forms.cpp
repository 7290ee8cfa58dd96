// SPDX-License-Identifier: GPL-3.0-or-later
// The written forms: the engine's internal text, the result text and the constants'
// 18-digit forms, all from the exact digits.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/number_digits.h"

namespace zentu {
namespace {

char* WriteUnsigned(char* p, std::uint64_t v) {
    char tmp[20];
    int n = 0;
    do {
        tmp[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    while (n) *p++ = tmp[--n];
    return p;
}

char* WriteFixedDigits(char* p, std::uint64_t v, int width) {
    for (int i = width - 1; i >= 0; --i) {
        p[i] = char('0' + v % 10);
        v /= 10;
    }
    return p + width;
}

constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Eight digits of v < 10^8, leading zeros included, in two independent halves.
inline void EightDigits(std::uint32_t v, char* o) {
    const std::uint32_t high = v / 10000u, low = v % 10000u;
    std::memcpy(o, kTwoDigits + 2 * (high / 100u), 2);
    std::memcpy(o + 2, kTwoDigits + 2 * (high % 100u), 2);
    std::memcpy(o + 4, kTwoDigits + 2 * (low / 100u), 2);
    std::memcpy(o + 6, kTwoDigits + 2 * (low % 100u), 2);
}

// The 18 digits of d < 10^18 as characters, leading zeros included.
void EighteenDigits(std::uint64_t d, char* out) {
    const std::uint64_t rest = d % 10000000000000000ULL;
    std::memcpy(out, kTwoDigits + 2 * (d / 10000000000000000ULL), 2);
    EightDigits(std::uint32_t(rest / 100000000u), out + 2);
    EightDigits(std::uint32_t(rest % 100000000u), out + 10);
}

// Twelve digits of v < 10^12, leading zeros included.
char* TwelveDigits(char* p, std::uint64_t v) {
    const auto high = std::uint32_t(v / 100000000u), low = std::uint32_t(v % 100000000u);
    std::memcpy(p, kTwoDigits + 2 * (high / 100u), 2);
    std::memcpy(p + 2, kTwoDigits + 2 * (high % 100u), 2);
    EightDigits(low, p + 4);
    return p + 12;
}

// A value's significant digits as characters: |v| = 0.d[0]d[1]... * 10^(lead + 1).
struct DigitText {
    bool negative = false;
    char buffer[18];
    int first = 0;  // where d[0] stands in the buffer
    int count = 18;
    int lead = 0;  // decimal exponent of d[0]
    const char* d() const { return buffer + first; }
};

// The value's first `keep` (1..18) significant digits: the exact 18-digit value with its
// last digits dropped, half away from zero. A carry out of the first digit (99.96 to two
// digits) gives 1 followed by zeros and one more in the exponent.
DigitText DigitsOf(const ExtendedBits& bits, int keep) {
    const Decimal18 dec = Decimal18Of(bits);
    DigitText t;
    t.negative = dec.negative;
    t.lead = dec.exponent + 17;
    std::uint64_t q = DropDigits(dec.digits, 18 - keep);
    if (q == kPow10[keep]) {
        q /= 10;
        ++t.lead;
    }
    EighteenDigits(q, t.buffer);
    t.first = 18 - keep;
    t.count = keep;
    return t;
}

// Writes a NaN or an infinity in the spelling of the form at hand; false for a finite
// value, which is left to the caller.
bool AppendNonFinite(std::string& out, long double v, std::string_view nan, std::string_view inf,
                     std::string_view minus_inf) {
    if (std::isnan(v))
        out += nan;
    else if (std::isinf(v))
        out += v < 0 ? minus_inf : inf;
    else
        return false;
    return true;
}

// General form shared by the result text (15 digits, plain for exponents -3..15 of
// 0.d1d2...) and the constants (18 digits, plain for -3..18).
void AppendGeneral(std::string& out, long double v, int keep, int plain_max,
                   std::string_view separator) {
    const ExtendedBits bits = BitsOf(v);
    if (!bits.Normal()) {
        if (v == 0) {
            out += '0';
            return;
        }
        if (AppendNonFinite(out, v, "NAN", "INF", "-INF")) return;
    }
    const DigitText t = DigitsOf(bits, keep);
    int count = t.count;
    const char* digits = t.d();
    while (count > 1 && digits[count - 1] == '0') --count;
    const int first = t.lead;
    const int e = first + 1;  // |v| = 0.d1d2... * 10^e
    // Built in a local buffer and appended once; a separator longer than any real one
    // is put in afterwards in place of a ".".
    if (separator.size() > 8) {
        std::string text;
        AppendGeneral(text, v, keep, plain_max, ".");
        const std::size_t point = text.find('.');
        if (point != std::string::npos) text.replace(point, 1, separator);
        out += text;
        return;
    }
    char buf[64];
    char* p = buf;
    const auto put = [&p](const char* from, int n) {
        std::memcpy(p, from, std::size_t(n));
        p += n;
    };
    const auto zeros = [&p](int n) {
        std::memset(p, '0', std::size_t(n));
        p += n;
    };
    const auto point = [&put, separator] { put(separator.data(), int(separator.size())); };
    if (t.negative) *p++ = '-';
    if (e >= -3 && e <= plain_max) {
        if (e <= 0) {
            *p++ = '0';
            point();
            zeros(-e);
            put(digits, count);
        } else if (count <= e) {
            put(digits, count);
            zeros(e - count);
        } else {
            put(digits, e);
            point();
            put(digits + e, count - e);
        }
        out.append(buf, p);
        return;
    }
    *p++ = digits[0];
    if (count > 1) {
        point();
        put(digits + 1, count - 1);
    }
    *p++ = 'E';
    if (first < 0) *p++ = '-';
    p = WriteUnsigned(p, std::uint64_t(first < 0 ? -first : first));
    out.append(buf, p);
}

const long double kFixedMin = 0x1p-116L;
const long double kFixedMax = 664613997892457935983529168893640704.0L;  // (2^64 - 13) * 2^55

// Where a finite value falls for the fixed form: written, too small to reach the 12th
// decimal (zero included), or outside the fixed range (exponent form).
enum class FixedRange { Written, Below, Outside };

FixedRange FixedRangeOf(const ExtendedBits& bits) {
    const std::uint64_t m = bits.m;
    const int biased = int(bits.Biased());
    const long double a = std::fabs(bits.value);
    constexpr int kBias = 16383;
    // Normal numbers from the exponent field and the significand; the edges of
    // [4.9e-13, kFixedMax] that share a binade with other values are compared exactly.
    if (bits.Normal()) {
        if (biased < kBias - 116) return FixedRange::Outside;
        if (biased < kBias - 41 || (biased == kBias - 41 && a < 4.9e-13L)) return FixedRange::Below;
        if (biased < kBias + 118 || (biased == kBias + 118 && m <= 0xFFFFFFFFFFFFFFF3ULL))
            return FixedRange::Written;
        return FixedRange::Outside;
    }
    if (a == 0 || (a >= kFixedMin && a < 4.9e-13L)) return FixedRange::Below;
    if (!(a >= kFixedMin && a <= kFixedMax)) return FixedRange::Outside;
    return FixedRange::Written;
}

// Exponent form: two significant digits (of the 18-digit value, rounded half away from
// zero) and a four-digit exponent, written at p and terminated. The two digits come from
// the value scaled in extended precision; only when that scaled value lies too close to a
// rounding boundary for its last bits to be trusted is the exact 18-digit conversion used.
void AppendExponentForm(char* p, long double a) {
    int lead = 0;
    int kept = -1;  // the two digits, 10..99
    int binary_exponent;
    std::frexp(a, &binary_exponent);
    lead = int(std::floor((binary_exponent - 1) * 0.30102999566398119521L));
    // a * 10^(1 - lead), in two steps so neither power leaves the range.
    const int k = 1 - lead;
    long double scaled = a * std::pow(10.0L, k / 2) * std::pow(10.0L, k - k / 2);
    if (scaled >= 100) {
        scaled /= 10;
        ++lead;
    } else if (scaled < 10) {
        scaled *= 10;
        --lead;
    }
    const long double whole = std::floor(scaled), frac = scaled - whole;
    constexpr long double kTrust = 1e-13L;
    if (scaled >= 10 && scaled < 100 && std::fabs(frac - 0.5L) > kTrust && frac > kTrust &&
        frac < 1 - kTrust) {
        kept = int(whole) + (frac > 0.5L ? 1 : 0);
        if (kept == 100) {
            kept = 10;
            ++lead;
        }
    } else {
        const DigitText t = DigitsOf(BitsOf(a), 2);
        kept = (t.d()[0] - '0') * 10 + (t.count > 1 ? t.d()[1] - '0' : 0);
        lead = t.lead;
    }
    *p++ = char('0' + kept / 10);
    *p++ = '.';
    *p++ = char('0' + kept % 10);
    *p++ = 'E';
    *p++ = lead < 0 ? '-' : '+';
    p = WriteFixedDigits(p, std::uint64_t(lead < 0 ? -lead : lead), 4);
    *p = '\0';
}

}  // namespace

void AppendNumberText(std::string& out, long double v) {
    const ExtendedBits bits = BitsOf(v);
    if (!bits.Normal() && AppendNonFinite(out, v, "Nan", "+Inf", "-Inf")) return;
    char buf[80];
    char* p = buf;
    const long double a = std::fabs(v);
    if (v < 0) *p++ = '-';
    const FixedRange range = FixedRangeOf(bits);
    if (range == FixedRange::Below) {
        // Too small to reach the 12th decimal, even after rounding to 18 digits.
        std::memcpy(p, "0.000000000000", 14);
        out.append(buf, std::size_t(p + 14 - buf));
        return;
    }
    if (range == FixedRange::Outside) {
        AppendExponentForm(p, a);
        out.append(buf, std::strlen(buf));
        return;
    }
    // Fixed form: the 18 digits placed around the point, cut to 12 decimals (half away
    // from zero); places past the 18th digit are zeros.
    const Decimal18 dec = Decimal18Of(bits);
    if (dec.exponent >= -12) {
        // Every digit stands before the 12th decimal: nothing to round.
        char digits[18];
        EighteenDigits(dec.digits, digits);
        if (dec.exponent >= 0) {
            std::memcpy(p, digits, 18);
            p += 18;
            std::memset(p, '0', std::size_t(dec.exponent));
            p += dec.exponent;
            std::memcpy(p, ".000000000000", 13);
            p += 13;
        } else {
            const int whole = 18 + dec.exponent;
            std::memcpy(p, digits, std::size_t(whole));
            p += whole;
            *p++ = '.';
            std::memcpy(p, digits + whole, std::size_t(-dec.exponent));
            p += -dec.exponent;
            std::memset(p, '0', std::size_t(12 + dec.exponent));
            p += 12 + dec.exponent;
        }
    } else {
        // The value in units of 10^-12; values of at least 4.9e-13 drop at most 18 digits.
        const std::uint64_t units = DropDigits(dec.digits, -12 - dec.exponent);
        p = WriteUnsigned(p, units / 1000000000000ULL);
        *p++ = '.';
        p = TwelveDigits(p, units % 1000000000000ULL);
    }
    out.append(buf, p);
}

std::string NumberToText(long double v) {
    std::string s;
    AppendNumberText(s, v);
    return s;
}

void AppendResultText(std::string& out, long double v, std::string_view separator) {
    AppendGeneral(out, v, 15, 15, separator);
}

std::string ResultText(long double v, std::string_view separator) {
    std::string s;
    AppendResultText(s, v, separator);
    return s;
}

std::string ConstantGeneralText(long double v) {
    std::string s;
    AppendGeneral(s, v, 18, 18, ".");
    return s;
}

std::string ConstantExponentText(long double v) {
    const Decimal18 d = ToDecimal18(v);
    const int first = d.exponent + 17;
    char buf[48];
    char* p = buf;
    if (d.negative) *p++ = '-';
    char digits[18];
    EighteenDigits(d.digits, digits);
    *p++ = digits[0];
    *p++ = '.';
    std::memcpy(p, digits + 1, 17);
    p += 17;
    *p++ = 'E';
    *p++ = first < 0 ? '-' : '+';
    p = WriteUnsigned(p, std::uint64_t(first < 0 ? -first : first));
    return std::string(buf, p);
}

}  // namespace zentu
